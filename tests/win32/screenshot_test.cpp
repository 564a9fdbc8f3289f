// Saves a picture of the window with a loaded list, for the README and for
// a person to look at after a test run: main_window.bmp, and
// main_window_144dpi.bmp from the display scaling test.
#include <gtest/gtest.h>

#include "app/dpi.h"
#include "support/sqlite_fixture.h"
#include "win32/window_driver.h"

namespace venbrook::test {
namespace {

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
  machines.push_back({"包间02", "00-1A-2B-3C-4D-18"});  // the MAC of PC024: shown red
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
  // Run again by the display scaling test at 144 DPI, for the picture beside this one.
  const int dpi = dpi::OfWindow(ui.window->handle());
  const std::string name = dpi == dpi::kUnscaled ? "main_window" : "main_window_" + std::to_string(dpi) + "dpi";
  EXPECT_TRUE(SaveWindowPicture(ui.window->handle(), name + ".bmp"));
}

}  // namespace
}  // namespace venbrook::test
