// Saves a picture of the window with a loaded list, for the README and for
// a person to look at after a test run.
#include <gtest/gtest.h>

#include <fstream>

#include "support/sqlite_fixture.h"
#include "win32/window_driver.h"

namespace venbrook::test {
namespace {

// The window's pixels as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::filesystem::path& file) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ former = SelectObject(memory, picture);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
  GdiFlush();
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER header{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  header.bfSize = header.bfOffBits + rowBytes * static_cast<DWORD>(height);
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(rowBytes) * height);
  SelectObject(memory, former);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied && out.good();
}

TEST(Screenshot, WindowWithALoadedListIsSaved) {
  WindowDriver ui;
  const std::string database = ui.program.core() + "\\lwdiskless.db";
  std::vector<Machine> machines;
  for (int i = 1; i <= 24; ++i) {
    char name[16], mac[32];
    std::snprintf(name, sizeof name, "PC%03d", i);
    std::snprintf(mac, sizeof mac, "00-1A-2B-3C-4D-%02X", i);
    machines.push_back({name, mac});
  }
  machines.push_back({"包间01", "00-1A-2B-3C-4E-01"});
  machines.push_back({"包间02", "00-1A-2B-3C-4E-02"});
  MakeYungengxinDatabase(database, machines);
  ui.writeConfig(database);
  ASSERT_TRUE(ui.open());
  ui.type(ControlId::编辑框_前缀, L"WB-");
  ui.clickRow(2);
  ui.clickRow(3, kCtrl);
  RedrawWindow(ui.window->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ui.pump();
  Sleep(200);
  ui.pump();
  EXPECT_TRUE(SaveWindowPicture(ui.window->handle(), "main_window.bmp"));
}

}  // namespace
}  // namespace venbrook::test
