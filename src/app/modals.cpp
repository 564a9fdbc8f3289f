#include "app/modals.h"

#include <commdlg.h>

#include <vector>

#include "app/number_dialog.h"
#include "platform/win32/wide_text.h"

namespace venbrook {

using win32::Widen;
using win32::WidePath;

std::wstring ShownText(const MessageText& text) {
  return Widen(text.words) + WidePath(text.file) + Widen(text.wordsAfter);
}

void Win32Modals::messageBox(std::string_view title, const MessageText& text, UINT icon) {
  MessageBoxW(nullptr, ShownText(text).c_str(), Widen(title).c_str(), MB_OK | MB_TASKMODAL | icon);
}

std::optional<Path> Win32Modals::openFile(HWND owner, const OpenFileRequest& request) {
  // "shown|pattern|..." becomes the dialog's NUL-separated, double-NUL-ended list.
  std::wstring filter = Widen(request.filter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.append(2, L'\0');
  const std::wstring initialFolder = WidePath(request.initialFolder);
  std::vector<wchar_t> fileName(32768, L'\0');
  const std::wstring preset = WidePath(request.fileName);
  preset.copy(fileName.data(), std::min(preset.size(), fileName.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileName.data();
  dialog.nMaxFile = static_cast<DWORD>(fileName.size());
  dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return win32::PathFromWide(fileName.data());
}

int Win32Modals::trackPopupMenu(HMENU menu, POINT screenPoint, HWND owner) {
  return TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screenPoint.x,
                        screenPoint.y, 0, owner, nullptr);
}

std::optional<Numbering> Win32Modals::askNumbering(HWND owner, const Numbering& defaults, int dpi, HFONT font) {
  return RunNumberDialog(owner, defaults, dpi, font);
}

}  // namespace venbrook
