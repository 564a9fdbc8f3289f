#include "model/machine_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace venbrook {
namespace {

using Indices = std::vector<int>;
using Texts = std::vector<std::string>;

Texts Names(const MachineList& list) {
  Texts names;
  for (int i = 0; i < list.count(); ++i) names.emplace_back(list.cellText(i, kMachineNameColumn));
  return names;
}

Texts Cells(const MachineList& list, int row) {
  return {std::string(list.cellText(row, kMachineNameColumn)), std::string(list.cellText(row, kNewNameColumn)),
          std::string(list.cellText(row, kMacColumn))};
}

MachineList Rows(int n) {
  MachineList list;
  for (int i = 0; i < n; ++i) {
    const std::string id = std::to_string(i);
    EXPECT_EQ(list.append("PC" + id, "WB" + id, "MAC" + id), i);
  }
  return list;
}

TEST(MachineList, AppendKeepsOrderAndEveryCell) {
  MachineList list;
  list.append("PC02", "WB02", "00-AA");
  list.append("", "", "");
  list.append("PC02", std::string(5000, 'n'), "00-BB");  // duplicates are separate rows
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(Cells(list, 0), (Texts{"PC02", "WB02", "00-AA"}));
  EXPECT_EQ(Cells(list, 1), (Texts{"", "", ""}));
  EXPECT_EQ(Cells(list, 2), (Texts{"PC02", std::string(5000, 'n'), "00-BB"}));
  EXPECT_EQ(list.selectedCount(), 0);
  EXPECT_FALSE(list.isSelected(2));
}

TEST(MachineList, Selection) {
  MachineList list = Rows(6);
  EXPECT_EQ(list.firstSelected(), -1);
  EXPECT_TRUE(list.selectedRows().empty());
  list.setSelected(4, true);
  list.setSelected(1, true);
  list.setSelected(1, true);  // again: still one row
  EXPECT_EQ(list.selectedCount(), 2);
  EXPECT_EQ(list.firstSelected(), 1);
  EXPECT_EQ(list.selectedRows(), (Indices{1, 4}));

  list.invertSelection();
  EXPECT_EQ(list.selectedRows(), (Indices{0, 2, 3, 5}));
  EXPECT_EQ(list.selectedCount(), 4);
  list.setSelected(0, false);
  EXPECT_EQ(list.firstSelected(), 2);
  list.selectAll();
  EXPECT_EQ(list.selectedCount(), 6);
  EXPECT_EQ(list.selectedRows(), (Indices{0, 1, 2, 3, 4, 5}));
  list.clear();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.selectedCount(), 0);
  EXPECT_EQ(list.firstSelected(), -1);
}

TEST(MachineList, RemoveMovesLaterRowsUpWithTheirFlags) {
  MachineList list = Rows(5);
  list.setSelected(2, true);
  list.setSelected(4, true);
  list.remove(2);
  EXPECT_EQ(Names(list), (Texts{"PC0", "PC1", "PC3", "PC4"}));
  EXPECT_FALSE(list.isSelected(2));
  EXPECT_TRUE(list.isSelected(3));
  EXPECT_EQ(list.selectedCount(), 1);
  EXPECT_EQ(Cells(list, 3), (Texts{"PC4", "WB4", "MAC4"}));

  list.setSelected(0, true);
  list.removeSelected();
  EXPECT_EQ(Names(list), (Texts{"PC1", "PC3"}));
  EXPECT_EQ(list.selectedCount(), 0);
  EXPECT_EQ(list.firstSelected(), -1);
}

// Deleting most rows of a large list makes the list move the remaining texts
// into a fresh buffer; every cell must survive that, and later appends too.
TEST(MachineList, TextsSurviveDeletingMostRows) {
  MachineList list;
  auto cell = [](int row, char column) { return std::string(40 + row % 7, column) + std::to_string(row); };
  for (int i = 0; i < 300; ++i) list.append(cell(i, 'n'), cell(i, 'w'), cell(i, 'm'));
  for (int i = 0; i < 300; ++i) list.setSelected(i, i % 10 != 3);
  list.removeSelected();
  for (int i = 0; i < 12; ++i) list.remove(list.count() - 2);  // one at a time, from the end
  list.append("last", "new", "mac");
  ASSERT_EQ(list.count(), 19);
  for (int i = 0; i < 18; ++i) {
    const int former = i == 17 ? 293 : i * 10 + 3;
    EXPECT_EQ(Cells(list, i), (Texts{cell(former, 'n'), cell(former, 'w'), cell(former, 'm')})) << i;
  }
  EXPECT_EQ(Cells(list, 18), (Texts{"last", "new", "mac"}));
}

// A typed name replaces the new name alone, whatever its length and
// wherever it comes from (another row's cell included), and survives the
// compaction that many renames of a large list cause.
TEST(MachineList, NewNameSetInPlaceKeepsTheOtherCellsAndCountsTypedRows) {
  MachineList list = Rows(4);
  list.setNewName(1, std::string(300, 'x'), true);
  list.setNewName(2, list.cellText(0, kMachineNameColumn), true);  // a view into the list's own text
  list.setNewName(3, "", true);
  list.setNewName(3, "WB3", false);  // the rule's name again
  EXPECT_EQ(Cells(list, 0), (Texts{"PC0", "WB0", "MAC0"}));
  EXPECT_EQ(Cells(list, 1), (Texts{"PC1", std::string(300, 'x'), "MAC1"}));
  EXPECT_EQ(Cells(list, 2), (Texts{"PC2", "PC0", "MAC2"}));
  EXPECT_EQ(Cells(list, 3), (Texts{"PC3", "WB3", "MAC3"}));
  EXPECT_EQ(list.typedCount(), 2);
  EXPECT_TRUE(list.isTyped(1));
  EXPECT_FALSE(list.isTyped(3));

  list.setSelected(2, true);
  list.removeSelected();
  EXPECT_EQ(list.typedCount(), 1);
  list.remove(1);
  EXPECT_EQ(list.typedCount(), 0);
  EXPECT_FALSE(list.isTyped(1));  // PC3's row, moved up with its flag

  for (int round = 0; round < 200; ++round)
    for (int row = 0; row < list.count(); ++row) list.setNewName(row, "A" + std::to_string(round * 10 + row), true);
  EXPECT_EQ(Cells(list, 0), (Texts{"PC0", "A1990", "MAC0"}));
  EXPECT_EQ(Cells(list, 1), (Texts{"PC3", "A1991", "MAC3"}));
  EXPECT_EQ(list.typedCount(), 2);
  list.clear();
  EXPECT_EQ(list.typedCount(), 0);
}

class RecordingObserver final : public MachineListObserver {
 public:
  std::vector<std::string> calls;
  void rowsReset() override { calls.push_back("reset"); }
  void rowRemoved(int index) override { calls.push_back("removed " + std::to_string(index)); }
  void selectionChanged(int index) override { calls.push_back("selection " + std::to_string(index)); }
  void rowChanged(int index) override { calls.push_back("changed " + std::to_string(index)); }
};

TEST(MachineList, TellsTheObserverOfEveryChange) {
  MachineList list;
  RecordingObserver observer;
  list.setObserver(&observer);
  list.clear();
  list.append("a", "b", "c");
  list.appendQuietly("d", "e", "f");
  list.appendQuietly("g", "h", "i");
  EXPECT_EQ(observer.calls, (Texts{"reset", "reset"}));
  list.endBulkAppend();
  list.setSelected(1, true);
  list.setSelected(1, true);  // unchanged: nothing to tell
  list.setSelected(2, false);
  list.remove(0);
  list.selectAll();
  list.invertSelection();
  list.removeSelected();  // nothing selected: nothing removed
  list.setSelected(1, true);
  list.removeSelected();
  list.setNewName(0, "typed", true);
  EXPECT_EQ(observer.calls, (Texts{"reset", "reset", "reset", "selection 1", "removed 0", "selection -1",
                                   "selection -1", "selection 1", "reset", "changed 0"}));
  EXPECT_EQ(Names(list), (Texts{"d"}));

  // Held, even nested, the changes are told once, as a reset, at the end;
  // a hold without a change tells nothing.
  observer.calls.clear();
  {
    MachineList::HeldNotifications outer(list);
    {
      MachineList::HeldNotifications inner(list);
      list.clear();
      list.append("e", "f", "g");
    }
    list.setNewName(0, "h", true);
    EXPECT_TRUE(observer.calls.empty());
  }
  { MachineList::HeldNotifications idle(list); }
  EXPECT_EQ(observer.calls, Texts{"reset"});
}

}  // namespace
}  // namespace venbrook
