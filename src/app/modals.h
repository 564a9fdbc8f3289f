#pragma once
// The modal calls of the program, each wrapped once. Tests put a recorder in
// their place; the program uses the Win32 one. Texts come as the core holds
// them, GBK words and paths, and become UTF-16 here.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "commands/window_port.h"

namespace venbrook {

class Modals {
 public:
  virtual ~Modals() = default;
  // A task-modal box with an OK button and no owner. `icon` is MB_ICON*.
  virtual void messageBox(std::string_view title, const MessageText& text, UINT icon) = 0;
  virtual std::optional<Path> openFile(HWND owner, const OpenFileRequest& request) = 0;
  // The id of the item chosen from `menu`, or 0 when dismissed.
  virtual int trackPopupMenu(HMENU menu, POINT screenPoint, HWND owner) = 0;
  // The 编号… dialog over `owner`, laid out at `dpi` in `font`; none when
  // cancelled.
  virtual std::optional<Numbering> askNumbering(HWND owner, const Numbering& defaults, int dpi, HFONT font) = 0;
};

// Words as the window shows them: the words, the file's path, the words after it.
std::wstring ShownText(const MessageText& text);

class Win32Modals final : public Modals {
 public:
  void messageBox(std::string_view title, const MessageText& text, UINT icon) override;
  std::optional<Path> openFile(HWND owner, const OpenFileRequest& request) override;
  int trackPopupMenu(HMENU menu, POINT screenPoint, HWND owner) override;
  std::optional<Numbering> askNumbering(HWND owner, const Numbering& defaults, int dpi, HFONT font) override;
};

}  // namespace venbrook
