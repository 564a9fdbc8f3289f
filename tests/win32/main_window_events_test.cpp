// The window's events and commands, through its real controls: start-up,
// renaming, selecting, deleting, the menu, the counters and the export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/layout.h"
#include "support/address_space.h"
#include "support/gbk_literal.h"
#include "support/sqlite_fixture.h"
#include "support/workbook_maker.h"
#include "win32/window_driver.h"

namespace venbrook::test {
namespace {

const std::vector<Machine> kMachines = {
    {"PC03", "00-1a-2b-3c-4d-03"}, {"PC01", "00-1a-2b-3c-4d-01"}, {"PC05", "00-1a-2b-3c-4d-05"},
    {"PC02", "00-1a-2b-3c-4d-02"}, {"PC04", "00-1a-2b-3c-4d-04"}, {"包间06", "00-1a-2b-3c-4d-06"},
};

// A window started with a stored path to a 云更新 database of six machines.
class LoadedWindow : public testing::Test {
 protected:
  void SetUp() override {
    databasePath = ui.program.core() + "\\lwdiskless.db";
    MakeYungengxinDatabase(databasePath, kMachines);
    ui.writeConfig(databasePath);
    ASSERT_TRUE(ui.open());
    ASSERT_EQ(ui.rowCount(), 6);
  }
  std::vector<std::wstring> column(int index) {
    std::vector<std::wstring> texts;
    for (int row = 0; row < ui.rowCount(); ++row) texts.push_back(ui.cell(row, index));
    return texts;
  }
  WindowDriver ui;
  std::string databasePath;
};

TEST(StartUp, WithoutStoredPathTheDialogComesFirstAndCancelLeavesAnEmptyWindow) {
  WindowDriver ui;
  ui.modals.dialogAnswers.push_back(std::nullopt);
  ASSERT_TRUE(ui.open());
  ASSERT_EQ(ui.modals.dialogs.size(), 1u);
  EXPECT_FALSE(ui.modals.windowVisibleAtDialog[0]);
  EXPECT_EQ(ui.modals.dialogs[0].initialFolder, ui.desktop.core() + "\\");
  EXPECT_TRUE(IsWindowVisible(ui.window->handle()));
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_地址)), L"");
  EXPECT_EQ(ui.rowCount(), 0);
  EXPECT_EQ(ReadBytes(ui.program / "config.ini").value_or("missing"), "[config]\r\ndata=\r\n");
}

TEST(StartUp, AChosenDatabaseIsShownStoredAndLoaded) {
  WindowDriver ui;
  const std::string chosen = ui.desktop.core() + "\\barserver.db";
  MakeWangweidashiDatabase(chosen, {{"B2", "aa-bb"}, {"B1", "cc-dd"}});
  ui.modals.dialogAnswers.push_back(chosen);
  ASSERT_TRUE(ui.open());
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_地址)), Wide(chosen));
  ASSERT_EQ(ui.rowCount(), 2);
  EXPECT_EQ(ui.cell(0, 0), L"B1");
  EXPECT_EQ(ui.cell(0, 2), L"CC-DD");
  EXPECT_EQ(ui.status(0), L" 总数:2");
  EXPECT_EQ(ui.status(1), L"");

  // Choosing again: the dialog remembers the file, the desktop is set again.
  ui.click(ControlId::按钮1);
  ASSERT_EQ(ui.modals.dialogs.size(), 2u);
  EXPECT_EQ(ui.modals.dialogs[1].fileName, chosen);
  EXPECT_EQ(ui.modals.dialogs[1].initialFolder, ui.desktop.core() + "\\");
}

// The dialog offers text lists after the databases; the source label says
// where the rows came from, or why a file gave none while the list stays.
TEST(StartUp, AChosenTextListLoadsAndTheSourceLabelSaysWhatWasRead) {
  WindowDriver ui;
  WriteBytes(ui.desktop / "machines.csv",
             G("包间与大厅的计算机名称一览表,网卡物理地址（交换机端口核对）\r\n一楼01,00-1A-2B-3C-4D-01\r\n合计,1\r\n"));
  ui.modals.dialogAnswers.push_back(ui.desktop.core() + "\\machines.csv");
  ASSERT_TRUE(ui.open());
  ASSERT_EQ(ui.modals.dialogs.size(), 1u);
  EXPECT_EQ(ui.modals.dialogs[0].filter,
            G("所有数据库(*.db)|*.db|云更新(lwdiskless.db)|lwdiskless.db|网维大师(barserver.db)|barserver.db|"
              "机器列表文本(*.txt;*.csv)|*.txt;*.csv|Excel 工作簿(*.xlsx)|*.xlsx|所有文件(*.*)|*.*"));
  ASSERT_EQ(ui.rowCount(), 1);
  EXPECT_EQ(ui.cell(0, 0), L"一楼01");
  EXPECT_EQ(ui.status(0), L" 总数:1");
  const HWND source = ui.control(ControlId::标签_来源);
  EXPECT_EQ(ui.text(source), L"来源：文本列表，机器名取自 包间与大厅的计算机名称一览表，MAC地址取自 网卡物理地址（交换机端口核对…，"
                             L"读入 1 台，跳过 1 行（第 3 行）");
  // Two lines, and the whole of them fits the label.
  RECT box{};
  GetClientRect(source, &box);
  RECT needed = box;
  const HDC dc = GetDC(source);
  const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(source, WM_GETFONT, 0, 0)));
  DrawTextW(dc, ui.text(source).c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  SelectObject(dc, font);
  ReleaseDC(source, dc);
  EXPECT_LE(needed.bottom, box.bottom);
  EXPECT_GT(needed.bottom, box.bottom / 2);

  WriteBytes(ui.desktop / "notes.txt", "nothing here\r\n");
  SetWindowTextW(ui.control(ControlId::编辑框_地址), Wide(ui.desktop.core() + "\\notes.txt").c_str());  // a paste
  ui.pump();
  EXPECT_EQ(ui.text(source), L"未载入：notes.txt 里没有找到机器列表");
  EXPECT_EQ(ui.rowCount(), 1);
  EXPECT_EQ(ui.caption(), L"Venbrook1.1-Talsin https://venbrook.github.io");
}

TEST_F(LoadedWindow, StoredPathIsLoadedInQueryOrderWithoutADialog) {
  EXPECT_TRUE(ui.modals.dialogs.empty());
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_地址)), Wide(databasePath));
  EXPECT_EQ(column(0), (std::vector<std::wstring>{L"PC01", L"PC02", L"PC03", L"PC04", L"PC05", L"包间06"}));
  EXPECT_EQ(ui.cell(0, 2), L"00-1a-2b-3c-4d-01");  // 云更新 MACs stay as stored
  EXPECT_EQ(ui.status(0), L" 总数:6");
  EXPECT_EQ(ui.caption(), L"Venbrook1.1-Talsin https://venbrook.github.io");
  EXPECT_EQ(ui.text(ui.control(ControlId::标签_来源)), L"");  // the product's own file: no word
}

TEST_F(LoadedWindow, PrefixAndReplacementBoxesRenameAtOnceButTheFindBoxWaits) {
  ui.type(ControlId::编辑框_前缀, L"WB-");
  EXPECT_EQ(ui.cell(0, 1), L"WB-PC01");
  EXPECT_EQ(ui.cell(5, 1), L"WB-包间06");

  ui.clearBox(ControlId::编辑框_原字符);
  ui.type(ControlId::编辑框_原字符, L"pc");
  EXPECT_EQ(ui.cell(0, 1), L"WB-PC01");  // no reload for the find text alone

  ui.clearBox(ControlId::编辑框_新字符);  // the replacement box reloads: "pc" now goes
  EXPECT_EQ(ui.cell(0, 1), L"WB-01");
  ui.type(ControlId::编辑框_新字符, L"机");
  EXPECT_EQ(ui.cell(0, 1), L"WB-机01");
  EXPECT_EQ(ui.cell(0, 0), L"PC01");
}

TEST_F(LoadedWindow, EveryKeystrokeInThePrefixReloadsBringingDeletedRowsBack) {
  ui.clickRow(1);
  ui.doubleClickRow(1);
  ASSERT_EQ(ui.rowCount(), 5);
  ui.type(ControlId::编辑框_原字符, L"x");
  EXPECT_EQ(ui.rowCount(), 5);
  ui.type(ControlId::编辑框_前缀, L"a");
  EXPECT_EQ(ui.rowCount(), 6);
  EXPECT_TRUE(ui.viewSelection().empty());
}

TEST_F(LoadedWindow, ClicksSelectRowsAndRefreshTheSelectedCounter) {
  ui.clickRow(2);
  EXPECT_EQ(ui.viewSelection(), (std::vector<int>{2}));
  EXPECT_EQ(ui.status(1), L" 已选中:1");
  ui.clickRow(4, kCtrl);
  EXPECT_EQ(ui.viewSelection(), (std::vector<int>{2, 4}));
  EXPECT_EQ(ui.list.selectedRows(), (std::vector<int>{2, 4}));
  EXPECT_EQ(ui.status(1), L" 已选中:2");
  ui.clickRow(4);  // a plain click on a selected row narrows the selection to it
  EXPECT_EQ(ui.list.selectedRows(), (std::vector<int>{4}));
  EXPECT_EQ(ui.status(1), L" 已选中:1");
}

TEST_F(LoadedWindow, SelectAllAndInvertLeaveTheCounterUntilTheNextClick) {
  ui.clickRow(0);
  ui.chooseFromMenu(MenuItemId::全选, 0);
  EXPECT_EQ(ui.viewSelection().size(), 6u);
  EXPECT_EQ(ui.list.selectedCount(), 6);
  EXPECT_EQ(ui.status(1), L" 已选中:1");  // refreshed by the right click, before the command

  ui.clickRow(0);
  ui.clickRow(1, kCtrl);
  ui.chooseFromMenu(MenuItemId::反选, 0);
  EXPECT_EQ(ui.viewSelection(), (std::vector<int>{2, 3, 4, 5}));
  EXPECT_EQ(ui.list.selectedRows(), (std::vector<int>{2, 3, 4, 5}));
  EXPECT_EQ(ui.status(1), L" 已选中:2");
}

TEST_F(LoadedWindow, CtrlAAloneSelectsEverything) {
  ui.pressKeyInList('A', kCtrl | kShift);
  EXPECT_EQ(ui.list.selectedCount(), 0);
  ui.pressKeyInList('A', kAlt);
  EXPECT_EQ(ui.list.selectedCount(), 0);
  ui.pressKeyInList('A', 0);  // the list's own type-ahead: no machine starts with A
  EXPECT_EQ(ui.list.selectedCount(), 0);
  ui.pressKeyInList('A', kCtrl);
  EXPECT_EQ(ui.list.selectedCount(), 6);
  EXPECT_EQ(ui.viewSelection().size(), 6u);
}

TEST_F(LoadedWindow, TypingInTheListJumpsToTheMachineNamedSo) {
  ui.pressKeyInList('P', 0);
  EXPECT_EQ(ui.list.selectedRows(), (std::vector<int>{0}));
  EXPECT_EQ(ui.viewSelection(), (std::vector<int>{0}));
}

TEST_F(LoadedWindow, DeleteRemovesTheSelectedRowsAndRefreshesBothCounters) {
  ui.clickRow(0);
  ui.clickRow(2, kCtrl);
  ui.clickRow(5, kCtrl);
  ui.chooseFromMenu(MenuItemId::删除, 5);
  EXPECT_EQ(column(0), (std::vector<std::wstring>{L"PC02", L"PC04", L"PC05"}));
  EXPECT_EQ(ui.status(0), L" 总数:3");
  EXPECT_EQ(ui.status(1), L" 已选中:0");
  EXPECT_TRUE(ui.modals.boxes.empty());

  ui.chooseFromMenu(MenuItemId::删除);
  ASSERT_EQ(ui.modals.boxes.size(), 1u);
  EXPECT_EQ(ui.modals.boxes[0].title, G("提示："));
  EXPECT_EQ(ui.modals.boxes[0].text, G("没有选中数据"));
  EXPECT_EQ(ui.modals.boxes[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(ui.rowCount(), 3);
}

TEST_F(LoadedWindow, DoubleClickDeletesTheRowAndRefreshesOnlyTheTotal) {
  ui.clickRow(3);
  ui.doubleClickRow(3);
  EXPECT_EQ(column(0), (std::vector<std::wstring>{L"PC01", L"PC02", L"PC03", L"PC05", L"包间06"}));
  EXPECT_EQ(ui.status(0), L" 总数:5");
  EXPECT_EQ(ui.status(1), L" 已选中:1");

  ui.doubleClickEmptySpace();  // the click there cleared the selection
  EXPECT_EQ(ui.rowCount(), 5);
}

TEST_F(LoadedWindow, ReloadRestoresRowsOrAsksForADatabase) {
  ui.clickRow(0);
  ui.chooseFromMenu(MenuItemId::删除, 0);
  ASSERT_EQ(ui.rowCount(), 5);
  ui.chooseFromMenu(MenuItemId::重载);
  EXPECT_EQ(ui.rowCount(), 6);
  EXPECT_EQ(ui.status(0), L" 总数:6");

  ui.clearBox(ControlId::编辑框_地址);
  EXPECT_EQ(ui.rowCount(), 6);  // an empty path loads nothing
  ui.chooseFromMenu(MenuItemId::重载);
  ASSERT_EQ(ui.modals.boxes.size(), 1u);
  EXPECT_EQ(ui.modals.boxes[0].text, G("没有载入数据库，请检查配置的数据库是否正确"));
  EXPECT_EQ(ReadBytes(ui.program / "config.ini").value_or(""), "[config]\r\ndata=\r\n");
}

TEST_F(LoadedWindow, TypingAPathToAMissingDatabaseSaysSoInTheCaption) {
  ui.clearBox(ControlId::编辑框_地址);
  ui.type(ControlId::编辑框_地址, Wide(ui.desktop.core()) + L"\\lwdiskless.db");
  EXPECT_EQ(ui.caption(), L"数据库连接失败");
  EXPECT_EQ(ui.rowCount(), 6);
  EXPECT_EQ(ui.status(0), L" 总数:6");
  const auto config = ReadBytes(ui.program / "config.ini").value_or("");
  EXPECT_NE(config.find(ui.desktop.core() + "\\lwdiskless.db"), std::string::npos);
}

TEST_F(LoadedWindow, ExportWritesTheSelectedRowsRenamedToTheDesktop) {
  ui.type(ControlId::编辑框_前缀, L"WB-");
  ui.clickRow(5);
  ui.clickRow(1, kCtrl);
  ui.click(ControlId::按钮_导出);
  const auto file = ui.desktop / "202576090503.txt";
  EXPECT_EQ(ReadBytes(file).value_or(""), "00-1a-2b-3c-4d-02 WB-PC02\r\n00-1a-2b-3c-4d-06 WB-" + G("包间06") + "\r\n");
  ASSERT_EQ(ui.modals.boxes.size(), 1u);
  EXPECT_EQ(ui.modals.boxes[0].text,
            G("成功导出2条数据至文件：") + ui.desktop.core() + "\\202576090503.txt");
  EXPECT_EQ(ui.modals.boxes[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(ui.viewSelection(), (std::vector<int>{1, 5}));

  // From the menu, with nothing selected: every row, after the first lines.
  ui.chooseFromMenu(MenuItemId::导出);
  const std::string all = ReadBytes(file).value_or("");
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 8);
}

// The list's notifications as the list view sends them to its parent, with
// the answer the window gives.
LRESULT NotifyFromList(WindowDriver& ui, NMHDR& header) {
  HWND list = ui.control(ControlId::超级列表框1);
  header.hwndFrom = list;
  header.idFrom = static_cast<UINT_PTR>(IdOf(ControlId::超级列表框1));
  return SendMessageW(GetParent(list), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

std::vector<int> RedRows(WindowDriver& ui) {
  NMLVCUSTOMDRAW draw{};
  draw.nmcd.hdr.code = NM_CUSTOMDRAW;
  draw.nmcd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(NotifyFromList(ui, draw.nmcd.hdr), CDRF_NOTIFYITEMDRAW);
  std::vector<int> red;
  for (int row = 0; row < ui.rowCount(); ++row) {
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.clrText = CLR_DEFAULT;
    if (NotifyFromList(ui, draw.nmcd.hdr) == CDRF_NEWFONT && draw.clrText == RGB(255, 0, 0)) red.push_back(row);
  }
  return red;
}

std::wstring InfoTip(WindowDriver& ui, int row) {
  wchar_t text[INFOTIPSIZE] = L"PC01";  // the list view may put the row's text there first
  NMLVGETINFOTIPW tip{};
  tip.hdr.code = LVN_GETINFOTIPW;
  tip.pszText = text;
  tip.cchTextMax = INFOTIPSIZE;
  tip.iItem = row;
  NotifyFromList(ui, tip.hdr);
  return text;
}

COLORREF SummaryColor(WindowDriver& ui) {
  HWND summary = ui.control(ControlId::标签_检查);
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(GetParent(summary), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(summary));
  const COLORREF color = GetTextColor(dc);
  DeleteDC(dc);
  return color;
}

TEST(ListCheck, FindingsShowRedWithTheirReasonsAndTheSummaryFollowsTheList) {
  WindowDriver ui;
  const std::string database = ui.program.core() + "\\lwdiskless.db";
  MakeYungengxinDatabase(database, {{"PC01", "00-1a-2b-3c-4d-01"},
                                    {"PC02", "00:1A:2B:3C:4D:01"},
                                    {"PC-07", "00-1a-2b-3c-4d-07"},
                                    {"PC_07", "00-1a-2b-3c-4d-08"},
                                    {"包间05", ""}});
  ui.writeConfig(database);
  ASSERT_TRUE(ui.open());
  HWND summary = ui.control(ControlId::标签_检查);
  EXPECT_EQ(ui.text(summary), L"检查：3 台需要注意（红色标出）\r\nMAC地址重复：2 台\r\nMAC地址无效：1 台");
  EXPECT_EQ(SummaryColor(ui), RGB(255, 0, 0));
  EXPECT_EQ(RedRows(ui), (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(InfoTip(ui, 2), L"MAC地址与 PC01 相同");
  EXPECT_EQ(InfoTip(ui, 4), L"MAC地址无效");
  EXPECT_EQ(InfoTip(ui, 0), L"");

  // Every other control shows what it showed before there was a check.
  const wchar_t* rows[][3] = {{L"PC-07", L"PC#07", L"00-1a-2b-3c-4d-07"},
                              {L"PC01", L"PC01", L"00-1a-2b-3c-4d-01"},
                              {L"PC02", L"PC02", L"00:1A:2B:3C:4D:01"},
                              {L"PC_07", L"PC_07", L"00-1a-2b-3c-4d-08"},
                              {L"包间05", L"包间05", L""}};
  ASSERT_EQ(ui.rowCount(), 5);
  for (int row = 0; row < 5; ++row)
    for (int column = 0; column < 3; ++column) EXPECT_EQ(ui.cell(row, column), rows[row][column]);
  EXPECT_EQ(ui.status(0), L" 总数:5");
  EXPECT_EQ(ui.status(1), L"");
  EXPECT_EQ(ui.caption(), L"Venbrook1.1-Talsin https://venbrook.github.io");
  for (const layout::Control& entry : layout::kControls)
    if (entry.text != nullptr && entry.kind != layout::Kind::StatusBar && entry.id != ControlId::编辑框_地址 &&
        entry.id != ControlId::标签_检查)
      EXPECT_EQ(ui.text(ui.control(entry.id)), entry.text) << entry.name;

  // A replacement that makes two new names one: each keystroke rechecks.
  ui.clearBox(ControlId::编辑框_新字符);
  ui.type(ControlId::编辑框_新字符, L"_");
  EXPECT_EQ(ui.text(summary), L"检查：5 台需要注意（红色标出）\r\nMAC地址重复：2 台\r\nMAC地址无效：1 台\r\n"
                              L"新机器编号重复：2 台");
  EXPECT_EQ(InfoTip(ui, 0), L"新机器编号与 PC_07 相同");

  // Deleting PC02 leaves PC01's MAC alone.
  ui.clickRow(2);
  ui.doubleClickRow(2);
  EXPECT_EQ(ui.text(summary), L"检查：3 台需要注意（红色标出）\r\nMAC地址无效：1 台\r\n新机器编号重复：2 台");
  EXPECT_EQ(RedRows(ui), (std::vector<int>{0, 2, 3}));
}

// The edit box over a row's new name, through the keys an operator
// presses. kMachines load as PC01, PC02, PC03, PC04, PC05, 包间06.

RECT CellOf(WindowDriver& ui, int row) {
  RECT cell{};
  ListView_GetSubItemRect(ui.control(ControlId::超级列表框1), row, kNewNameColumn, LVIR_BOUNDS, &cell);
  return cell;
}

TEST_F(LoadedWindow, F2OpensTheBoxOverTheNewNameAndEnterKeepsIt) {
  ui.clickRow(2);
  ui.pressKeyInList(VK_F2, 0);
  HWND box = ui.nameBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetFocus(), box);
  EXPECT_EQ(ui.text(box), L"PC03");
  EXPECT_EQ(SendMessageW(box, EM_GETSEL, 0, 0), MAKELRESULT(0, 4));  // the whole name selected
  RECT place{};
  GetWindowRect(box, &place);
  MapWindowPoints(nullptr, ui.control(ControlId::超级列表框1), reinterpret_cast<POINT*>(&place), 2);
  const RECT cell = CellOf(ui, 2);
  EXPECT_EQ(place.left, cell.left);
  EXPECT_EQ(place.right, cell.right);
  EXPECT_LE(place.top, cell.top + 1);
  EXPECT_GE(place.bottom, cell.bottom - 1);

  ui.typeInto(box, L"前台");
  ui.pressKey(box, VK_RETURN);
  EXPECT_EQ(ui.nameBox(), nullptr);
  EXPECT_EQ(GetFocus(), ui.control(ControlId::超级列表框1));
  EXPECT_EQ(ui.cell(2, 1), L"前台");
  EXPECT_EQ(ui.cell(2, 0), L"PC03");
  EXPECT_EQ(ReadBytes(ui.program / Utf8Name("机器名.ini")).value_or("").find("00-1A-2B-3C-4D-03=" + G("前台")) !=
                std::string::npos,
            true);
}

// Tab keeps the name and opens the next row's box, Shift+Tab the previous
// one's; Esc drops what was typed and leaves the window open.
TEST_F(LoadedWindow, TabWalksTheRowsAndEscKeepsNothing) {
  ui.clickRow(0);
  ui.pressKeyInList(VK_F2, 0);
  for (const wchar_t* name : {L"A01", L"A02", L"A03"}) {
    ui.typeInto(ui.nameBox(), name);
    ui.pressKey(ui.nameBox(), VK_TAB);
  }
  ASSERT_NE(ui.nameBox(), nullptr);
  EXPECT_EQ(ui.text(ui.nameBox()), L"PC04");
  ui.pressKey(ui.nameBox(), VK_TAB, kShift);
  ASSERT_NE(ui.nameBox(), nullptr);
  EXPECT_EQ(ui.text(ui.nameBox()), L"A03");
  ui.typeInto(ui.nameBox(), L"X");
  ui.pressKey(ui.nameBox(), VK_ESCAPE);
  EXPECT_EQ(ui.nameBox(), nullptr);
  EXPECT_NE(ui.window->handle(), nullptr);  // Esc was the box's
  EXPECT_EQ(column(1), (std::vector<std::wstring>{L"A01", L"A02", L"A03", L"PC04", L"PC05", L"包间06"}));
  EXPECT_EQ(ui.list.selectedRows(), (std::vector<int>{0}));  // the walk moves no selection

  // F2 opens where the walk ended. A click elsewhere keeps the name as
  // Enter does; a double click still deletes.
  ui.pressKeyInList(VK_F2, 0);
  ui.typeInto(ui.nameBox(), L"B");
  ui.clickRow(4);
  EXPECT_EQ(ui.nameBox(), nullptr);
  EXPECT_EQ(ui.cell(2, 1), L"B");
  ui.doubleClickRow(4);
  EXPECT_EQ(ui.rowCount(), 5);

  // Closing the window with the box open keeps the name, as any click away.
  ui.pressKeyInList(VK_F2, 0);
  ui.typeInto(ui.nameBox(), L"Z");
  PostMessageW(ui.window->handle(), WM_CLOSE, 0, 0);
  ui.pump();
  EXPECT_EQ(ui.window->handle(), nullptr);
  EXPECT_NE(ReadBytes(ui.program / Utf8Name("机器名.ini")).value_or("").find("=Z\r\n"), std::string::npos);
}

TEST_F(LoadedWindow, ANameGbkCannotWriteIsRefusedAndTheBoxStaysOpen) {
  ui.clickRow(1);
  ui.chooseFromMenu(MenuItemId::改名, 1);
  HWND box = ui.nameBox();
  ASSERT_NE(box, nullptr);
  ui.typeInto(box, L"한01");  // Hangul: no character of GBK
  ui.pressKey(box, VK_RETURN);
  EXPECT_EQ(ui.nameBox(), box);
  EXPECT_EQ(ui.window->nameEditor().lastRefusal(), L"名字里有 GBK 编码写不出的字符，请换一个字。");
  EXPECT_EQ(ui.cell(1, 1), L"PC02");
  SetWindowTextW(box, L"A\r\nB");  // a paste of two lines
  ui.pressKey(box, VK_RETURN);
  EXPECT_EQ(ui.window->nameEditor().lastRefusal(), L"名字里不能有换行。");
  EXPECT_EQ(ui.nameBox(), box);
  ui.pressKey(box, VK_ESCAPE);
  EXPECT_EQ(ui.nameBox(), nullptr);
  EXPECT_EQ(ui.cell(1, 1), L"PC02");
  EXPECT_FALSE(std::filesystem::exists(ui.program / Utf8Name("机器名.ini")));
}

TEST_F(LoadedWindow, ATypedNameStaysThroughAPrefixKeystrokeAReloadAndARestart) {
  ui.clickRow(1);
  ui.pressKeyInList(VK_F2, 0);
  ui.typeInto(ui.nameBox(), L"收银");
  ui.pressKey(ui.nameBox(), VK_RETURN);
  ui.type(ControlId::编辑框_前缀, L"W");
  EXPECT_EQ(column(1), (std::vector<std::wstring>{L"WPC01", L"收银", L"WPC03", L"WPC04", L"WPC05", L"W包间06"}));
  ui.chooseFromMenu(MenuItemId::重载);
  EXPECT_EQ(ui.cell(1, 1), L"收银");
  ASSERT_TRUE(ui.restart());
  EXPECT_EQ(ui.cell(1, 1), L"收银");
  EXPECT_EQ(ui.cell(0, 1), L"PC01");  // the prefix box starts empty again
  EXPECT_EQ(ui.text(ui.control(ControlId::标签_检查)), L"检查：未发现重复或无效的条目，手动命名 1 台");
}

// 编号… with the defaults as they come: the prefix box's text, from 1, two
// digits; Enter numbers the selected rows in list order. Esc numbers none.
TEST_F(LoadedWindow, NumberingWithItsDefaultsThenRestoringTheRuleNames) {
  ui.type(ControlId::编辑框_前缀, L"A区");
  ui.clickRow(4);
  ui.clickRow(1, kCtrl);
  ui.modals.numberingScripts.push_back({{}, {VK_ESCAPE}, {}});
  ui.chooseFromMenu(MenuItemId::编号, 4);
  EXPECT_EQ(ui.cell(1, 1), L"A区PC02");
  EXPECT_NE(ui.window->handle(), nullptr);  // Esc was the dialog's

  ui.modals.numberingScripts.push_back({{}, {VK_RETURN}, {}});
  ui.chooseFromMenu(MenuItemId::编号, 4);
  ASSERT_EQ(ui.modals.numberingShown.size(), 2u);
  const ShownDialog& shown = ui.modals.numberingShown[1];
  EXPECT_EQ(shown.prefix, L"A区");
  EXPECT_EQ(shown.start, L"1");
  EXPECT_EQ(shown.width, L"2");
  EXPECT_EQ(shown.focus, IdOf(NumberDialogId::前缀));
  EXPECT_EQ(shown.selection, static_cast<DWORD>(MAKELONG(0, 2)));
  EXPECT_EQ(column(1), (std::vector<std::wstring>{L"A区PC01", L"A区01", L"A区PC03", L"A区PC04", L"A区02", L"A区包间06"}));
  EXPECT_EQ(ui.text(ui.control(ControlId::标签_检查)), L"检查：未发现重复或无效的条目，手动命名 2 台");

  // Boxes changed in the dialog; then 恢复原名 on one of the rows.
  ui.clickRow(0);
  ui.modals.numberingScripts.push_back(
      {{{NumberDialogId::前缀, L"B"}, {NumberDialogId::起始编号, L"9"}, {NumberDialogId::位数, L"3"}}, {VK_RETURN}, {}});
  ui.chooseFromMenu(MenuItemId::编号, 0);
  EXPECT_EQ(ui.cell(0, 1), L"B009");
  ui.clickRow(4);
  ui.chooseFromMenu(MenuItemId::恢复原名, 4);
  EXPECT_EQ(column(1), (std::vector<std::wstring>{L"B009", L"A区01", L"A区PC03", L"A区PC04", L"A区PC05", L"A区包间06"}));
  ASSERT_EQ(ui.modals.menusGreyed.size(), 4u);
  EXPECT_FALSE(ui.modals.menusGreyed[3][7]);  // 改名, with a row
  EXPECT_FALSE(ui.modals.menusGreyed[3][9]);  // 恢复原名, with a row selected
}

// A typed name is the row's new name everywhere: the export's line, and the
// red mark and tip of a repeat.
TEST_F(LoadedWindow, TypedNamesAreExportedAndARepeatIsRed) {
  for (const int row : {0, 3}) {
    ui.clickRow(row);
    ui.pressKeyInList(VK_F2, 0);
    ui.typeInto(ui.nameBox(), L"大厅");
    ui.pressKey(ui.nameBox(), VK_RETURN);
  }
  EXPECT_EQ(RedRows(ui), (std::vector<int>{0, 3}));
  EXPECT_EQ(InfoTip(ui, 3), L"新机器编号与 PC01 相同\r\n手动命名");
  EXPECT_EQ(InfoTip(ui, 1), L"");
  EXPECT_EQ(ui.text(ui.control(ControlId::标签_检查)),
            L"检查：2 台需要注意（红色标出），手动命名 2 台\r\n新机器编号重复：2 台");
  ui.click(ControlId::按钮_导出);  // row 3 is selected: its line alone
  EXPECT_EQ(ReadBytes(ui.desktop / "202576090503.txt").value_or(""), "00-1a-2b-3c-4d-04 " + G("大厅") + "\r\n");
}

// A desktop whose name GBK cannot write (the user folder C:\Users\Jörg):
// the export is written there and its message names the file exactly.
TEST(Export, ToADesktopNamedOutsideGbk) {
  WindowDriver ui(45844.37850694444, "Desktop-Jörg");
  const std::string database = ui.program.core() + "\\lwdiskless.db";
  MakeYungengxinDatabase(database, {{"PC01", "00-1a-2b-3c-4d-01"}});
  ui.writeConfig(database);
  ASSERT_TRUE(ui.open());
  ui.click(ControlId::按钮_导出);
  EXPECT_EQ(ReadBytes(ui.desktopFolder / "202576090503.txt").value_or(""), "00-1a-2b-3c-4d-01 PC01\r\n");
  ASSERT_EQ(ui.modals.boxes.size(), 1u);
  EXPECT_EQ(ui.modals.boxes[0].shown, L"成功导出1条数据至文件：" + (ui.desktopFolder / "202576090503.txt").wstring());
}

// 反选 at 100,000 rows goes through the view in bulk: afterwards the view
// shows exactly the list's selection, every row but the one right-clicked.
TEST(LargeList, InvertShowsEveryRowButTheOneRightClicked) {
  constexpr int kRows = 100'000;
  WindowDriver ui;
  const std::string database = ui.program.core() + "\\lwdiskless.db";
  SqliteFile(database).run(
      "CREATE TABLE tPcBaseInfo(MACHINE TEXT, mac TEXT);"
      "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000)"
      " INSERT INTO tPcBaseInfo SELECT printf('PC%06d', x), printf('00-1A-00-%02X-%02X-%02X', x >> 16, (x >> 8) & 255,"
      " x & 255) FROM c;");
  ui.writeConfig(database);
  ASSERT_TRUE(ui.open());
  ASSERT_EQ(ui.rowCount(), kRows);
  ui.clickRow(1);
  ui.chooseFromMenu(MenuItemId::反选, 1);
  HWND list = ui.control(ControlId::超级列表框1);
  EXPECT_EQ(ui.list.selectedCount(), kRows - 1);
  EXPECT_EQ(ListView_GetSelectedCount(list), static_cast<UINT>(kRows - 1));
  EXPECT_FALSE(ui.list.isSelected(1));
  EXPECT_EQ(ListView_GetItemState(list, 1, LVIS_SELECTED), 0u);
  for (const int row : {0, 2, kRows / 2, kRows - 1})
    EXPECT_EQ(ListView_GetItemState(list, row, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED)) << row;
  EXPECT_EQ(ui.status(1), L" 已选中:1");  // refreshed by the right click, before the command
}

// Files no one should ever meet, pasted into the path box one after the
// other: each gives a list or a word, and the window lives on.
TEST(HostileFiles, EachGivesAListOrAWordAndTheWindowLivesOn) {
  WindowDriver ui;
  ui.modals.dialogAnswers.push_back(std::nullopt);
  ASSERT_TRUE(ui.open());
  const std::string twoMachines = "，机器名取自 机器名，MAC地址取自 MAC，读入 2 台";
  WriteBytes(ui.desktop / "widest.xlsx", WidestSheetWorkbook());
  WriteBytes(ui.desktop / "entries.xlsx", WorkbookAmongEntries(100000));
  WriteBytes(ui.desktop / "emoji.xlsx", WorkbookAmongEntries(0, "📋机器"));
  SqliteFile(ui.desktop.core() + "\\blobs.db").run(MegabyteBlobNamesSql());
  {
    std::string header = "MAC";
    header.reserve(30u << 20);
    for (int cell = 0; cell < 15000000; ++cell) header += ",a";
    WriteBytes(ui.desktop / "header.csv", header + "\nA01,00-1A-2B-3C-4D-01\n");
  }
  WriteBytes(ui.desktop / "line.txt", std::string(60u << 20, 'x'));
  WriteBytes(ui.desktop / "deep.json", std::string(1'000'000, '[') + std::string(1'000'000, ']'));
  {
    std::string deep = "<?xml version=\"1.0\"?>\n";
    deep.reserve(8u << 20);
    for (int i = 0; i < 1'000'000; ++i) deep += "<a>";
    for (int i = 0; i < 1'000'000; ++i) deep += "</a>";
    WriteBytes(ui.desktop / "deep.xml", deep);
  }
  WriteBytes(ui.desktop / "zeros.txt", "");
  std::filesystem::resize_file(ui.desktop / "zeros.txt", 50u << 20);
  {
    std::string million = "name,mac\r\n";
    million.reserve(32u << 20);
    char line[40];
    for (int i = 1; i <= 1000000; ++i) {
      std::snprintf(line, sizeof line, "PC%07d,00-1A-%02X-%02X-%02X-%02X\r\n", i, i >> 24, (i >> 16) & 255, (i >> 8) & 255,
                    i & 255);
      million += line;
    }
    WriteBytes(ui.desktop / "million.csv", million);
  }
  const struct {
    const char* file;
    int rows;
    std::string label;  // UTF-8
  } cases[] = {
      {"widest.xlsx", 119, "来源：工作簿 widest.xlsx 的工作表 Sheet1，机器名取自 机器名，MAC地址取自 MAC，读入 119 台"},
      {"entries.xlsx", 2, "来源：工作簿 entries.xlsx 的工作表 Sheet1" + twoMachines},
      {"emoji.xlsx", 2, "来源：工作簿 emoji.xlsx 的工作表 ??机器" + twoMachines},
      // Past a bound: the list stays as it was.
      {"blobs.db", 2, "未载入：blobs.db 太大（一行超过 1 MB）"},
      {"header.csv", 2, "未载入：header.csv 太大（一行超过 1 MB）"},
      {"line.txt", 2, "未载入：line.txt 太大（一行超过 1 MB）"},
      {"zeros.txt", 2, "未载入：zeros.txt 太大（一行超过 1 MB）"},
      {"deep.json", 2, "未载入：deep.json 太大（嵌套超过 256 层）"},
      {"deep.xml", 2, "未载入：deep.xml 太大（嵌套超过 256 层）"},
      {"million.csv", 1000000, "来源：文本列表，机器名取自 name，MAC地址取自 mac，读入 1000000 台"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    SetWindowTextW(ui.control(ControlId::编辑框_地址), Wide(ui.desktop.core() + "\\" + c.file).c_str());  // a paste
    ui.pump();
    EXPECT_EQ(ui.text(ui.control(ControlId::标签_来源)), Wide(G(c.label)));
    EXPECT_EQ(ui.rowCount(), c.rows);
    EXPECT_EQ(ui.status(0), L" 总数:" + std::to_wstring(c.rows));
  }
  EXPECT_TRUE(IsWindow(ui.window->handle()));
}

// A list pasted while the address space is all but used up: the load runs
// out of memory, says so and empties the list; with room again 重载 loads
// it whole.
TEST(HostileFiles, RunningOutOfMemorySaysSoAndTheWindowLivesOn) {
  if (!AddressSpaceLimit::available()) GTEST_SKIP() << "no address space limit in this process";
  WindowDriver ui;
  ui.modals.dialogAnswers.push_back(std::nullopt);
  ASSERT_TRUE(ui.open());
  std::string csv;
  csv.reserve(60000 * 26);
  for (int i = 1; i <= 60000; ++i) {
    char line[40];
    std::snprintf(line, sizeof line, "PC%05d,00-1A-2B-3C-%02X-%02X\r\n", i, i / 256, i % 256);
    csv += line;
  }
  WriteBytes(ui.desktop / "list.csv", csv);
  {
    const AddressSpaceLimit limit(1 << 20);
    SetWindowTextW(ui.control(ControlId::编辑框_地址), Wide(ui.desktop.core() + "\\list.csv").c_str());
  }
  ui.pump();
  EXPECT_EQ(ui.text(ui.control(ControlId::标签_来源)), L"未载入：list.csv 太大（内存不足）");
  EXPECT_EQ(ui.rowCount(), 0);
  EXPECT_EQ(ui.status(0), L" 总数:0");
  ui.chooseFromMenu(MenuItemId::重载);
  EXPECT_EQ(ui.rowCount(), 60000);
}

// A load shows the wait cursor over the window, and the cursor it replaced
// once it ends; over another program's window it changes nothing.
TEST_F(LoadedWindow, WaitCursorWhileALoadRuns) {
  RECT list{};
  GetWindowRect(ui.control(ControlId::超级列表框1), &list);
  SetCursorPos((list.left + list.right) / 2, (list.top + list.bottom) / 2);
  const HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  ui.window->loadBegins();
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  ui.window->loadEnds();
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));

  RECT window{};
  GetWindowRect(ui.window->handle(), &window);
  SetCursorPos(window.right + 50, window.bottom + 50);
  ui.window->loadBegins();
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
  ui.window->loadEnds();
  SetCursor(before);
}

// A start after one that ended inside its load of the stored file: the
// window opens with the path and an empty list, the label says why, a
// keystroke in the prefix box loads nothing, and 重载 loads.
TEST(StartUp, AfterEndingInsideItsLoadItWaitsForTheRetry) {
  WindowDriver ui;
  const std::string database = ui.program.core() + "\\lwdiskless.db";
  MakeYungengxinDatabase(database, kMachines);
  ui.writeConfig(database);
  WriteBytes(ui.program / "config.ini.loading", database);
  ASSERT_TRUE(ui.open());
  EXPECT_EQ(ui.text(ui.control(ControlId::编辑框_地址)), Wide(database));
  EXPECT_EQ(ui.rowCount(), 0);
  EXPECT_EQ(ui.text(ui.control(ControlId::标签_来源)),
            L"未载入：上次打开 lwdiskless.db 时程序意外退出，这次没有自动载入，可按“重载”再试");
  ui.type(ControlId::编辑框_前缀, L"W");
  EXPECT_EQ(ui.rowCount(), 0);
  ui.chooseFromMenu(MenuItemId::重载);
  EXPECT_EQ(ui.rowCount(), 6);
  EXPECT_EQ(ui.cell(0, 1), L"WPC01");
  EXPECT_FALSE(std::filesystem::exists(ui.program / "config.ini.loading"));
}

TEST(EmptyWindow, ExportingNothingSaysSoWithTheErrorIcon) {
  WindowDriver ui;
  ASSERT_TRUE(ui.open());
  ui.click(ControlId::按钮_导出);
  ASSERT_EQ(ui.modals.boxes.size(), 1u);
  EXPECT_EQ(ui.modals.boxes[0].text, G("没有可导出的数据"));
  EXPECT_EQ(ui.modals.boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(std::filesystem::is_empty(ui.desktop.path()));
}

}  // namespace
}  // namespace venbrook::test
