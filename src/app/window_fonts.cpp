#include "app/window_fonts.h"

#include "app/dpi.h"
#include "app/layout.h"

namespace venbrook {

void WindowFonts::makeFor(int dpi) {
  if (retiredGui_ != nullptr) DeleteObject(retiredGui_);
  if (retiredHelp_ != nullptr) DeleteObject(retiredHelp_);
  retiredGui_ = ownsGui_ ? gui_ : nullptr;
  retiredHelp_ = help_;

  // The stock font is made for the system's DPI; its height at 96 DPI,
  // scaled to the window's, gives the size wanted here.
  const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  gui_ = stock;
  ownsGui_ = false;
  LOGFONTW font{};
  if (GetObjectW(stock, sizeof font, &font) == sizeof font) {
    const int height = dpi::Scale(MulDiv(font.lfHeight, dpi::kUnscaled, dpi::OfSystem()), dpi);
    if (height != font.lfHeight) {
      font.lfHeight = height;
      font.lfWidth = 0;
      if (HFONT scaled = CreateFontIndirectW(&font)) {
        gui_ = scaled;
        ownsGui_ = true;
      }
    }
  }

  LOGFONTW helpFont{};
  helpFont.lfHeight = dpi::Scale(layout::kHelpFontHeight, dpi);
  helpFont.lfWeight = FW_NORMAL;
  helpFont.lfCharSet = GB2312_CHARSET;
  help_ = CreateFontIndirectW(&helpFont);
}

void WindowFonts::release() {
  if (ownsGui_ && gui_ != nullptr) DeleteObject(gui_);
  if (help_ != nullptr) DeleteObject(help_);
  if (retiredGui_ != nullptr) DeleteObject(retiredGui_);
  if (retiredHelp_ != nullptr) DeleteObject(retiredHelp_);
}

}  // namespace venbrook
