#pragma once
// Drives the real main window the way an operator does: typing into boxes,
// clicking buttons and rows, pressing keys; and reads back what it shows.
// Modal boxes, the file dialog and the pop-up menu are caught by a recorder.
#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace venbrook::test {

struct CaughtBox {
  std::string title;  // GBK
  std::string text;   // GBK, a path in it with '?' for a character GBK lacks
  UINT icon;
  std::wstring shown;  // the text as the box shows it
};

// How a test answers the 编号… dialog: the real dialog runs, and once it is
// up its boxes are set, its picture saved when a file is named, and the keys
// pressed in the box that has the focus.
struct DialogScript {
  std::vector<std::pair<NumberDialogId, std::wstring>> texts;
  std::vector<int> keys;
  std::filesystem::path picture;
};

// What the dialog showed before the script touched it.
struct ShownDialog {
  std::wstring prefix, start, width;
  int focus = 0;          // the id of the box with the focus
  DWORD selection = 0;    // EM_GETSEL of that box
  RECT bounds{};          // in the screen
};

class RecordingModals final : public Modals {
 public:
  std::vector<CaughtBox> boxes;
  std::vector<DialogRequest> dialogs;
  std::deque<std::optional<GivenPath>> dialogAnswers;  // empty: cancel
  std::deque<int> menuChoices;                           // item ids; empty: dismiss
  std::vector<POINT> menuPoints;
  std::vector<bool> windowVisibleAtDialog;
  std::vector<std::vector<std::wstring>> menusShown;     // captions, "" for a separator
  std::vector<std::vector<bool>> menusGreyed;            // per item, as menusShown; a separator never
  std::deque<DialogScript> numberingScripts;             // empty: cancelled, no dialog shown
  std::vector<Numbering> numberingDefaults;              // what each 编号… was given
  std::vector<ShownDialog> numberingShown;               // what each real dialog showed

  void messageBox(std::string_view title, const MessageText& text, UINT icon) override;
  std::optional<Path> openFile(HWND owner, const OpenFileRequest& request) override;
  int trackPopupMenu(HMENU menu, POINT screenPoint, HWND owner) override;
  std::optional<Numbering> askNumbering(HWND owner, const Numbering& defaults, int dpi, HFONT font) override;
};

class WindowDriver {
 public:
  // A window whose program folder and desktop are fresh temp folders (the
  // desktop, when named, a folder of that UTF-8 name inside one); the clock
  // stands at `now` (an automation date).
  explicit WindowDriver(double now = 45844.37850694444, std::string_view desktopName = {});  // 2025-07-06 09:05:03
  ~WindowDriver();

  TempFolder program;
  TempFolder desktop;
  std::filesystem::path desktopFolder;  // where exports go
  RecordingModals modals;
  MachineList list;
  SourceConnection connection;
  std::unique_ptr<MainWindow> window;

  void writeConfig(std::string_view gbkPath);
  bool open();
  // The program closed and started again over the same folders.
  bool restart();
  void pump();  // runs the messages waiting, through the window's key handling

  HWND control(ControlId id) const { return window->control(id); }
  std::wstring text(HWND target) const;
  std::wstring caption() const { return text(window->handle()); }
  std::wstring status(int part) const;

  void type(ControlId box, std::wstring_view characters);  // one WM_CHAR each
  void typeInto(HWND box, std::wstring_view characters);
  void clearBox(ControlId box);                            // select all, delete
  void click(ControlId button);

  int rowCount() const;
  std::wstring cell(int row, int column) const;
  std::vector<int> viewSelection() const;
  void clickRow(int row, int modifiers = 0);
  void rightClickRow(int row);
  void rightClickEmptySpace();
  void doubleClickRow(int row);
  void doubleClickEmptySpace();
  void pressKeyInList(int virtualKey, int modifiers);
  void pressKey(HWND focus, int virtualKey, int modifiers = 0);
  // Right-clicks the row (or empty space below the rows) and picks the item.
  void chooseFromMenu(MenuItemId item, int row = -1);
  // The edit box over a row's new name, or nullptr when none is open.
  HWND nameBox() const;

 private:
  POINT rowPoint(int row) const;
  void mouse(UINT down, UINT up, POINT at, int modifiers);
  void setModifiers(int modifiers);
  void makeWindow();
  double now_;
};

std::wstring Wide(std::string_view gbk);

// The window's pixels as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::filesystem::path& file);

}  // namespace venbrook::test
