#pragma once
// The mistakes in a machine list that the 网吧 platform's import would take
// in unseen: one machine is one MAC and one seat name there.
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/mac_address.h"
#include "model/machine_list.h"

namespace venbrook {

// What is wrong with one row; several may hold at once.
enum Finding : std::uint8_t {
  kMacRepeated = 1,      // another row has the same MAC
  kMacInvalid = 2,       // not a MAC by the rule of mac_address.h
  kNewNameRepeated = 4,  // another row has the same new name
  kNewNameEmpty = 8,
};

// The findings of every row of a list, as of the last `recompute`. An invalid
// MAC is never counted as repeated, nor an empty new name: each has its own
// finding. New names compare with ASCII letters in either case and
// double-byte characters exactly.
class ListFindings {
 public:
  // One pass over the rows through two hash tables; no allocation per row,
  // and none at all once the tables have grown to the list's size.
  void recompute(const MachineList& list);

  int rowCount() const { return static_cast<int>(flags_.size()); }
  // The row's findings, 0 when it has none or lies outside the list checked.
  unsigned of(int row) const { return row >= 0 && row < rowCount() ? flags_[row] : 0u; }
  // The first other row with the same MAC / new name, or -1.
  int macPartner(int row) const { return partnerIn(macPartner_, row); }
  int newNamePartner(int row) const { return partnerIn(newNamePartner_, row); }

  int rowsWith(Finding finding) const;
  int rowsWithAny() const { return rowsWithAny_; }

 private:
  struct Slot {
    std::uint32_t tag;  // low bits of the key's hash; the high ones chose the slot
    std::int32_t row;   // first row with the key; -1: free
  };
  int partnerIn(const std::vector<std::int32_t>& partners, int row) const {
    return row >= 0 && row < rowCount() ? partners[row] : -1;
  }
  void prepareTables(int rows);
  std::uint64_t slotIndex(std::uint64_t hash) const { return (hash * 0x9E3779B97F4A7C15ull) >> shift_; }
  void checkRow(const MachineList& list, int row, std::int64_t mac, std::uint64_t newNameHash);
  template <typename SameKey>
  int firstWithKey(std::vector<Slot>& slots, std::uint64_t hash, int row, SameKey sameKey) const;
  void notePair(std::vector<std::int32_t>& partners, Finding finding, int first, int row);

  std::vector<std::uint8_t> flags_;
  std::vector<std::int32_t> macPartner_, newNamePartner_;
  std::vector<Slot> macSlots_, newNameSlots_;
  std::uint64_t slotMask_ = 0;
  int shift_ = 64;
  int counts_[4] = {};
  int rowsWithAny_ = 0;
};

}  // namespace venbrook
