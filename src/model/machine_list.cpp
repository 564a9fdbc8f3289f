#include "model/machine_list.h"

#include <algorithm>

namespace venbrook {

template <typename Tell>
void MachineList::tell(Tell tellObserver) {
  if (observer_ == nullptr) return;
  if (holds_ > 0) {
    heldChange_ = true;
    return;
  }
  tellObserver(*observer_);
}

MachineList::HeldNotifications::~HeldNotifications() {
  if (--list_.holds_ > 0 || !list_.heldChange_) return;
  list_.heldChange_ = false;
  list_.tell([](MachineListObserver& observer) { observer.rowsReset(); });
}

void MachineList::clear() {
  text_.clear();
  rows_.clear();
  liveTextBytes_ = 0;
  selectedCount_ = 0;
  typedCount_ = 0;
  tell([](MachineListObserver& observer) { observer.rowsReset(); });
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
  Row row{text_.size(), {}, false, false};
  for (int column = 0; column < kColumnCount; ++column) {
    row.length[column] = static_cast<std::uint32_t>(cells[column].size());
    text_.append(cells[column]);
  }
  liveTextBytes_ += TextBytes(row);
  rows_.push_back(row);
  return count() - 1;
}

void MachineList::endBulkAppend() {
  tell([](MachineListObserver& observer) { observer.rowsReset(); });
}

void MachineList::setSelected(int index, bool selected) {
  Row& row = rows_[index];
  if (row.selected == selected) return;
  row.selected = selected;
  selectedCount_ += selected ? 1 : -1;
  tell([index](MachineListObserver& observer) { observer.selectionChanged(index); });
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
  if (row.typed) --typedCount_;
  rows_.erase(rows_.begin() + index);
  compactTextIfSparse();
  tell([index](MachineListObserver& observer) { observer.rowRemoved(index); });
}

// The row's three texts are written anew at the end of the buffer, the new
// name between the other two; the old ones are dead text until the buffer
// is compacted.
void MachineList::setNewName(int index, std::string_view newName, bool typed) {
  Row& row = rows_[index];
  const std::size_t oldBytes = TextBytes(row);
  const std::size_t bytes = oldBytes - row.length[kNewNameColumn] + newName.size();
  // The name may lie in the buffer itself (another row's cell): kept by its
  // place, which growing the buffer does not move.
  const char* begin = text_.data();
  const bool inBuffer = newName.data() >= begin && newName.data() < begin + text_.size();
  const std::size_t nameAt = inBuffer ? static_cast<std::size_t>(newName.data() - begin) : 0;
  if (text_.capacity() < text_.size() + bytes) text_.reserve(std::max(text_.size() + bytes, 2 * text_.capacity()));
  if (inBuffer) newName = std::string_view(text_.data() + nameAt, newName.size());

  const std::uint64_t start = text_.size();
  text_.append(text_.data() + row.start, row.length[kMachineNameColumn]);
  text_.append(newName);
  text_.append(text_.data() + row.start + row.length[kMachineNameColumn] + row.length[kNewNameColumn],
               row.length[kMacColumn]);
  row.start = start;
  row.length[kNewNameColumn] = static_cast<std::uint32_t>(newName.size());
  liveTextBytes_ += bytes - oldBytes;
  typedCount_ += static_cast<int>(typed) - static_cast<int>(row.typed);
  row.typed = typed;
  compactTextIfSparse();
  tell([index](MachineListObserver& observer) { observer.rowChanged(index); });
}

void MachineList::selectAll() {
  for (Row& row : rows_) row.selected = true;
  selectedCount_ = count();
  tell([](MachineListObserver& observer) { observer.selectionChanged(-1); });
}

void MachineList::invertSelection() {
  for (Row& row : rows_) row.selected = !row.selected;
  selectedCount_ = count() - selectedCount_;
  tell([](MachineListObserver& observer) { observer.selectionChanged(-1); });
}

void MachineList::removeSelected() {
  if (selectedCount_ == 0) return;
  std::erase_if(rows_, [this](const Row& row) {
    if (row.selected) {
      liveTextBytes_ -= TextBytes(row);
      typedCount_ -= row.typed;
    }
    return row.selected;
  });
  selectedCount_ = 0;
  compactTextIfSparse();
  tell([](MachineListObserver& observer) { observer.rowsReset(); });
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
