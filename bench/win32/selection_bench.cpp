// What 全选, 反选 and 删除 cost in the real window: the real MainWindow with
// its virtual list view and a 云更新 database of N machines, each command run
// as its menu item runs it (Commands::menuChosen), until it returns with the
// model and the view changed; also until the window has repainted.
//   全选  from the one row a right click selects, to every row;
//   反选  from that one row, to every other row;
//   删除  with every row selected: the list emptied;
//   全选 after a right click: every row but one selected, as 反选 leaves
//         them, then a right click on a selected row whose menu answers
//         全选, timed from the click until the messages it brought are
//         done: what the operator waits for.
// The baseline, in the same process and interleaved with them, is the list
// view told once, with its drawing held meanwhile (WM_SETREDRAW): one
// LVM_SETITEMSTATE for every row (全选, 反选) or one LVM_SETITEMCOUNT to zero
// (删除), the least any such command asks of the view. Prints one JSON line
// per command and size.
//
//   venbrook_selection_bench.exe --data=DIR [--rows=100000] [--repetitions=5] [--smoke]
//
// Runs under Wine through scripts/wine-run.sh; scripts/bench.sh runs it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "support/bench_data.h"
#include "win32/bench_window.h"

namespace venbrook::bench {
namespace {

// Selected rows before and after: a count, or one of these.
constexpr int kEveryRowButOne = -1, kEveryRow = -2;

struct Command {
  const char* name;
  MenuCommand command;
  int selectedBefore;
  int selectedAfter;
  bool fromRightClick = false;  // else the command alone
};
constexpr Command kCommands[] = {
    {"select_all", MenuCommand::SelectAll, 1, kEveryRow},
    {"invert", MenuCommand::Invert, 1, kEveryRowButOne},
    {"delete_all", MenuCommand::Delete, kEveryRow, 0},
    {"right_click_select_all", MenuCommand::SelectAll, kEveryRowButOne, kEveryRow, true},
};

int MenuItemOf(MenuCommand command) {
  for (const layout::MenuItem& item : layout::kMenu)
    if (item.caption != nullptr && item.command == command) return IdOf(item.id);
  return 0;
}

struct Result {
  std::string problem;
  std::vector<double> done, painted, baseline;
};

class Measurement {
 public:
  explicit Measurement(const std::filesystem::path& file) : file_(file) {}

  bool open() {
    if (!bench_.open()) return false;
    SetWindowTextW(bench_.window->control(ControlId::编辑框_地址), win32::WidePath(CorePath(file_)).c_str());
    Pump();
    return true;
  }

  // The list loaded whole, with the one row in the middle, every row but
  // that one or every row selected. (A right click goes to the first row.)
  bool prepare(const Command& command) {
    MachineList& list = bench_.list;
    if (list.count() != rows()) bench_.window->commands().LoadDatabase();
    list.selectAll();  // shown in the view too, whatever it showed
    if (command.selectedBefore != kEveryRow) list.setSelected(list.count() / 2, false);
    if (command.selectedBefore == 1) list.invertSelection();
    Pump();
    return list.count() == rows() && viewSelected() == list.selectedCount();
  }

  int selectedCount(int encoded) const {
    return encoded == kEveryRow ? rows() : encoded == kEveryRowButOne ? rows() - 1 : encoded;
  }

  void run(const Command& command, Result& result) {
    const int menus = bench_.modals.menus;
    double start = Now();
    if (command.fromRightClick)
      rightClickChoosing(command.command);
    else
      bench_.window->commands().menuChosen(command.command);
    result.done.push_back(Now() - start);
    if (command.fromRightClick && bench_.modals.menus != menus + 1)
      result.problem = std::string(command.name) + ": the right click brought no menu";
    RedrawWindow(bench_.window->handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    result.painted.push_back(Now() - start);
    Pump();
    const int expected = selectedCount(command.selectedAfter);
    if (result.problem.empty() && (bench_.list.selectedCount() != expected || viewSelected() != expected ||
                                   ListView_GetItemCount(view()) != bench_.list.count()))
      result.problem = std::string(command.name) + ": the view and the list do not show the command's result";
  }

  void runBaseline(const Command& command, Result& result) {
    const double start = Now();
    SendMessageW(view(), WM_SETREDRAW, FALSE, 0);
    if (command.command == MenuCommand::Delete) ListView_SetItemCountEx(view(), 0, LVSICF_NOSCROLL);
    else ListView_SetItemState(view(), -1, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageW(view(), WM_SETREDRAW, TRUE, 0);
    result.baseline.push_back(Now() - start);
    ListView_SetItemCountEx(view(), bench_.list.count(), LVSICF_NOSCROLL);
    Pump();
  }

  int rows() const { return rows_; }
  void setRows(int rows) { rows_ = rows; }
  int shown() const { return bench_.modals.shown; }

 private:
  HWND view() const { return bench_.window->control(ControlId::超级列表框1); }

  // A right click on the first row, as the window tests make one: the
  // release queued, the press sent (the list view follows the button until
  // it is released), then every message it brought, the menu's command too.
  void rightClickChoosing(MenuCommand command) {
    RECT row{};
    ListView_GetItemRect(view(), 0, &row, LVIR_BOUNDS);
    const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
    bench_.modals.menuChoice = MenuItemOf(command);
    SetFocus(view());
    PostMessageW(view(), WM_RBUTTONUP, 0, at);
    SendMessageW(view(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    Pump();
    bench_.modals.menuChoice = 0;
  }
  int viewSelected() const { return static_cast<int>(ListView_GetSelectedCount(view())); }

  std::filesystem::path file_;
  BenchWindow bench_;
  int rows_ = 0;
};

Result Measure(const std::filesystem::path& file, int rows, const Command& command, int repetitions) {
  Result result;
  Measurement measurement(file);
  measurement.setRows(rows);
  if (!measurement.open()) {
    result.problem = "the window could not be built";
    return result;
  }
  for (int round = 0; round < repetitions && result.problem.empty(); ++round) {
    if (!measurement.prepare(command)) {
      result.problem = std::string(command.name) + ": the list could not be prepared";
      break;
    }
    measurement.run(command, result);
    if (!measurement.prepare(command)) break;
    measurement.runBaseline(command, result);
  }
  if (measurement.shown() > 0) result.problem = "a message box appeared";
  return result;
}

}  // namespace
}  // namespace venbrook::bench

int main(int argc, char** argv) {
  using namespace venbrook::bench;
  Options options{"bench-data", {100'000}, 5};
  if (!ParseOptions(argc, argv, options)) return 2;
  InitCommonControlsEx(&kWindowControls);
  int status = 0;
  try {
    for (int rows : options.sizes) {
      const std::filesystem::path file = DatabaseFile(options.data, venbrook::SourceKind::Yungengxin, rows);
      for (const Command& command : kCommands) {
        const Result result = Measure(file, rows, command, options.repetitions);
        if (!result.problem.empty()) {
          std::fprintf(stderr, "selection bench, %d rows: %s\n", rows, result.problem.c_str());
          status = 1;
          continue;
        }
        std::printf("{\"case\": \"%s\", \"rows\": %d, \"samples\": %zu, \"done_median_s\": %.9f, "
                    "\"painted_median_s\": %.9f, \"baseline_median_s\": %.9f}\n",
                    command.name, rows, result.done.size(), Median(result.done), Median(result.painted),
                    Median(result.baseline));
        std::fflush(stdout);
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "selection bench: %s\n", error.what());
    status = 1;
  }
  return status;
}
