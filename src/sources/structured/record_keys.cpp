#include "sources/structured/record_keys.h"

#include "sources/read_bounds.h"

namespace venbrook {

void RecordKeys::startRecord() {
  ++record_;
  previous_ = kNoColumn;
}

int RecordKeys::columnOf(std::string_view key) {
  int column = previous_ == kNoColumn ? first_ : follower_[previous_];
  if (column == kNoColumn || names_[column] != key) {
    const auto found = columns_.find(key);
    if (found != columns_.end()) {
      column = found->second;
    } else {
      if (names_.size() >= kMaxRecordCells) return kNoColumn;
      column = static_cast<int>(names_.size());
      names_.emplace_back(key);
      columns_.emplace(names_.back(), column);
      follower_.push_back(kNoColumn);
      givenInRecord_.push_back(0);
    }
    (previous_ == kNoColumn ? first_ : follower_[previous_]) = column;
  }
  previous_ = column;
  return column;
}

bool RecordKeys::firstInRecord(int column) {
  if (givenInRecord_[column] == record_) return false;
  givenInRecord_[column] = record_;
  return true;
}

}  // namespace venbrook
