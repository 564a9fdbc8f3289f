#pragma once
// Every control, menu item and private message id of the main window.

namespace venbrook {

enum class ControlId : int {
  编辑框1 = 1001,
  透明标签3,
  编辑框_新字符,
  编辑框_原字符,
  透明标签2,
  编辑框_前缀,
  透明标签4,
  按钮_导出,
  状态条1,
  编辑框_地址,
  按钮1,
  超级列表框1,
  透明标签1,
  分组框1,
  标签_检查,
  标签_来源,
};

enum class MenuItemId : int {
  导出 = 2001,
  重载,
  全选,
  反选,
  删除,
  改名,
  编号,
  恢复原名,
};

// The edit box over a row's new name, a child of the list.
constexpr int kNameEditorId = 3001;

// The 编号… dialog's boxes; its buttons are IDOK and IDCANCEL.
enum class NumberDialogId : int {
  前缀 = 3101,
  起始编号,
  位数,
};

constexpr int IdOf(ControlId id) { return static_cast<int>(id); }
constexpr int IdOf(MenuItemId id) { return static_cast<int>(id); }
constexpr int IdOf(NumberDialogId id) { return static_cast<int>(id); }

}  // namespace venbrook
