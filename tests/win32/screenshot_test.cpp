// Saves pictures of the window with a loaded list, for the README and for
// a person to look at after a test run: main_window.bmp, the edit box over
// a new name (name_editor.bmp) and the 编号… dialog (number_dialog.bmp), and
// each again at 144 DPI (main_window_144dpi.bmp, ...) from the display
// scaling test.
#include <gtest/gtest.h>

#include "app/dpi.h"
#include "support/sqlite_fixture.h"
#include "win32/window_driver.h"

namespace venbrook::test {
namespace {

// The file name of a picture at the window's DPI.
std::string PictureName(const WindowDriver& ui, const std::string& name) {
  const int dpi = dpi::OfWindow(ui.window->handle());
  return (dpi == dpi::kUnscaled ? name : name + "_" + std::to_string(dpi) + "dpi") + ".bmp";
}

void Settle(WindowDriver& ui) {
  RedrawWindow(ui.window->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ui.pump();
  Sleep(200);
  ui.pump();
}

// Twenty-four machines and two rooms, one of them with the MAC of PC024.
void OpenWithACafe(WindowDriver& ui) {
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
}

TEST(Screenshot, WindowWithALoadedListIsSaved) {
  WindowDriver ui;
  OpenWithACafe(ui);
  ui.clickRow(2);
  ui.clickRow(3, kCtrl);
  Settle(ui);
  EXPECT_TRUE(SaveWindowPicture(ui.window->handle(), PictureName(ui, "main_window")));
}

// A name being typed over a row, two names typed above it; then the dialog
// of 编号… over the window.
TEST(Screenshot, TheEditBoxAndTheNumberDialogAreSaved) {
  WindowDriver ui;
  OpenWithACafe(ui);
  ui.clickRow(0);
  ui.pressKeyInList(VK_F2, 0);
  for (const wchar_t* name : {L"前台01", L"前台02"}) {
    ASSERT_NE(ui.nameBox(), nullptr);
    ui.typeInto(ui.nameBox(), name);
    ui.pressKey(ui.nameBox(), VK_TAB);
  }
  ASSERT_NE(ui.nameBox(), nullptr);
  ui.typeInto(ui.nameBox(), L"收银");
  Settle(ui);
  EXPECT_TRUE(SaveWindowPicture(ui.window->handle(), PictureName(ui, "name_editor")));
  ui.pressKey(ui.nameBox(), VK_ESCAPE);

  ui.clickRow(4);
  ui.clickRow(9, kShift);
  ui.modals.numberingScripts.push_back({{}, {VK_ESCAPE}, PictureName(ui, "number_dialog")});
  ui.chooseFromMenu(MenuItemId::编号, 9);
  ASSERT_EQ(ui.modals.numberingShown.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(PictureName(ui, "number_dialog")));
}

}  // namespace
}  // namespace venbrook::test
