#include "commands/typed_naming.h"

#include <unordered_set>
#include <vector>

#include "model/mac_address.h"

namespace venbrook {
namespace {

std::int64_t MacOf(const MachineList& list, int row) { return MacNumber(list.cellText(row, kMacColumn)); }

}  // namespace

TypedNaming::TypedNaming(const Path& programDirectory) : names_(programDirectory.child("机器名.ini")) {
  names_.read();
}

// Each row whose MAC `wanted` names shows that MAC's typed name, or the
// rule's name when none is typed any more; the list's observer hears once.
template <typename Wanted>
void TypedNaming::showNames(MachineList& list, Wanted wanted) {
  MachineList::HeldNotifications held(list);
  std::string ruleName;
  for (int row = 0; row < list.count(); ++row) {
    const std::int64_t mac = MacOf(list, row);
    if (mac < 0 || !wanted(mac)) continue;
    if (const std::string* typed = names_.find(mac)) {
      list.setNewName(row, *typed, true);
    } else {
      rule_.newNameInto(list.cellText(row, kMachineNameColumn), ruleName);
      list.setNewName(row, ruleName, false);
    }
  }
}

void TypedNaming::applyAfterLoad(MachineList& list, const RenameRule& rule) {
  rule_ = rule;
  if (names_.empty()) return;
  showNames(list, [this](std::int64_t mac) { return names_.find(mac) != nullptr; });
}

TypedNaming::Typed TypedNaming::type(MachineList& list, int row, std::string_view name) {
  if (row < 0 || row >= list.count()) return Typed::Unchanged;
  if (list.cellText(row, kNewNameColumn) == name) return Typed::Unchanged;
  if (!TypedNames::IsStorableName(name)) return Typed::Refused;
  const std::int64_t mac = MacOf(list, row);
  if (mac < 0) return Typed::NoMac;
  names_.set(mac, name);
  names_.save();
  showNames(list, [mac](std::int64_t other) { return other == mac; });
  return Typed::Kept;
}

int TypedNaming::number(MachineList& list, const Numbering& numbering) {
  if (!TypedNames::IsStorableName(NumberedName(numbering, 0))) return 0;
  std::vector<int> rows = list.selectedRows();
  if (rows.empty())
    for (int row = 0; row < list.count(); ++row) rows.push_back(row);
  std::unordered_set<std::int64_t> numbered;
  for (const int row : rows) {
    const std::int64_t mac = MacOf(list, row);
    if (mac < 0 || !numbered.insert(mac).second) continue;
    names_.set(mac, NumberedName(numbering, static_cast<long long>(numbered.size()) - 1));
  }
  if (numbered.empty()) return 0;
  names_.save();
  showNames(list, [&numbered](std::int64_t mac) { return numbered.contains(mac); });
  return static_cast<int>(numbered.size());
}

int TypedNaming::restore(MachineList& list) {
  std::unordered_set<std::int64_t> dropped;
  for (const int row : list.selectedRows())
    if (const std::int64_t mac = MacOf(list, row); mac >= 0 && names_.drop(mac)) dropped.insert(mac);
  if (dropped.empty()) return 0;
  names_.save();
  showNames(list, [&dropped](std::int64_t mac) { return dropped.contains(mac); });
  return static_cast<int>(dropped.size());
}

}  // namespace venbrook
