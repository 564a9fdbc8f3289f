#pragma once
// The columns of a structured file's records, one per key (a JSON object's
// flattened key, an XML element's path): numbered in the order the keys
// are first met, which makes them the table's header. The same for both
// walks over the file, as the table asks.
//
// Records of one file name their keys in the same order nearly always, so
// the column that followed the previous key last time is tried first: one
// comparison of the key instead of a lookup, and no allocation per value.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace venbrook {

class RecordKeys {
 public:
  // No column: a new key past kMaxRecordCells distinct ones.
  static constexpr int kNoColumn = -1;

  // A record begins.
  void startRecord();
  // The column of `key` (UTF-8), a new one if need be.
  int columnOf(std::string_view key);
  // True the first time `column` is given in the record: a key the record
  // repeats keeps its first value, as an array keeps its first.
  bool firstInRecord(int column);

  const std::vector<std::string>& names() const { return names_; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
  };

  std::vector<std::string> names_;
  std::unordered_map<std::string, int, Hash, std::equal_to<>> columns_;
  std::vector<int> follower_;                // the column met after each one last time
  std::vector<std::uint32_t> givenInRecord_;  // the record a column was last given in
  int first_ = kNoColumn;                     // the first column of the previous record
  int previous_ = kNoColumn;                  // the record's column met last; none at its start
  std::uint32_t record_ = 0;
};

}  // namespace venbrook
