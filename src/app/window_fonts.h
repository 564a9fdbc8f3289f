#pragma once
// The window's two fonts at one DPI: the GUI font every control but the help
// box uses, and the help box's own, both sized from their 96-DPI heights.
// Where that size is the stock GUI font's own (at 96 DPI, as a rule), the
// stock font itself is used.
#include <windows.h>

namespace venbrook {

class WindowFonts {
 public:
  WindowFonts() = default;
  ~WindowFonts() { release(); }
  WindowFonts(const WindowFonts&) = delete;
  WindowFonts& operator=(const WindowFonts&) = delete;

  // Makes the fonts for `dpi`; the ones made before stay valid until the
  // next call, so controls can be switched over first.
  void makeFor(int dpi);

  HFONT gui() const { return gui_; }
  HFONT help() const { return help_; }

 private:
  void release();

  HFONT gui_ = nullptr;
  HFONT help_ = nullptr;
  bool ownsGui_ = false;
  HFONT retiredGui_ = nullptr;   // the previous DPI's, deleted at the next change
  HFONT retiredHelp_ = nullptr;
};

}  // namespace venbrook
