#include "app/name_editor.h"

#include <commctrl.h>

#include <algorithm>

#include "app/control_ids.h"
#include "app/fatal_error.h"
#include "platform/code_page_936.h"
#include "platform/win32/wide_text.h"

namespace venbrook {
namespace {

// Well below what 机器名.ini takes for a name (TypedNames::kMaxNameBytes):
// a GBK character takes two bytes at most.
constexpr int kMaxNameCharacters = 200;
static_assert(2 * kMaxNameCharacters <= TypedNames::kMaxNameBytes);

constexpr wchar_t kRefusalTitle[] = L"不能使用这个名字";
constexpr wchar_t kLineBreakWords[] = L"名字里不能有换行。";
constexpr wchar_t kNotGbkWords[] = L"名字里有 GBK 编码写不出的字符，请换一个字。";
constexpr wchar_t kNoMacWords[] = L"这一行没有有效的 MAC 地址，名字无法按机器记住。";

constexpr UINT_PTR kBoxSubclass = 1;
constexpr UINT_PTR kListSubclass = 2;

}  // namespace

CheckedName CheckName(std::wstring_view name) {
  if (name.find_first_of(L"\r\n") != std::wstring_view::npos) return {std::nullopt, kLineBreakWords};
  // A private-use character Windows writes as a byte of no GBK character
  // (FF) is no more GBK than one it cannot write at all.
  std::optional<std::string> gbk = win32::NarrowExactly(name);
  if (!gbk || !IsWellFormedCodePage936(*gbk)) return {std::nullopt, kNotGbkWords};
  return {std::move(gbk), nullptr};
}

void ShowRefusal(HWND box, const wchar_t* words) {
  EDITBALLOONTIP tip{sizeof tip, kRefusalTitle, words, TTI_ERROR};
  SendMessageW(box, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
}

NameEditor::NameEditor(HWND listView, const MachineList& list, Keep keep)
    : view_(listView), list_(list), keep_(std::move(keep)) {
  SetWindowSubclass(view_, &ListProcedure, kListSubclass, reinterpret_cast<DWORD_PTR>(this));
}

NameEditor::~NameEditor() {
  if (box_ != nullptr) {
    closing_ = true;
    DestroyWindow(box_);
  }
  RemoveWindowSubclass(view_, &ListProcedure, kListSubclass);
}

int NameEditor::rowToEdit() const {
  const int focused = ListView_GetNextItem(view_, -1, LVNI_FOCUSED);
  return focused >= 0 && focused < list_.count() ? focused : list_.firstSelected();
}

void NameEditor::open(int row, HFONT font) {
  end();
  if (row < 0 || row >= list_.count()) return;
  ListView_EnsureVisible(view_, row, FALSE);
  ListView_SetItemState(view_, row, LVIS_FOCUSED, LVIS_FOCUSED);
  RECT cell{};
  ListView_GetSubItemRect(view_, row, kNewNameColumn, LVIR_BOUNDS, &cell);

  // At least a line of the font high, over the middle of the cell.
  HDC dc = GetDC(view_);
  const HGDIOBJ former = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, former);
  ReleaseDC(view_, dc);
  const int height = std::max<int>(cell.bottom - cell.top, metrics.tmHeight + 4);
  const int top = (cell.top + cell.bottom - height) / 2;

  box_ = CreateWindowExW(0, WC_EDITW, win32::Widen(list_.cellText(row, kNewNameColumn)).c_str(),
                         WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, cell.left, top, cell.right - cell.left,
                         height, view_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNameEditorId)),
                         GetModuleHandleW(nullptr), nullptr);
  if (box_ == nullptr) return;
  row_ = row;
  rowMac_ = std::string(list_.cellText(row, kMacColumn));
  font_ = font;
  SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(box_, EM_SETLIMITTEXT, kMaxNameCharacters, 0);
  SetWindowSubclass(box_, &BoxProcedure, kBoxSubclass, reinterpret_cast<DWORD_PTR>(this));
  SetFocus(box_);
  SendMessageW(box_, EM_SETSEL, 0, -1);
}

void NameEditor::end() {
  if (box_ == nullptr) return;
  keepName(false);  // a name refused is dropped: the box is going
  close(GetFocus() == box_);
}

// The row's name is kept only while the row is the machine it was: a list
// loaded again meanwhile drops what was typed over another one.
bool NameEditor::keepName(bool showRefusal) {
  if (row_ >= list_.count() || list_.cellText(row_, kMacColumn) != rowMac_) return true;
  const int length = GetWindowTextLengthW(box_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(box_, text.data(), length + 1), 0)));
  const CheckedName checked = CheckName(text);
  const wchar_t* refusal = checked.refusal;
  if (checked.gbk) {
    switch (keep_(row_, *checked.gbk)) {
      case TypedNaming::Typed::NoMac: refusal = kNoMacWords; break;
      case TypedNaming::Typed::Refused: refusal = kNotGbkWords; break;
      case TypedNaming::Typed::Kept:
      case TypedNaming::Typed::Unchanged: break;
    }
  }
  if (refusal == nullptr) return true;
  if (showRefusal) {
    lastRefusal_ = refusal;
    ShowRefusal(box_, refusal);
  }
  return false;
}

void NameEditor::close(bool focusList) {
  if (box_ == nullptr) return;
  closing_ = true;
  const HWND box = box_;
  if (focusList) SetFocus(view_);
  DestroyWindow(box);
  box_ = nullptr;
  row_ = -1;
  closing_ = false;
}

void NameEditor::step(int rows) {
  if (!keepName()) return;
  const int next = row_ + rows;
  close(true);
  if (next >= 0 && next < list_.count()) open(next, font_);
}

LRESULT CALLBACK NameEditor::BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(box, &BoxProcedure, id);
    auto* editor = reinterpret_cast<NameEditor*>(self);
    if (editor->box_ == box) editor->box_ = nullptr;
    return DefSubclassProc(box, message, wParam, lParam);
  }
  try {
    return reinterpret_cast<NameEditor*>(self)->handleBox(message, wParam, lParam);
  } catch (...) {
    ReportFatalFromCurrentException();
  }
}

LRESULT NameEditor::handleBox(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: return DefSubclassProc(box_, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_RETURN:
          if (keepName()) close(true);
          return 0;
        case VK_ESCAPE: close(true); return 0;
        case VK_TAB: step(GetKeyState(VK_SHIFT) < 0 ? -1 : 1); return 0;
        default: break;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\r' || wParam == L'\t' || wParam == 0x1B) return 0;  // their keys did their work
      break;
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(box_, message, wParam, lParam);
      if (!closing_ && keepName()) close(false);
      return result;
    }
    case WM_MOUSEWHEEL: end(); return 0;  // the list would scroll away under the box
    default: break;
  }
  return DefSubclassProc(box_, message, wParam, lParam);
}

// The list scrolled by its bars: the box would no longer lie over its row.
LRESULT CALLBACK NameEditor::ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(list, &ListProcedure, id);
  if (message == WM_VSCROLL || message == WM_HSCROLL) {
    try {
      reinterpret_cast<NameEditor*>(self)->end();
    } catch (...) {
      ReportFatalFromCurrentException();
    }
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace venbrook
