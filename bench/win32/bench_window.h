#pragma once
// What the window benchmarks share: the real MainWindow in the benchmark's
// process with its modal calls silenced, a folder of its own, the clock,
// the message pump and the median.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"

namespace venbrook::bench {

// The window must raise no message box and no dialog while it is measured.
// The pop-up menu is counted and answers with `menuChoice` (an item's id;
// 0: dismissed).
class SilentModals final : public Modals {
 public:
  int shown = 0;
  int menus = 0;
  int menuChoice = 0;
  void messageBox(std::string_view, const MessageText&, UINT) override { ++shown; }
  std::optional<Path> openFile(HWND, const OpenFileRequest&) override { return std::nullopt; }
  int trackPopupMenu(HMENU, POINT, HWND) override {
    ++menus;
    return menuChoice;
  }
  std::optional<Numbering> askNumbering(HWND, const Numbering&, int, HFONT) override {
    ++shown;
    return std::nullopt;
  }
};

// A fresh program folder, removed with what is in it.
class BenchFolder {
 public:
  explicit BenchFolder(const char* name);
  ~BenchFolder();
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  Path path() const;

 private:
  std::filesystem::path path_;
};

// The window as the program builds it, shown, with no database yet.
struct BenchWindow {
  BenchWindow();
  bool open();
  SilentModals modals;
  MachineList list;
  SourceConnection connection;
  BenchFolder program{"venbrook-window-bench"};
  std::unique_ptr<MainWindow> window;
};

// The command line: --data=DIR, --rows=N,N..., --repetitions=N, --smoke
// (the smallest size once). False, with a message, for anything else.
struct Options {
  std::string data;
  std::vector<int> sizes;
  int repetitions;
};
bool ParseOptions(int argc, char** argv, Options& options);

inline INITCOMMONCONTROLSEX kWindowControls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};

double Now();  // seconds
double Median(std::vector<double> samples);
void Pump();

}  // namespace venbrook::bench
