#include "app/dpi.h"

namespace venbrook::dpi {
namespace {

template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
  HMODULE loaded = GetModuleHandleW(module);
  // shcore.dll is not loaded by every program; from the system folder only.
  if (loaded == nullptr) loaded = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (loaded == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name)));
}

int Sane(UINT dpi) { return dpi >= 48 && dpi <= 960 ? static_cast<int>(dpi) : 0; }

}  // namespace

int OfSystem() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return Sane(static_cast<UINT>(dpi)) ? dpi : kUnscaled;
}

int OfWindow(HWND window) {
  using ForWindow = UINT(WINAPI*)(HWND);
  static const auto forWindow = Lookup<ForWindow>(L"user32.dll", "GetDpiForWindow");
  if (forWindow != nullptr) {
    if (const int dpi = Sane(forWindow(window))) return dpi;
  }
  using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto forMonitor = Lookup<ForMonitor>(L"shcore.dll", "GetDpiForMonitor");
  if (forMonitor != nullptr) {
    UINT x = 0, y = 0;
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (SUCCEEDED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), kEffectiveDpi, &x, &y))) {
      if (const int dpi = Sane(x)) return dpi;
    }
  }
  return OfSystem();
}

SIZE WindowSizeFor(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  RECT frame{0, 0, width, height};
  using ForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = Lookup<ForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
  if (forDpi == nullptr || !forDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace venbrook::dpi
