#pragma once
// Names the operator types for rows, in place or by 编号…. A typed name is
// the row's new name: the rename rule no longer touches it, and it is put
// back over the rule's name after every load, by the machine's MAC, from
// 机器名.ini beside the program (settings/typed_names.h), which every change
// is saved to at once. Every row of one MAC shows its one name.
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/numbering.h"
#include "model/machine_list.h"
#include "model/rename_rule.h"
#include "platform/path.h"
#include "settings/typed_names.h"

namespace venbrook {

class TypedNaming {
 public:
  // The names of 机器名.ini in `programDirectory`, read now.
  explicit TypedNaming(const Path& programDirectory);

  // After a load that rebuilt the list by `rule`: the typed names over the
  // rule's. One hash lookup a row, and nothing at all while none is typed.
  void applyAfterLoad(MachineList& list, const RenameRule& rule);

  enum class Typed {
    Kept,       // the row, and every row of its MAC, has the name now
    Unchanged,  // the name is the one the row shows: nothing is kept
    NoMac,      // the row has no MAC to keep a name by: nothing is kept
    Refused,    // no name 机器名.ini can hold (TypedNames::IsStorableName)
  };
  Typed type(MachineList& list, int row, std::string_view name);

  // Numbers the selected rows, or every row when none is selected, in list
  // order; a row without a MAC, or of a MAC numbered before it, takes no
  // number. The count of numbers given (none for a prefix no name can hold).
  int number(MachineList& list, const Numbering& numbering);

  // Drops the typed names of the selected rows: the rule of the last load
  // names them again. The count of machines whose name was dropped.
  int restore(MachineList& list);

  const TypedNames& names() const { return names_; }

 private:
  template <typename Wanted>
  void showNames(MachineList& list, Wanted wanted);

  TypedNames names_;
  RenameRule rule_;  // the last load's
};

}  // namespace venbrook
