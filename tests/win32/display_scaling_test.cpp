// The window at the display scalings cafés run: 100, 125, 150 and 200 %.
// Wine takes the scaling from the registry when a process starts, so this
// program runs itself again once per scaling; the child builds the window
// and checks it (AtThisScaling), the parent compares what the children saw.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/dpi.h"
#include "app/layout.h"
#include "commands/load_database.h"
#include "support/gbk_literal.h"
#include "support/sqlite_fixture.h"
#include "win32/window_driver.h"

namespace venbrook::test {
namespace {

constexpr wchar_t kExpectedDpi[] = L"VENBROOK_EXPECTED_DPI";
constexpr int kScalings[] = {96, 120, 144, 192};

int ExpectedDpi() {
  const char* value = std::getenv("VENBROOK_EXPECTED_DPI");
  return value ? std::atoi(value) : 0;
}

std::string RectanglesFile(int dpi) { return "control_rectangles_" + std::to_string(dpi) + ".txt"; }

// Each control's rectangle in its parent, one line each, in table order.
// The status bar is left out: docked, it follows the window's frame, whose
// metrics Wine keeps at the DPI the process started with.
std::string Rectangles(const WindowDriver& ui) {
  std::ostringstream out;
  for (const layout::Control& entry : layout::kControls) {
    if (entry.kind == layout::Kind::StatusBar) continue;
    HWND control = ui.control(entry.id);
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    out << entry.name << ' ' << bounds.left << ' ' << bounds.top << ' ' << bounds.right - bounds.left << ' '
        << bounds.bottom - bounds.top << '\n';
  }
  return out.str();
}

void ExpectNear(long actual, long expected, const char* what) {
  EXPECT_LE(std::abs(actual - expected), 1) << what << ": " << actual << " for " << expected;
}

// Every control where the table puts it, scaled; the columns, the status
// bar's first edge and the fonts too.
void ExpectScaledLayout(const WindowDriver& ui, int dpi) {
  RECT outer{};
  GetWindowRect(ui.window->handle(), &outer);
  ExpectNear(outer.right - outer.left, dpi::Scale(layout::kWindowWidth, dpi), "window width");
  ExpectNear(outer.bottom - outer.top, dpi::Scale(layout::kWindowHeight, dpi), "window height");
  RECT client{}, bar{};
  GetClientRect(ui.window->handle(), &client);
  GetWindowRect(ui.control(ControlId::状态条1), &bar);
  MapWindowPoints(nullptr, ui.window->handle(), reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.bottom, client.bottom) << "status bar docked";
  EXPECT_EQ(bar.right - bar.left, client.right) << "status bar docked";
  for (const layout::Control& entry : layout::kControls) {
    if (entry.kind == layout::Kind::StatusBar) continue;
    SCOPED_TRACE(entry.name);
    HWND control = ui.control(entry.id);
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    ExpectNear(bounds.left, dpi::Scale(entry.left, dpi), "left");
    ExpectNear(bounds.top, dpi::Scale(entry.top, dpi), "top");
    ExpectNear(bounds.right - bounds.left, dpi::Scale(entry.width, dpi), "width");
    ExpectNear(bounds.bottom - bounds.top, dpi::Scale(entry.height, dpi), "height");
  }
  HWND list = ui.control(ControlId::超级列表框1);
  for (int column = 0; column < kColumnCount; ++column)
    ExpectNear(ListView_GetColumnWidth(list, column), dpi::Scale(layout::kColumns[column].width, dpi), "column");
  int edges[2] = {};
  SendMessageW(ui.control(ControlId::状态条1), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  ExpectNear(edges[0], dpi::Scale(layout::kStatusParts[0], dpi), "status part edge");
  LOGFONTW help{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(ui.control(ControlId::编辑框1), WM_GETFONT, 0, 0)), sizeof help,
             &help);
  EXPECT_EQ(help.lfHeight, dpi::Scale(layout::kHelpFontHeight, dpi));
}

SIZE TextSize(HWND control, std::wstring_view text, HFONT font = nullptr) {
  if (font == nullptr) font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HDC dc = GetDC(control);
  HGDIOBJ former = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, former);
  ReleaseDC(control, dc);
  return size;
}

int ClientWidth(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  return client.right;
}

// The text of every label, button, column header and status part is drawn
// whole inside its control, in the control's own font.
void ExpectTextsFit(const WindowDriver& ui, int dpi) {
  for (const layout::Control& entry : layout::kControls) {
    if (entry.kind != layout::Kind::Label && entry.kind != layout::Kind::Button) continue;
    SCOPED_TRACE(entry.name);
    HWND control = ui.control(entry.id);
    const int frame = entry.kind == layout::Kind::Button ? 2 * dpi::Scale(3, dpi) : 0;
    EXPECT_LE(TextSize(control, entry.text).cx, ClientWidth(control) - frame) << ui.text(control);
  }
  HWND list = ui.control(ControlId::超级列表框1);
  HWND header = ListView_GetHeader(list);
  for (int column = 0; column < kColumnCount; ++column) {
    RECT item{};
    Header_GetItemRect(header, column, &item);
    const int margin = 2 * dpi::Scale(6, dpi);
    EXPECT_LE(TextSize(header, layout::kColumns[column].header).cx + margin, item.right - item.left)
        << layout::kColumns[column].header;
  }
  // Counters of a large café, as the status bar would show them.
  HWND bar = ui.control(ControlId::状态条1);
  const std::wstring counters[] = {Wide(TotalCounterText(100000)), Wide(SelectedCounterText(100000))};
  for (int part = 0; part < 2; ++part) {
    RECT area{};
    SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&area));
    EXPECT_LE(TextSize(bar, counters[part]).cx, area.right - area.left - 2 * dpi::Scale(2, dpi)) << part;
    EXPECT_LE(TextSize(bar, counters[part]).cy, area.bottom - area.top) << part;
  }
  HWND help = ui.control(ControlId::编辑框1);
  const LRESULT lines = SendMessageW(help, EM_GETLINECOUNT, 0, 0);
  RECT area{};
  GetClientRect(help, &area);
  EXPECT_LE(lines * TextSize(help, L"1、").cy, area.bottom) << lines << " lines of help";
}

class AtThisScaling : public testing::Test {
 protected:
  void SetUp() override {
    if (ExpectedDpi() == 0) GTEST_SKIP() << "run by DisplayScaling, once per scaling";
    ui.modals.dialogAnswers.push_back(std::nullopt);
    ASSERT_TRUE(ui.open());
  }
  WindowDriver ui;
};

TEST_F(AtThisScaling, EveryRectangleIsScaledAndEveryTextFits) {
  const int dpi = ExpectedDpi();
  ASSERT_EQ(dpi::OfWindow(ui.window->handle()), dpi) << "the scaling did not reach this process";
  ExpectScaledLayout(ui, dpi);
  ExpectTextsFit(ui, dpi);
  std::ofstream(RectanglesFile(dpi), std::ios::binary) << Rectangles(ui);
}

// Sets the scaling the next Wine process starts with, and puts back the
// one found when it ends.
class ScalingSetting {
 public:
  ScalingSetting() {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof former_;
    hadValue_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&former_), &size) ==
                ERROR_SUCCESS;
  }
  ~ScalingSetting() {
    if (hadValue_) set(former_);
    else RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
  }
  void set(DWORD dpi) {
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }

 private:
  HKEY key_ = nullptr;
  DWORD former_ = 0;
  bool hadValue_ = false;
};

// This program again, with the filter given, at `dpi`; its exit code.
DWORD RunSelfAt(int dpi, const std::wstring& filter) {
  ScalingSetting setting;
  setting.set(static_cast<DWORD>(dpi));
  SetEnvironmentVariableW(kExpectedDpi, std::to_wstring(dpi).c_str());
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_color=no --gtest_filter=" + filter;
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION child{};
  const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &child);
  SetEnvironmentVariableW(kExpectedDpi, nullptr);
  if (!started) return 0xFFFF;
  DWORD code = 0xFFFE;
  if (WaitForSingleObject(child.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(child.hProcess, &code);
  else TerminateProcess(child.hProcess, code);
  CloseHandle(child.hProcess);
  CloseHandle(child.hThread);
  return code;
}

TEST(DisplayScaling, TheWindowIsScaledWholeAtEveryScaling) {
  if (ExpectedDpi() != 0) GTEST_SKIP() << "a child run";
  for (const int dpi : kScalings) {
    SCOPED_TRACE(dpi);
    std::remove(RectanglesFile(dpi).c_str());
    // At 150 % the window's picture is saved too, for the README.
    EXPECT_EQ(RunSelfAt(dpi, dpi == 144 ? L"AtThisScaling.*:Screenshot.*" : L"AtThisScaling.*"), 0u);
    EXPECT_FALSE(ReadBytes(RectanglesFile(dpi)).value_or("").empty()) << "the child made no window";
  }
}

// The window dragged to a monitor of 150 %: it takes the rectangle offered
// and lays itself out as a window made there, keeping what it showed.
TEST(DisplayScaling, ADpiChangeRelaysOutInPlaceAndKeepsTheList) {
  if (ExpectedDpi() != 0) GTEST_SKIP() << "a child run";
  WindowDriver ui;
  const std::string database = ui.program.core() + "\\lwdiskless.db";
  MakeYungengxinDatabase(database, {{"PC01", "00-01"}, {"PC02", "00-02"}, {"PC03", "00-03"}});
  ui.writeConfig(database);
  ASSERT_TRUE(ui.open());
  ASSERT_EQ(dpi::OfWindow(ui.window->handle()), 96);
  ui.type(ControlId::编辑框_前缀, L"WB-");
  ui.clickRow(0);
  ui.clickRow(2, kCtrl);
  const std::wstring status[] = {ui.status(0), ui.status(1)};

  RECT outer{};
  GetWindowRect(ui.window->handle(), &outer);
  RECT suggested{outer.left, outer.top, outer.left + dpi::Scale(layout::kWindowWidth, 144),
                 outer.top + dpi::Scale(layout::kWindowHeight, 144)};
  SendMessageW(ui.window->handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ui.pump();

  ExpectScaledLayout(ui, 144);
  ExpectTextsFit(ui, 144);
  // The same rectangles as the window the 150 % child made, if it ran first.
  if (const auto made = ReadBytes(RectanglesFile(144))) EXPECT_EQ(Rectangles(ui), *made);
  EXPECT_EQ(ui.rowCount(), 3);
  EXPECT_EQ(ui.cell(2, 1), L"WB-PC03");
  EXPECT_EQ(ui.viewSelection(), (std::vector<int>{0, 2}));
  EXPECT_EQ(ui.list.selectedRows(), (std::vector<int>{0, 2}));
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_前缀)), L"WB-");
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_地址)), Wide(database));
  EXPECT_EQ(ui.status(0), status[0]);
  EXPECT_EQ(ui.status(1), status[1]);
}

}  // namespace
}  // namespace venbrook::test
