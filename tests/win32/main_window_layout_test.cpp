// The window as built: frame, controls, list, status bar, menu, keyboard.
#include <gtest/gtest.h>

#include "app/layout.h"
#include "platform/win32/wide_text.h"
#include "support/gbk_literal.h"
#include "win32/window_driver.h"

namespace venbrook::test {
namespace {

class LayoutTest : public testing::Test {
 protected:
  void SetUp() override {
    ui.modals.dialogAnswers.push_back(std::nullopt);  // first run: the dialog is cancelled
    ASSERT_TRUE(ui.open());
  }
  WindowDriver ui;
};

TEST_F(LayoutTest, WindowIsFixedSizeCentredAndCaptioned) {
  HWND window = ui.window->handle();
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 900);
  EXPECT_EQ(outer.bottom - outer.top, 720);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 900) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 720) / 2);

  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(ui.caption(), L"Venbrook1.1-Talsin https://venbrook.github.io");
}

TEST_F(LayoutTest, ControlsSitWhereTheDesignPutsThemWithTheirTexts) {
  for (const layout::Control& entry : layout::kControls) {
    if (entry.kind == layout::Kind::StatusBar) continue;
    SCOPED_TRACE(entry.name);
    HWND control = ui.control(entry.id);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsWindowVisible(control));
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.left, entry.left);
    EXPECT_EQ(bounds.top, entry.top);
    EXPECT_EQ(bounds.right - bounds.left, entry.width);
    EXPECT_EQ(bounds.bottom - bounds.top, entry.height);
    HWND expectedParent = entry.id == ControlId::分组框1 ? ui.window->handle() : ui.control(ControlId::分组框1);
    EXPECT_EQ(GetParent(control), expectedParent);
  }
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_新字符)), L"#");
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_原字符)), L"-");
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_前缀)), L"");
  EXPECT_EQ(ui.text(ui.control(ControlId::按钮_导出)), L"导出至桌面");
  EXPECT_EQ(ui.text(ui.control(ControlId::按钮1)), L"变更");
  EXPECT_EQ(ui.text(ui.control(ControlId::透明标签1)), L"数据库地址：");
  EXPECT_EQ(ui.text(ui.control(ControlId::透明标签2)), L"机器名替换字符：");
  EXPECT_EQ(ui.text(ui.control(ControlId::透明标签3)), L"替换成");
  EXPECT_EQ(ui.text(ui.control(ControlId::透明标签4)), L"添加机器名前缀：");
  EXPECT_EQ(ui.text(ui.control(ControlId::标签_检查)), L"");  // an empty list: nothing to sum up
  EXPECT_EQ(ui.text(ui.control(ControlId::标签_来源)), L"");
}

TEST_F(LayoutTest, HelpBoxIsReadOnlyWithItsOwnFontAnd116Bytes) {
  HWND help = ui.control(ControlId::编辑框1);
  const std::string bytes = win32::Narrow(ui.text(help));
  EXPECT_EQ(bytes.size(), 116u);
  EXPECT_EQ(SendMessageW(help, EM_GETLINECOUNT, 0, 0), 7);  // no line wraps, at any scaling
  EXPECT_EQ(bytes.substr(0, 2), G("1、").substr(0, 2));
  const LONG style = GetWindowLongW(help, GWL_STYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_FALSE(style & (WS_BORDER | WS_VSCROLL | WS_HSCROLL));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(help, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -14);
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
  EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
}

TEST_F(LayoutTest, ListIsAVirtualReportWithThreeColumns) {
  HWND list = ui.control(ControlId::超级列表框1);
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_OWNERDATA);
  EXPECT_FALSE(style & (LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING));
  const DWORD extended = ListView_GetExtendedListViewStyle(list);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
  EXPECT_FALSE(extended & (LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_TRACKSELECT));
  const wchar_t* headers[] = {L"机器编号", L"新机器编号", L"MAC地址"};
  const int widths[] = {80, 80, 120};
  for (int column = 0; column < 3; ++column) {
    wchar_t header[32] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH;
    info.pszText = header;
    info.cchTextMax = 32;
    ASSERT_TRUE(ListView_GetColumn(list, column, &info));
    EXPECT_STREQ(header, headers[column]);
    EXPECT_EQ(info.cx, widths[column]);
  }
  EXPECT_EQ(ui.rowCount(), 0);
}

TEST_F(LayoutTest, StatusBarHasTwoPartsWithTheTotalLabel) {
  HWND bar = ui.control(ControlId::状态条1);
  int edges[4] = {};
  EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
  EXPECT_EQ(edges[0], 100);
  EXPECT_EQ(ui.status(0), L" 总数:");
  EXPECT_EQ(ui.status(1), L"");
  RECT client{}, bounds{};
  GetClientRect(ui.window->handle(), &client);
  GetWindowRect(bar, &bounds);
  MapWindowPoints(nullptr, ui.window->handle(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.bottom, client.bottom);
  EXPECT_EQ(bounds.right - bounds.left, client.right);
  EXPECT_FALSE(GetWindowLongW(bar, GWL_STYLE) & SBARS_SIZEGRIP);
}

TEST_F(LayoutTest, RightClickShowsTheMenuBelowRightOfTheCursor) {
  SetCursorPos(300, 400);
  ui.rightClickEmptySpace();
  ASSERT_EQ(ui.modals.menusShown.size(), 1u);
  EXPECT_EQ(ui.modals.menusShown[0], (std::vector<std::wstring>{L"导出", L"重载", L"", L"全选", L"反选", L"删除", L"",
                                                                L"改名", L"编号…", L"恢复原名"}));
  // Without a row, 改名 and 恢复原名 are greyed.
  EXPECT_EQ(ui.modals.menusGreyed[0],
            (std::vector<bool>{false, false, false, false, false, false, false, true, false, true}));
  ASSERT_EQ(ui.modals.menuPoints.size(), 1u);
  EXPECT_EQ(ui.modals.menuPoints[0].x, 303);
  EXPECT_EQ(ui.modals.menuPoints[0].y, 403);
  EXPECT_EQ(ui.status(1), L" 已选中:0");  // an empty list still opens the menu
}

TEST_F(LayoutTest, TabWalksTheStopsFromTheListBackwardsThroughCreation) {
  const ControlId cycle[] = {ControlId::超级列表框1, ControlId::按钮1,      ControlId::编辑框_地址,
                             ControlId::按钮_导出,   ControlId::编辑框_前缀, ControlId::编辑框_原字符,
                             ControlId::编辑框_新字符, ControlId::编辑框1};
  for (std::size_t i = 0; i < std::size(cycle); ++i) {
    const ControlId from = cycle[i];
    const ControlId to = cycle[(i + 1) % std::size(cycle)];
    SCOPED_TRACE(i);
    ui.pressKey(ui.control(from), VK_TAB);
    EXPECT_EQ(GetFocus(), ui.control(to));
  }
  ui.pressKey(ui.control(ControlId::超级列表框1), VK_TAB, kShift);
  EXPECT_EQ(GetFocus(), ui.control(ControlId::编辑框1));
}

TEST_F(LayoutTest, EscapeClosesTheWindowFromAnyControl) {
  ui.pressKey(ui.control(ControlId::编辑框_前缀), VK_ESCAPE);
  EXPECT_EQ(ui.window->handle(), nullptr);
}

}  // namespace
}  // namespace venbrook::test
