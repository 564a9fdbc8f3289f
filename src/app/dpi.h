#pragma once
// Display scaling. The layout is written in pixels at 96 DPI (100 %); the
// window scales it by the DPI of the monitor it is on.
#include <windows.h>

namespace venbrook::dpi {

constexpr int kUnscaled = 96;

// The window's DPI, asked with the newest call the running Windows has:
// GetDpiForWindow (10), else GetDpiForMonitor (8.1), else the system's
// LOGPIXELSX (7), which every version answers.
int OfWindow(HWND window);

// The DPI the system's own fonts (the stock GUI font among them) are made for.
int OfSystem();

// The size of a window whose client area is `width` by `height`, its frame
// drawn at `dpi`: AdjustWindowRectExForDpi (10), else AdjustWindowRectEx.
SIZE WindowSizeFor(int width, int height, DWORD style, DWORD exStyle, int dpi);

// A length of the 96-DPI layout at `dpi`, rounded to the nearest pixel.
inline int Scale(int pixels, int dpi) { return MulDiv(pixels, dpi, kUnscaled); }

}  // namespace venbrook::dpi
