#include "app/number_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/dpi.h"
#include "app/fatal_error.h"
#include "app/name_editor.h"
#include "platform/win32/wide_text.h"

namespace venbrook {
namespace {

constexpr wchar_t kTitle[] = L"编号";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

// The dialog as data, in pixels at 96 DPI: its client area, then each
// control in tab order.
constexpr int kClientWidth = 260;
constexpr int kClientHeight = 152;
struct DialogControl {
  int id;  // 0 for a label
  const wchar_t* className;
  const wchar_t* text;
  int left, top, width, height;
  DWORD style;
  DWORD exStyle;
};
constexpr DWORD kLabel = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
constexpr DWORD kBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DialogControl kControls[] = {
    {0, WC_STATICW, L"前缀：", 16, 16, 76, 24, kLabel, 0},
    {IdOf(NumberDialogId::前缀), WC_EDITW, L"", 96, 16, 148, 24, kBox, WS_EX_CLIENTEDGE},
    {0, WC_STATICW, L"起始编号：", 16, 48, 76, 24, kLabel, 0},
    {IdOf(NumberDialogId::起始编号), WC_EDITW, L"", 96, 48, 148, 24, kBox | ES_NUMBER, WS_EX_CLIENTEDGE},
    {0, WC_STATICW, L"位数：", 16, 80, 76, 24, kLabel, 0},
    {IdOf(NumberDialogId::位数), WC_EDITW, L"", 96, 80, 148, 24, kBox | ES_NUMBER, WS_EX_CLIENTEDGE},
    {IDOK, WC_BUTTONW, L"确定", 84, 116, 76, 26, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDCANCEL, WC_BUTTONW, L"取消", 168, 116, 76, 26, WS_TABSTOP | BS_PUSHBUTTON, 0},
};
constexpr int kMaxPrefixCharacters = 100;

constexpr wchar_t kStartWords[] = L"起始编号请填 0 到 999999999 之间的数。";
constexpr wchar_t kWidthWords[] = L"位数请填 1 到 9。";

struct DialogState {
  const Numbering& defaults;
  int dpi;
  HFONT font;
  std::optional<Numbering> chosen;
};

std::wstring TextOf(HWND dialog, NumberDialogId id) {
  HWND box = GetDlgItem(dialog, IdOf(id));
  const int length = GetWindowTextLengthW(box);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(box, text.data(), length + 1), 0)));
  return text;
}

// Digits only, as many as `maxDigits`, and at least `least`.
std::optional<long long> NumberIn(const std::wstring& text, std::size_t maxDigits, long long least) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  long long value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  if (value < least) return std::nullopt;
  return value;
}

// The boxes' values, or a balloon on the first box refused.
std::optional<Numbering> ChosenNumbering(HWND dialog) {
  const auto refuse = [dialog](NumberDialogId id, const wchar_t* words) {
    HWND box = GetDlgItem(dialog, IdOf(id));
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    ShowRefusal(box, words);
    return std::nullopt;
  };
  CheckedName prefix = CheckName(TextOf(dialog, NumberDialogId::前缀));
  if (!prefix.gbk) return refuse(NumberDialogId::前缀, prefix.refusal);
  const std::optional<long long> start = NumberIn(TextOf(dialog, NumberDialogId::起始编号), 9, 0);
  if (!start) return refuse(NumberDialogId::起始编号, kStartWords);
  const std::optional<long long> width = NumberIn(TextOf(dialog, NumberDialogId::位数), 1, 1);
  if (!width) return refuse(NumberDialogId::位数, kWidthWords);
  return Numbering{std::move(*prefix.gbk), *start, static_cast<int>(*width)};
}

void Build(HWND dialog, DialogState& state, HWND owner) {
  const int dpi = state.dpi;
  for (const DialogControl& entry : kControls) {
    HWND made = CreateWindowExW(entry.exStyle, entry.className, entry.text, WS_CHILD | WS_VISIBLE | entry.style,
                                dpi::Scale(entry.left, dpi), dpi::Scale(entry.top, dpi), dpi::Scale(entry.width, dpi),
                                dpi::Scale(entry.height, dpi), dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), GetModuleHandleW(nullptr),
                                nullptr);
    if (made != nullptr) SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
  }
  const auto fill = [dialog](NumberDialogId id, const std::wstring& text, int limit) {
    HWND box = GetDlgItem(dialog, IdOf(id));
    SendMessageW(box, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    SetWindowTextW(box, text.c_str());
  };
  fill(NumberDialogId::前缀, win32::Widen(state.defaults.prefix), kMaxPrefixCharacters);
  fill(NumberDialogId::起始编号, std::to_wstring(state.defaults.start), 9);
  fill(NumberDialogId::位数, std::to_wstring(state.defaults.width), 1);

  // Its size at the DPI, centred over the owner.
  const SIZE size = dpi::WindowSizeFor(dpi::Scale(kClientWidth, dpi), dpi::Scale(kClientHeight, dpi), kStyle,
                                       kExStyle, dpi);
  RECT over{};
  GetWindowRect(owner != nullptr ? owner : GetDesktopWindow(), &over);
  const int left = std::max<int>(0, (over.left + over.right - size.cx) / 2);
  const int top = std::max<int>(0, (over.top + over.bottom - size.cy) / 2);
  SetWindowPos(dialog, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

  HWND first = GetDlgItem(dialog, IdOf(NumberDialogId::前缀));
  SetFocus(first);
  SendMessageW(first, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Build(dialog, *reinterpret_cast<DialogState*>(lParam), GetWindow(dialog, GW_OWNER));
        return FALSE;  // the focus is set
      case WM_COMMAND: {
        auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (LOWORD(wParam) == IDOK) {
          state->chosen = ChosenNumbering(dialog);
          if (state->chosen) EndDialog(dialog, IDOK);
          return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          state->chosen.reset();
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        }
        return FALSE;
      }
      default: return FALSE;
    }
  } catch (...) {
    ReportFatalFromCurrentException();
  }
}

// A dialog template of no controls (they are made at the DPI), no menu, the
// standard class, and its title: words aligned as the template wants them.
std::vector<WORD> EmptyTemplate() {
  DLGTEMPLATE head{};
  head.style = kStyle;
  head.dwExtendedStyle = kExStyle;
  std::vector<WORD> words((sizeof head + 1) / sizeof(WORD), 0);
  std::memcpy(words.data(), &head, sizeof head);
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  for (const wchar_t* c = kTitle; *c != L'\0'; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  return words;
}

}  // namespace

std::optional<Numbering> RunNumberDialog(HWND owner, const Numbering& defaults, int dpi, HFONT font) {
  const std::vector<WORD> dialogTemplate = EmptyTemplate();
  DialogState state{defaults, dpi, font, std::nullopt};
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                              owner, &DialogProcedure, reinterpret_cast<LPARAM>(&state));
  if (result != IDOK) return std::nullopt;
  return state.chosen;
}

}  // namespace venbrook
