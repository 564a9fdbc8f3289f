#pragma once
// Shows the machine list in the report-style list view and keeps the two
// selections in step. The list view is virtual: it asks for the texts of the
// rows it draws, so a rebuild costs the same for 100,000 rows as for ten.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>

#include "model/machine_list.h"

namespace venbrook {

class MachineListView final : public MachineListObserver {
 public:
  MachineListView(HWND listView, MachineList& list);
  ~MachineListView();
  MachineListView(const MachineListView&) = delete;
  MachineListView& operator=(const MachineListView&) = delete;

  // The columns at their widths for `dpi`.
  void addColumns(int dpi);
  void setColumnWidths(int dpi);

  // Called on every change of the rows, before the view shows them.
  void onRowsChanged(std::function<void()> handler) { rowsChanged_ = std::move(handler); }

  // WM_NOTIFY from the list view; true with `result` set when handled.
  bool handleNotify(const NMHDR& header, LRESULT& result);

  // MachineListObserver
  void rowsReset() override;
  void rowRemoved(int index) override;
  void selectionChanged(int index) override;
  void rowChanged(int index) override;

 private:
  void showCount();
  void showSelection();
  void setViewSelected(int index, bool selected);
  void takeSelectionFromView(int from, int to, bool selected);
  int findRow(const NMLVFINDITEMW& find) const;

  HWND view_;
  MachineList& list_;
  bool showing_ = false;  // the view's notifications echo our own change
  std::wstring cellBuffer_;
  std::function<void()> rowsChanged_;
};

}  // namespace venbrook
