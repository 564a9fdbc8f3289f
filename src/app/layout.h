#pragma once
// The main window as data: where each control sits and how it looks. Read
// this table against the design; main_window.cpp only walks it.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <iterator>

#include "app/control_ids.h"
#include "app/version.h"
#include "commands/window_port.h"
#include "model/machine_list.h"

namespace venbrook::layout {

constexpr wchar_t kCaption[] = L"" VENBROOK_CAPTION;
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 720;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

enum class Kind { Edit, Label, Button, GroupBox, List, StatusBar };
enum class Parent { GroupBox, Window };

struct Control {
  ControlId id;
  const char* name;  // the control's name in the design
  Kind kind;
  Parent parent;
  const wchar_t* text;
  int left, top, width, height;
  DWORD style;
  DWORD exStyle;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kBox = kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;

// In the design's order, which is the stacking order among siblings: each
// control lies above the ones before it, so the tab cycle runs from the last
// to the first. The group box, which holds the others, is made first; the
// rest are made in this order.
constexpr Control kControls[] = {
    {ControlId::编辑框1, "编辑框1", Kind::Edit, Parent::GroupBox, nullptr, 440, 291, 416, 184,
     kChild | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_LEFT, 0},
    {ControlId::透明标签3, "透明标签3", Kind::Label, Parent::GroupBox, L"替换成", 575, 139, 40, 21, kLabel, 0},
    {ControlId::编辑框_新字符, "编辑框_新字符", Kind::Edit, Parent::GroupBox, L"#", 632, 139, 40, 24,
     kBox | ES_CENTER, 0},
    {ControlId::编辑框_原字符, "编辑框_原字符", Kind::Edit, Parent::GroupBox, L"-", 512, 139, 40, 24,
     kBox | ES_CENTER, 0},
    {ControlId::透明标签2, "透明标签2", Kind::Label, Parent::GroupBox, L"机器名替换字符：", 410, 139, 96, 32, kLabel,
     0},
    {ControlId::编辑框_前缀, "编辑框_前缀", Kind::Edit, Parent::GroupBox, L"", 512, 99, 40, 24, kBox | ES_CENTER, 0},
    {ControlId::透明标签4, "透明标签4", Kind::Label, Parent::GroupBox, L"添加机器名前缀：", 410, 99, 96, 32, kLabel,
     0},
    {ControlId::按钮_导出, "按钮_导出", Kind::Button, Parent::GroupBox, L"导出至桌面", 520, 211, 240, 24, kButton, 0},
    {ControlId::状态条1, "状态条1", Kind::StatusBar, Parent::Window, L"", 0, 671, 894, 20, kChild, 0},
    {ControlId::编辑框_地址, "编辑框_地址", Kind::Edit, Parent::GroupBox, L"", 486, 51, 328, 24, kBox | ES_LEFT, 0},
    {ControlId::按钮1, "按钮1", Kind::Button, Parent::GroupBox, L"变更", 830, 51, 48, 24, kButton, 0},
    {ControlId::超级列表框1, "超级列表框1", Kind::List, Parent::GroupBox, L"", 8, 24, 392, 632,
     kChild | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_NOSORTHEADER, 0},
    {ControlId::透明标签1, "透明标签1", Kind::Label, Parent::GroupBox, L"数据库地址：", 410, 51, 70, 24, kLabel, 0},
    {ControlId::分组框1, "分组框1", Kind::GroupBox, Parent::Window, L"", 0, 0, 890, 672,
     kChild | BS_GROUPBOX, WS_EX_CONTROLPARENT},
    // The check's summary, below the help text: several lines, no focus,
    // painted opaque as its text changes.
    {ControlId::标签_检查, "标签_检查", Kind::Label, Parent::GroupBox, L"", 440, 485, 416, 130,
     kChild | SS_LEFT | SS_NOPREFIX, 0},
    // Where the list came from, or why a file gave none: up to two lines,
    // broken anywhere a line must break, painted opaque as its text changes.
    // The names it quotes are kept short (sources/source_words.h), so its
    // counts always fit.
    {ControlId::标签_来源, "标签_来源", Kind::Label, Parent::GroupBox, L"", 440, 620, 416, 36,
     kChild | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0},
};

constexpr std::size_t kControlCount = std::size(kControls);

// The table's place of a control; the ids run on from the first one.
constexpr std::size_t SlotOf(ControlId id) { return static_cast<std::size_t>(IdOf(id) - IdOf(ControlId::编辑框1)); }

constexpr bool EveryControlHasItsOwnSlot() {
  bool taken[kControlCount] = {};
  for (const Control& entry : kControls) {
    const std::size_t slot = SlotOf(entry.id);
    if (slot >= kControlCount || taken[slot]) return false;
    taken[slot] = true;
  }
  return true;
}
static_assert(EveryControlHasItsOwnSlot(), "control ids must run on from the first, one per table entry");

constexpr const Control& EntryOf(ControlId id) {
  for (const Control& entry : kControls)
    if (entry.id == id) return entry;
  return kControls[0];  // unreachable: every id is in the table (checked above)
}

constexpr bool IsLabel(ControlId id) { return EntryOf(id).kind == Kind::Label; }

// Four lines, an empty line between each two, no line end after the last.
constexpr wchar_t kHelpText[] =
    L"1、支持云更新、网维大师数据库及其他机器列表文件\r\n\r\n"
    L"2、支持选择导出\r\n\r\n"
    L"3、支持批量添加前缀名\r\n\r\n"
    L"4、支持批量修改机器名";

constexpr int kHelpFontHeight = -14;

struct ListColumn {
  Column column;  // the machine list's column it shows
  const wchar_t* header;
  int width;
};
constexpr ListColumn kColumns[] = {
    {kMachineNameColumn, L"机器编号", 80}, {kNewNameColumn, L"新机器编号", 80}, {kMacColumn, L"MAC地址", 120}};

// The view asks for column i's text by i: row i must show the list's column i.
constexpr bool ColumnsInListOrder() {
  for (std::size_t i = 0; i < std::size(kColumns); ++i)
    if (kColumns[i].column != static_cast<Column>(i)) return false;
  return std::size(kColumns) == kColumnCount;
}
static_assert(ColumnsInListOrder(), "one header per column of the machine list, in its order");
constexpr DWORD kListExStyle = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP;

constexpr int kStatusParts[] = {100, -1};
constexpr wchar_t kTotalCounterInitial[] = L" 总数:";

// When an item can be chosen; greyed otherwise.
enum class MenuNeeds {
  Nothing,
  RowToEdit,    // a focused row, or a selected one
  SelectedRow,  // a selected row
};

struct MenuItem {
  MenuItemId id;
  const wchar_t* caption;  // nullptr: separator
  MenuCommand command;     // what choosing the item does
  MenuNeeds needs = MenuNeeds::Nothing;
};
constexpr MenuItem kMenu[] = {
    {MenuItemId::导出, L"导出", MenuCommand::Export},
    {MenuItemId::重载, L"重载", MenuCommand::Reload},
    {MenuItemId{}, nullptr, MenuCommand::None},
    {MenuItemId::全选, L"全选", MenuCommand::SelectAll},
    {MenuItemId::反选, L"反选", MenuCommand::Invert},
    {MenuItemId::删除, L"删除", MenuCommand::Delete},
    {MenuItemId{}, nullptr, MenuCommand::None},
    {MenuItemId::改名, L"改名", MenuCommand::Rename, MenuNeeds::RowToEdit},
    {MenuItemId::编号, L"编号…", MenuCommand::Number},
    {MenuItemId::恢复原名, L"恢复原名", MenuCommand::RestoreNames, MenuNeeds::SelectedRow},
};

// The command of the item with this id; None for 0 (the menu dismissed).
constexpr MenuCommand CommandOf(int menuItemId) {
  for (const MenuItem& item : kMenu)
    if (item.caption != nullptr && IdOf(item.id) == menuItemId) return item.command;
  return MenuCommand::None;
}
constexpr int kMenuOffset = 3;  // pixels right and down of the cursor

}  // namespace venbrook::layout
