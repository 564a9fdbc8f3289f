#include "model/machine_list.h"

#include <algorithm>

namespace venbrook {

void MachineList::clear() {
  text_.clear();
  rows_.clear();
  liveTextBytes_ = 0;
  selectedCount_ = 0;
  if (observer_) observer_->rowsReset();
}

void MachineList::clearAndRelease() {
  std::string().swap(text_);
  std::vector<Row>().swap(rows_);
  liveTextBytes_ = 0;
  selectedCount_ = 0;
  if (observer_) observer_->rowsReset();
}

int MachineList::append(std::string_view machineName, std::string_view newName, std::string_view macText) {
  const int index = appendQuietly(machineName, newName, macText);
  endBulkAppend();
  return index;
}

void MachineList::reserve(std::size_t rows, std::size_t textBytes) {
  rows_.reserve(rows);
  text_.reserve(textBytes);
}

int MachineList::appendQuietly(std::string_view machineName, std::string_view newName,
                               std::string_view macText) {
  return appendCells({machineName, newName, macText});
}

int MachineList::appendCells(const Cells& cells) {
  Row row{text_.size(), {}, false};
  for (int column = 0; column < kColumnCount; ++column) {
    row.length[column] = static_cast<std::uint32_t>(cells[column].size());
    text_.append(cells[column]);
  }
  liveTextBytes_ += TextBytes(row);
  rows_.push_back(row);
  return count() - 1;
}

void MachineList::endBulkAppend() {
  if (observer_) observer_->rowsReset();
}

void MachineList::setSelected(int index, bool selected) {
  Row& row = rows_[index];
  if (row.selected == selected) return;
  row.selected = selected;
  selectedCount_ += selected ? 1 : -1;
  if (observer_) observer_->selectionChanged(index);
}

int MachineList::firstSelected() const {
  if (selectedCount_ == 0) return -1;
  const auto found = std::find_if(rows_.begin(), rows_.end(), [](const Row& row) { return row.selected; });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

std::vector<int> MachineList::selectedRows() const {
  std::vector<int> indices;
  indices.reserve(selectedCount_);
  for (int i = 0; i < count() && static_cast<int>(indices.size()) < selectedCount_; ++i)
    if (rows_[i].selected) indices.push_back(i);
  return indices;
}

void MachineList::remove(int index) {
  const Row& row = rows_[index];
  liveTextBytes_ -= TextBytes(row);
  if (row.selected) --selectedCount_;
  rows_.erase(rows_.begin() + index);
  compactTextIfSparse();
  if (observer_) observer_->rowRemoved(index);
}

void MachineList::selectAll() {
  for (Row& row : rows_) row.selected = true;
  selectedCount_ = count();
  if (observer_) observer_->selectionChanged(-1);
}

void MachineList::invertSelection() {
  for (Row& row : rows_) row.selected = !row.selected;
  selectedCount_ = count() - selectedCount_;
  if (observer_) observer_->selectionChanged(-1);
}

void MachineList::removeSelected() {
  if (selectedCount_ == 0) return;
  std::erase_if(rows_, [this](const Row& row) {
    if (row.selected) liveTextBytes_ -= TextBytes(row);
    return row.selected;
  });
  selectedCount_ = 0;
  compactTextIfSparse();
  if (observer_) observer_->rowsReset();
}

std::size_t MachineList::TextBytes(const Row& row) {
  std::size_t bytes = 0;
  for (std::uint32_t length : row.length) bytes += length;
  return bytes;
}

// Deleted rows leave their texts behind; once most of the buffer is dead,
// copy the live texts into a fresh one so memory follows the rows.
void MachineList::compactTextIfSparse() {
  if (text_.size() < 4096 || liveTextBytes_ * 2 > text_.size()) return;
  std::string live;
  live.reserve(liveTextBytes_);
  for (Row& row : rows_) {
    const std::size_t length = TextBytes(row);
    const std::uint64_t start = live.size();
    live.append(text_, row.start, length);
    row.start = start;
  }
  text_.swap(live);
}

}  // namespace venbrook
