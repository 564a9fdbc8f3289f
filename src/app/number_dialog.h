#pragma once
// The 编号… dialog: 前缀, 起始编号 and 位数, filled with the defaults and the
// first box's text selected, so Enter accepts them; Esc cancels. Built in
// code, laid out in pixels at the owner's DPI from a table, in the window's
// font. A prefix GBK cannot write, or a number out of range, is refused with
// a balloon on its box.
#include <windows.h>

#include <optional>

#include "commands/numbering.h"

namespace venbrook {

// Modal over `owner`; none when cancelled.
std::optional<Numbering> RunNumberDialog(HWND owner, const Numbering& defaults, int dpi, HFONT font);

}  // namespace venbrook
