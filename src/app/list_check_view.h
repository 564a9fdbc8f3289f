#pragma once
// Shows the machine list's findings: rows with a finding in red in every
// column (the list view's custom draw), the reasons as the row's info tip
// (with the words for a typed name),
// and the summary in 标签_检查, red while there is a finding. The list is
// checked once per change of its rows; painting and hovering read the
// stored result.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>

#include "model/list_findings.h"
#include "model/machine_list.h"

namespace venbrook {

constexpr COLORREF kFindingColor = RGB(255, 0, 0);

class ListCheckView {
 public:
  ListCheckView(HWND summary, const MachineList& list) : summary_(summary), list_(list) {}

  // After every change of the rows: check them again and sum up, with the
  // typed rows counted and, last, the words `namesNote` gives (none: no line).
  void rowsChanged();
  void onNamesNote(std::function<std::string()> namesNote) { namesNote_ = std::move(namesNote); }

  // The list view's NM_CUSTOMDRAW and LVN_GETINFOTIPW; the value is the
  // window procedure's answer.
  LRESULT customDraw(const NMHDR& header) const;
  LRESULT infoTip(const NMHDR& header) const;

  // WM_CTLCOLORSTATIC of the summary: painted opaque on `background`, so a
  // new text never lies over the old one.
  LRESULT colorSummary(HDC dc, HBRUSH background) const;

 private:
  HWND summary_;
  const MachineList& list_;
  ListFindings findings_;
  std::wstring summaryShown_;
  std::function<std::string()> namesNote_;
};

}  // namespace venbrook
