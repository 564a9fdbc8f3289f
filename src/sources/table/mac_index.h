#pragma once
// Machines by their MAC: open addressing in one array, as a table of
// 100,000 rows would otherwise allocate a node per row. A machine's address
// is never 0, which marks a free slot.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace venbrook {

class MacIndex {
 public:
  // The value kept for `mac`, or, when it is new, `value` kept for it and
  // returned: the caller tells the two apart by comparing.
  int findOrAdd(std::int64_t mac, int value) {
    if ((count_ + 1) * 2 > keys_.size()) grow();
    const auto key = static_cast<std::uint64_t>(mac);
    for (std::size_t at = Slot(key, keys_.size());; at = (at + 1) & (keys_.size() - 1)) {
      if (keys_[at] == key) return values_[at];
      if (keys_[at] == 0) {
        keys_[at] = key;
        values_[at] = value;
        ++count_;
        return value;
      }
    }
  }

 private:
  static std::size_t Slot(std::uint64_t key, std::size_t size) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (size - 1);
  }
  void grow() {
    std::vector<std::uint64_t> oldKeys = std::move(keys_);
    std::vector<int> oldValues = std::move(values_);
    const std::size_t size = oldKeys.empty() ? 1024 : oldKeys.size() * 2;
    keys_.assign(size, 0);
    values_.assign(size, 0);
    count_ = 0;
    for (std::size_t at = 0; at < oldKeys.size(); ++at)
      if (oldKeys[at] != 0) findOrAdd(static_cast<std::int64_t>(oldKeys[at]), oldValues[at]);
  }

  std::vector<std::uint64_t> keys_;
  std::vector<int> values_;
  std::size_t count_ = 0;
};

}  // namespace venbrook
