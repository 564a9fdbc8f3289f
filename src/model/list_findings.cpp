#include "model/list_findings.h"

#include <algorithm>
#include <bit>

#include "model/gbk_text.h"

namespace venbrook {
namespace {

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

// Rows are checked in batches: the keys of a batch are worked out and their
// slots asked into the cache first, so that the slots' cache misses (the
// tables for 100,000 rows are larger than the processor's nearer caches)
// overlap instead of being waited for one after the other.
constexpr int kBatchRows = 16;

void PrefetchForWriting(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(address, 1);
#else
  (void)address;
#endif
}


// FNV-1a of the name as EqualIgnoringAsciiCase sees it: single-byte
// characters upper-cased, double-byte characters as they are. Names equal
// under that comparison hash alike.
std::uint64_t NewNameHash(std::string_view name) {
  std::uint64_t hash = kFnvOffset;
  for (std::size_t at = 0; at < name.size();) {
    if (CharacterLength(name, at) == 2) {
      hash = (hash ^ static_cast<unsigned char>(name[at])) * kFnvPrime;
      hash = (hash ^ static_cast<unsigned char>(name[at + 1])) * kFnvPrime;
      at += 2;
    } else {
      hash = (hash ^ static_cast<unsigned char>(AsciiUpper(name[at]))) * kFnvPrime;
      ++at;
    }
  }
  return hash;
}

}  // namespace

void ListFindings::prepareTables(int rows) {
  // At most half full, so a probe rarely walks past its first slot.
  const std::uint64_t wanted = std::bit_ceil(std::max<std::uint64_t>(16, 2 * static_cast<std::uint64_t>(rows)));
  shift_ = 64 - std::countr_zero(wanted);
  slotMask_ = wanted - 1;
  macSlots_.assign(wanted, Slot{0, -1});
  newNameSlots_.assign(wanted, Slot{0, -1});
}

// The first row whose key hashes to `hash` and is the same as `row`'s, or
// `row` itself, entered as the first of its key.
template <typename SameKey>
int ListFindings::firstWithKey(std::vector<Slot>& slots, std::uint64_t hash, int row, SameKey sameKey) const {
  const auto tag = static_cast<std::uint32_t>(hash);
  for (std::uint64_t index = slotIndex(hash);; index = (index + 1) & slotMask_) {
    Slot& slot = slots[index];
    if (slot.row < 0) {
      slot = {tag, row};
      return row;
    }
    if (slot.tag == tag && sameKey(slot.row)) return slot.row;
  }
}

void ListFindings::notePair(std::vector<std::int32_t>& partners, Finding finding, int first, int row) {
  flags_[row] |= finding;
  partners[row] = first;
  if (partners[first] < 0) partners[first] = row;
  flags_[first] |= finding;
}

void ListFindings::checkRow(const MachineList& list, int row, std::int64_t mac, std::uint64_t newNameHash) {
  if (mac < 0) {
    flags_[row] |= kMacInvalid;
  } else {
    const int first = firstWithKey(macSlots_, static_cast<std::uint64_t>(mac), row,
                                   [&](int other) { return MacNumber(list.cellText(other, kMacColumn)) == mac; });
    if (first != row) notePair(macPartner_, kMacRepeated, first, row);
  }

  const std::string_view newName = list.cellText(row, kNewNameColumn);
  if (newName.empty()) {
    flags_[row] |= kNewNameEmpty;
  } else {
    const int first = firstWithKey(newNameSlots_, newNameHash, row, [&](int other) {
      return EqualIgnoringAsciiCase(newName, list.cellText(other, kNewNameColumn));
    });
    if (first != row) notePair(newNamePartner_, kNewNameRepeated, first, row);
  }
}

void ListFindings::recompute(const MachineList& list) {
  const int rows = list.count();
  flags_.assign(rows, 0);
  macPartner_.assign(rows, -1);
  newNamePartner_.assign(rows, -1);
  prepareTables(rows);

  std::int64_t macs[kBatchRows];
  std::uint64_t newNameHashes[kBatchRows];
  for (int start = 0; start < rows; start += kBatchRows) {
    const int end = std::min(rows, start + kBatchRows);
    for (int row = start; row < end; ++row) {
      const std::int64_t mac = macs[row - start] = MacNumber(list.cellText(row, kMacColumn));
      if (mac >= 0) PrefetchForWriting(&macSlots_[slotIndex(static_cast<std::uint64_t>(mac))]);
      const std::uint64_t hash = newNameHashes[row - start] = NewNameHash(list.cellText(row, kNewNameColumn));
      PrefetchForWriting(&newNameSlots_[slotIndex(hash)]);
    }
    for (int row = start; row < end; ++row) checkRow(list, row, macs[row - start], newNameHashes[row - start]);
  }

  for (int& count : counts_) count = 0;
  rowsWithAny_ = 0;
  for (const std::uint8_t flags : flags_) {
    for (int bit = 0; bit < 4; ++bit) counts_[bit] += (flags >> bit) & 1;
    rowsWithAny_ += flags != 0;
  }
}

int ListFindings::rowsWith(Finding finding) const {
  return counts_[std::countr_zero(static_cast<unsigned>(finding))];
}

}  // namespace venbrook
