#include "app/machine_list_view.h"

#include <algorithm>

#include "app/dpi.h"
#include "app/layout.h"
#include "model/gbk_text.h"
#include "platform/win32/wide_text.h"

namespace venbrook {

MachineListView::MachineListView(HWND listView, MachineList& list) : view_(listView), list_(list) {
  list_.setObserver(this);
}

MachineListView::~MachineListView() { list_.setObserver(nullptr); }

void MachineListView::addColumns(int dpi) {
  ListView_SetExtendedListViewStyle(view_, layout::kListExStyle);
  int index = 0;
  for (const layout::ListColumn& column : layout::kColumns) {
    LVCOLUMNW item{};
    item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    item.fmt = LVCFMT_LEFT;
    item.cx = dpi::Scale(column.width, dpi);
    item.pszText = const_cast<wchar_t*>(column.header);
    ListView_InsertColumn(view_, index++, &item);
  }
}

void MachineListView::setColumnWidths(int dpi) {
  int index = 0;
  for (const layout::ListColumn& column : layout::kColumns)
    ListView_SetColumnWidth(view_, index++, dpi::Scale(column.width, dpi));
}

bool MachineListView::handleNotify(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
      LVITEMW& item = info.item;
      if (item.iItem < 0 || item.iItem >= list_.count()) return false;
      if ((item.mask & LVIF_TEXT) && item.iSubItem >= 0 && item.iSubItem < kColumnCount) {
        win32::WidenInto(list_.cellText(item.iItem, item.iSubItem), cellBuffer_);
        item.pszText = cellBuffer_.data();
      }
      result = 0;
      return true;
    }
    case LVN_ODFINDITEMW:
      result = findRow(reinterpret_cast<const NMLVFINDITEMW&>(header));
      return true;
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if (showing_ || !(change.uChanged & LVIF_STATE)) return false;
      const bool was = change.uOldState & LVIS_SELECTED;
      const bool now = change.uNewState & LVIS_SELECTED;
      if (was == now) return false;
      if (change.iItem == -1) takeSelectionFromView(0, list_.count() - 1, now);
      else takeSelectionFromView(change.iItem, change.iItem, now);
      return false;
    }
    case LVN_ODSTATECHANGED: {
      const auto& change = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
      if (showing_) return false;
      const bool was = change.uOldState & LVIS_SELECTED;
      const bool now = change.uNewState & LVIS_SELECTED;
      if (was != now) takeSelectionFromView(change.iFrom, change.iTo, now);
      return false;
    }
    default:
      return false;
  }
}

// Typing in the list jumps to the next machine whose name starts with what
// was typed.
int MachineListView::findRow(const NMLVFINDITEMW& find) const {
  const int count = list_.count();
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || find.lvfi.psz == nullptr || count == 0) return -1;
  const std::string typed = win32::Narrow(find.lvfi.psz);
  const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
  for (int step = 0; step < count; ++step) {
    const int row = start + step;
    if (row >= count && !(find.lvfi.flags & LVFI_WRAP)) break;
    const std::string_view name = list_.cellText(row % count, kMachineNameColumn);
    const bool matches = (find.lvfi.flags & LVFI_PARTIAL) ? name.size() >= typed.size() &&
                                                                EqualIgnoringAsciiCase(typed, name.substr(0, typed.size()))
                                                          : EqualIgnoringAsciiCase(typed, name);
    if (matches) return row % count;
  }
  return -1;
}

// The operator's clicks reach the model without echoing back to the view.
void MachineListView::takeSelectionFromView(int from, int to, bool selected) {
  list_.setObserver(nullptr);
  for (int i = std::max(from, 0); i <= to && i < list_.count(); ++i) list_.setSelected(i, selected);
  list_.setObserver(this);
}

void MachineListView::rowsReset() {
  if (rowsChanged_) rowsChanged_();
  showCount();
  showSelection();
}

void MachineListView::rowRemoved(int) {
  if (rowsChanged_) rowsChanged_();
  showCount();
  showSelection();
}

// A new name may make or part a repeat with any row: every row is checked
// and drawn again.
void MachineListView::rowChanged(int) {
  if (rowsChanged_) rowsChanged_();
  InvalidateRect(view_, nullptr, FALSE);
}

void MachineListView::selectionChanged(int index) {
  if (index >= 0) {
    setViewSelected(index, list_.isSelected(index));
    return;
  }
  showSelection();
}

void MachineListView::showCount() {
  showing_ = true;
  ListView_SetItemCountEx(view_, list_.count(), LVSICF_NOSCROLL);
  showing_ = false;
  InvalidateRect(view_, nullptr, FALSE);
}

// Every row takes the state most rows have in one message; then the rows
// that differ from it are set one by one. (A message per row cost seconds
// at 100,000 rows.) The view is drawn once afterwards rather than asked to
// redraw each row it changes: Wine's list view does so even for the message
// that sets every row, and took over a second for it.
void MachineListView::showSelection() {
  const int count = list_.count();
  const int selected = list_.selectedCount();
  if (selected == 0 && ListView_GetSelectedCount(view_) == 0) return;  // as after every load
  showing_ = true;
  SendMessageW(view_, WM_SETREDRAW, FALSE, 0);
  const bool mostlySelected = selected > count - selected;
  const UINT most = mostlySelected ? LVIS_SELECTED : 0;
  ListView_SetItemState(view_, -1, most, LVIS_SELECTED);
  const int others = mostlySelected ? count - selected : selected;
  for (int i = 0, set = 0; i < count && set < others; ++i) {
    if (list_.isSelected(i) == mostlySelected) continue;
    ListView_SetItemState(view_, i, most ^ LVIS_SELECTED, LVIS_SELECTED);
    ++set;
  }
  SendMessageW(view_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(view_, nullptr, FALSE);
  showing_ = false;
}

void MachineListView::setViewSelected(int index, bool selected) {
  showing_ = true;
  ListView_SetItemState(view_, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
  showing_ = false;
}

}  // namespace venbrook
