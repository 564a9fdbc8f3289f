#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace venbrook {

// The list's columns, the one description of them: a row holds one text per
// column, in this order.
enum Column : int { kMachineNameColumn = 0, kNewNameColumn = 1, kMacColumn = 2, kColumnCount = 3 };

// Told of every change, so an on-screen list can mirror the rows.
class MachineListObserver {
 public:
  virtual void rowsReset() = 0;                  // rows cleared, or appended in bulk
  virtual void rowRemoved(int index) = 0;
  virtual void selectionChanged(int index) = 0;  // -1: possibly every row
  // One row's new name changed; an observer that keeps nothing per row
  // takes it as any change of the rows.
  virtual void rowChanged(int index) {
    (void)index;
    rowsReset();
  }

 protected:
  ~MachineListObserver() = default;
};

// The loaded machines in query order, each with its new name, MAC text,
// selected flag and whether the operator typed its new name. Texts live in one shared buffer so a large café costs a few
// allocations, not three per machine.
class MachineList {
 public:
  void clear();
  // Empties the list and gives its memory back, as after a load that ran
  // out of memory part-way.
  void clearAndRelease();
  int append(std::string_view machineName, std::string_view newName, std::string_view macText);
  int count() const { return static_cast<int>(rows_.size()); }
  int selectedCount() const { return selectedCount_; }
  bool isSelected(int index) const { return rows_[index].selected; }
  void setSelected(int index, bool selected);
  int firstSelected() const;
  std::vector<int> selectedRows() const;
  std::string_view cellText(int index, int column) const {
    const Row& row = rows_[index];
    std::uint64_t start = row.start;
    for (int c = 0; c < column; ++c) start += row.length[c];
    return {text_.data() + start, row.length[column]};
  }
  void remove(int index);

  // The new name typed by the operator, or (`typed` false) made by the rule
  // again. No allocation once the list's text buffer has room for the row.
  void setNewName(int index, std::string_view newName, bool typed);
  bool isTyped(int index) const { return rows_[index].typed; }
  int typedCount() const { return typedCount_; }

  // Bulk forms of the commands above; one notification each.
  void selectAll();
  void invertSelection();
  void removeSelected();

  // Appends without telling the observer; `endBulkAppend` tells it once.
  void reserve(std::size_t rows, std::size_t textBytes);
  int appendQuietly(std::string_view machineName, std::string_view newName, std::string_view macText);
  void endBulkAppend();

  using Cells = std::array<std::string_view, kColumnCount>;  // in Column order
  int appendCells(const Cells& cells);

  void setObserver(MachineListObserver* observer) { observer_ = observer; }

  // While one lives, the observer hears nothing; when the last one goes, it
  // hears of all the changes made meanwhile at once, as a reset. A load and
  // the typed names put over its rows are then one change, checked once.
  class HeldNotifications {
   public:
    explicit HeldNotifications(MachineList& list) : list_(list) { ++list_.holds_; }
    ~HeldNotifications();
    HeldNotifications(const HeldNotifications&) = delete;
    HeldNotifications& operator=(const HeldNotifications&) = delete;

   private:
    MachineList& list_;
  };

 private:
  struct Row {
    std::uint64_t start;  // of the machine name; the new name and MAC follow it
    std::uint32_t length[kColumnCount];
    bool selected;
    bool typed;
  };
  static std::size_t TextBytes(const Row& row);
  void compactTextIfSparse();
  template <typename Tell>
  void tell(Tell tellObserver);

  std::string text_;
  std::vector<Row> rows_;
  std::size_t liveTextBytes_ = 0;
  int selectedCount_ = 0;
  int typedCount_ = 0;
  MachineListObserver* observer_ = nullptr;
  int holds_ = 0;
  bool heldChange_ = false;
};

}  // namespace venbrook
