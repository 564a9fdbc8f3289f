// What one keystroke in the prefix box costs in the real window: the real
// MainWindow with its virtual list view, a 云更新 database of N machines (and,
// at the smallest size, the same machines as a GBK CSV list), a
// character typed into 编辑框_前缀 (or taken away again). Two moments are
// taken: when the keystroke's handler returns (the list rebuilt, model and
// view), and when the window has repainted what changed. The baseline, in
// the same process and interleaved with it, is the bare sqlite3 scan of the
// same query: the physical limit of a reload. Prints one JSON line per size.
//
//   venbrook_keystroke_bench.exe --data=DIR [--rows=2000,10000,100000] [--repetitions=15] [--smoke]
//
// Runs under Wine through scripts/wine-run.sh; scripts/bench.sh runs it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "support/bench_data.h"
#include "win32/bench_window.h"

namespace venbrook::bench {
namespace {

namespace fs = std::filesystem;

void Type(HWND box, wchar_t character) {
  SetFocus(box);
  SendMessageW(box, WM_CHAR, character, 1);
}

std::wstring Cell(HWND list, int row, int column) {
  wchar_t buffer[512] = {};
  ListView_GetItemText(list, row, column, buffer, 512);
  return buffer;
}

struct Result {
  bool ok = false;
  std::string problem;
  std::vector<double> rebuilt, painted, bareScan;
};

// `file` is what the path box names: the 云更新 database, or the same
// machines as a GBK CSV list; the bare scan is always the database's.
Result Measure(const fs::path& file, const fs::path& database, bool textList, int rows, int repetitions) {
  Result result;
  BenchWindow bench;
  MainWindow& window = *bench.window;
  const MachineList& list = bench.list;
  if (!bench.open()) {
    result.problem = "the window could not be built";
    return result;
  }
  const HWND listView = window.control(ControlId::超级列表框1);
  const HWND prefix = window.control(ControlId::编辑框_前缀);
  // The operator's set-up: the database, then a find text and a replacement.
  SetWindowTextW(window.control(ControlId::编辑框_地址), win32::WidePath(CorePath(file)).c_str());
  SetWindowTextW(window.control(ControlId::编辑框_原字符), L"PC");
  SetWindowTextW(window.control(ControlId::编辑框_新字符), L"电脑");
  Pump();

  const int warmUp = repetitions > 1 ? 2 : 0;
  for (int round = 0; round < warmUp + repetitions; ++round) {
    // One change of the box: a character typed, then taken away again.
    const bool typing = round % 2 == 0;
    double start = Now();
    Type(prefix, typing ? L'A' : L'\b');
    const double rebuilt = Now() - start;
    RedrawWindow(window.handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double painted = Now() - start;

    start = Now();
    const ScanResult scan = BareScan(database, SourceKind::Yungengxin);
    const double bare = Now() - start;
    Pump();

    // The first machine by name is a PC…: its new name shows the prefix and the replacement.
    // A text list keeps the stored order: its first row shows the prefix alone.
    const std::wstring expected = std::wstring(typing ? L"A" : L"") + (textList ? L"" : L"电脑");
    if (list.count() != rows || ListView_GetItemCount(listView) != rows || scan.rows != rows ||
        Cell(listView, 0, kNewNameColumn).rfind(expected, 0) != 0) {
      result.problem = "the list did not follow the keystroke (" + std::to_string(list.count()) + " rows in the list, " +
                       std::to_string(ListView_GetItemCount(listView)) + " shown)";
      return result;
    }
    if (round >= warmUp) {
      result.rebuilt.push_back(rebuilt);
      result.painted.push_back(painted);
      result.bareScan.push_back(bare);
    }
  }
  if (bench.modals.shown > 0) {
    result.problem = "a message box appeared";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace
}  // namespace venbrook::bench

int main(int argc, char** argv) {
  using namespace venbrook::bench;
  Options options{"bench-data", {2'000, 10'000, 100'000}, 15};
  if (!ParseOptions(argc, argv, options)) return 2;
  InitCommonControlsEx(&kWindowControls);
  int status = 0;
  try {
    for (int rows : options.sizes) {
      const std::filesystem::path database = DatabaseFile(options.data, venbrook::SourceKind::Yungengxin, rows);
      // The text list where the keystroke must stay within a frame: the smallest size.
      for (const bool textList : {false, true}) {
        if (textList && rows != options.sizes.front()) continue;
        const std::filesystem::path file = textList ? DerivedFile(options.data, Derived::TextList, rows) : database;
        const Result result = Measure(file, database, textList, rows, options.repetitions);
        if (!result.ok) {
          std::fprintf(stderr, "keystroke bench, %d rows%s: %s\n", rows, textList ? " (text list)" : "",
                       result.problem.c_str());
          status = 1;
          continue;
        }
        std::printf("{\"case\": \"%s\", \"rows\": %d, \"samples\": %zu, \"rebuilt_median_s\": %.9f, "
                    "\"painted_median_s\": %.9f, \"bare_scan_median_s\": %.9f}\n",
                    textList ? "keystroke_text_list" : "keystroke", rows, result.rebuilt.size(),
                    Median(result.rebuilt), Median(result.painted), Median(result.bareScan));
        std::fflush(stdout);
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "keystroke bench: %s\n", error.what());
    status = 1;
  }
  return status;
}
