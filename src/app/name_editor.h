#pragma once
// The edit box over one row's new name, opened by F2 or 改名: it holds the
// row's new name, selected. Enter, or a click elsewhere, keeps the name;
// Esc drops it and keeps Esc for itself (the window does not close); Tab
// and Shift+Tab keep it and open the next or the previous row's. A name is
// refused with a balloon on the box, which stays open, when GBK cannot
// write it, when it holds a line break, or when its row has no MAC to keep
// it by.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "commands/typed_naming.h"
#include "model/machine_list.h"

namespace venbrook {

// A name the operator typed, as the core takes it: its GBK bytes, or the
// words of the balloon that refuses it.
struct CheckedName {
  std::optional<std::string> gbk;
  const wchar_t* refusal = nullptr;
};
CheckedName CheckName(std::wstring_view name);

// Shows `words` in a balloon on the edit box `box`.
void ShowRefusal(HWND box, const wchar_t* words);

class NameEditor {
 public:
  // Keeps a name (GBK) for a row.
  using Keep = std::function<TypedNaming::Typed(int row, std::string_view name)>;

  // The box is made a child of `listView`, so it lies over the cell and a
  // click anywhere in the list takes the focus from it.
  NameEditor(HWND listView, const MachineList& list, Keep keep);
  ~NameEditor();
  NameEditor(const NameEditor&) = delete;
  NameEditor& operator=(const NameEditor&) = delete;

  // The row F2 opens: the focused one, else the first selected; -1 for none.
  int rowToEdit() const;

  // Opens the box over the row's new name, in `font`; a box open before is
  // ended first. Nothing for a row outside the list.
  void open(int row, HFONT font);
  // Keeps the name where it can be kept, else drops it; the box closes.
  void end();

  // The box, while one is open: its keys are its own.
  bool owns(HWND window) const { return box_ != nullptr && window == box_; }
  HWND box() const { return box_; }
  // The words of the last balloon, empty before the first.
  const std::wstring& lastRefusal() const { return lastRefusal_; }

 private:
  static LRESULT CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  static LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
  LRESULT handleBox(UINT message, WPARAM wParam, LPARAM lParam);
  bool keepName(bool showRefusal = true);  // false when refused
  void close(bool focusList);
  void step(int rows);  // Tab: keep, then the row `rows` away

  HWND view_;
  const MachineList& list_;
  Keep keep_;
  HWND box_ = nullptr;
  int row_ = -1;
  std::string rowMac_;  // the row's MAC when opened: a changed list is not the row's
  HFONT font_ = nullptr;
  bool closing_ = false;
  std::wstring lastRefusal_;
};

}  // namespace venbrook
