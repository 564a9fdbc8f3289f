#include "app/list_check_view.h"

#include <algorithm>

#include "commands/list_check_text.h"
#include "platform/win32/wide_text.h"

namespace venbrook {

void ListCheckView::rowsChanged() {
  findings_.recompute(list_);
  std::wstring summary =
      win32::Widen(CheckSummaryText(findings_, list_.typedCount(), namesNote_ ? namesNote_() : std::string()));
  if (summary == summaryShown_) return;  // the same words are not set again
  summaryShown_ = std::move(summary);
  SetWindowTextW(summary_, summaryShown_.c_str());
}

LRESULT ListCheckView::customDraw(const NMHDR& header) const {
  auto& draw = const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (draw.nmcd.dwItemSpec >= static_cast<DWORD_PTR>(findings_.rowCount()) ||
          findings_.of(static_cast<int>(draw.nmcd.dwItemSpec)) == 0)
        return CDRF_DODEFAULT;
      draw.clrText = kFindingColor;  // for the whole row: no sub-item drawing is asked for
      return CDRF_NEWFONT;
    default: return CDRF_DODEFAULT;
  }
}

// Rows without a finding or a typed name get no tip at all: a tip then
// always means something, and a clean row hovered shows nothing in the
// operator's way.
LRESULT ListCheckView::infoTip(const NMHDR& header) const {
  auto& tip = const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header));
  if (tip.pszText == nullptr || tip.cchTextMax <= 0) return 0;
  const std::wstring reasons = win32::Widen(FindingTipText(list_, findings_, tip.iItem));
  const std::size_t length = std::min(reasons.size(), static_cast<std::size_t>(tip.cchTextMax) - 1);
  reasons.copy(tip.pszText, length);
  tip.pszText[length] = L'\0';
  return 0;
}

LRESULT ListCheckView::colorSummary(HDC dc, HBRUSH background) const {
  SetTextColor(dc, findings_.rowsWithAny() > 0 ? kFindingColor : RGB(0, 0, 0));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(background);
}

}  // namespace venbrook
