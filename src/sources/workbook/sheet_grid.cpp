#include "sources/workbook/sheet_grid.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>

#include "sources/workbook/cell_text.h"
#include "sources/workbook/xml_stream.h"

namespace venbrook {
namespace {

constexpr int kLastRow = 1048576, kLastColumn = 16384;  // Excel's sheet: A1 to XFD1048576

// The column of a reference such as "C5" (0-based), -1 when it names none;
// a column past XFD is kLastColumn, whatever its letters.
int ColumnOf(std::string_view reference) {
  int column = 0;
  std::size_t at = 0;
  for (; at < reference.size() && reference[at] >= 'A' && reference[at] <= 'Z'; ++at)
    column = std::min(column * 26 + (reference[at] - 'A' + 1), kLastColumn + 1);
  return at == 0 ? -1 : column - 1;
}

// What a cell's `t` says its value is; a number without one.
enum class CellType { Number, Shared, Boolean, Text };

CellType TypeOf(std::string_view t) {
  if (t == "s") return CellType::Shared;
  if (t == "b") return CellType::Boolean;
  if (t == "n") return CellType::Number;
  return CellType::Text;  // inlineStr, str (a formula's text), e (an error such as #N/A), d
}

int PositiveNumber(std::string_view text, int largest) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() && number >= 1 && number <= largest ? number : -1;
}

// A cell's style: an index into the cell formats; one past any for junk.
std::size_t StyleIndex(std::string_view text) {
  std::size_t index = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  return error == std::errc() && end == text.data() + text.size() ? index : SIZE_MAX;
}

// <sheetData> holds <row r="5"> holding <c r="C5" t="s" s="3"><v>12</v></c>;
// an inline string is <c t="inlineStr"><is><t>..</t></is></c>, or runs
// <is><r><t>..</t></r>..</is>. A row or cell without its reference follows
// the one before it.
class SheetHandler : public XmlHandler {
 public:
  SheetHandler(SheetGrid& grid, const DateStyles& styles, bool system1904)
      : grid_(grid), styles_(styles), system1904_(system1904) {}

  bool damaged() const { return damaged_; }
  // The bound the sheet passed, if it did.
  const std::optional<Bound>& exceeded() const { return exceeded_; }

  void start(std::string_view name, const XmlAttributes& attributes) override {
    if (damaged_) return;
    if (name == "row") {
      if (++rows_ > kMaxRecords) return exceed(Bound::Records);
      const char* reference = attributes.find("r");
      const int number = reference ? PositiveNumber(reference, kLastRow) : rowNumber_ + 1;
      if (number < 1 || number > kLastRow) return fail();
      rowNumber_ = number;
      column_ = -1;
      rowCells_ = 0;
      rowBytes_ = 0;
      grid_.beginRow(number);
      inRow_ = true;
    } else if (name == "c" && inRow_) {
      if (++rowCells_ > kMaxRecordCells) return exceed(Bound::RecordCells);
      int column = column_ + 1;
      std::size_t style = 0;
      type_ = CellType::Number;
      attributes.forEach([&](std::string_view name, const char* value) {
        if (name == "r") column = ColumnOf(value);
        else if (name == "t") type_ = TypeOf(value);
        else if (name == "s") style = StyleIndex(value);
      });
      if (column < 0) return fail();
      if (column >= kLastColumn) return exceed(Bound::RecordCells);
      column_ = column;
      dateStyle_ = styles_.isDate(style);
      value_.clear();
      inCell_ = true;
    } else if (inCell_ && (name == "v" || name == "t")) {
      collecting_ = phonetic_ == 0;
    } else if (name == "rPh") {
      ++phonetic_;
    }
  }

  void end(std::string_view name) override {
    if (damaged_) return;
    if (name == "v" || name == "t") {
      collecting_ = false;
    } else if (name == "rPh") {
      --phonetic_;
    } else if (name == "c" && inCell_) {
      inCell_ = false;
      addCell();
    } else if (name == "row" && inRow_) {
      inRow_ = false;
      grid_.endRow();
      if (grid_.spannedCells() > kMaxInflatedBytes) exceed(Bound::InflatedBytes);
    }
  }

  void text(std::string_view piece) override {
    if (!collecting_) return;
    if (value_.size() + piece.size() > kMaxRecordBytes) return exceed(Bound::RecordBytes);
    value_ += piece;
  }

 private:
  void fail() { damaged_ = true; }
  void exceed(Bound bound) {
    exceeded_ = bound;
    stop();
  }

  void addCell() {
    if (type_ == CellType::Shared) {
      std::size_t index = 0;
      const auto [end, error] = std::from_chars(value_.data(), value_.data() + value_.size(), index);
      if (error == std::errc() && end == value_.data() + value_.size()) add(column_, index);
      return;
    }
    if (type_ == CellType::Boolean) {
      if (!value_.empty()) add(column_, value_ == "0" ? "FALSE" : "TRUE");
      return;
    }
    if (type_ == CellType::Number && dateStyle_) {
      const std::string date = SerialDateText(value_, system1904_);
      add(column_, date.empty() ? std::string_view(value_) : std::string_view(date));
      return;
    }
    CleanCellText(value_);
    add(column_, value_);
  }

  // A cell's text, counted against its row's bytes.
  void add(int column, std::string_view text) {
    if (!count(text.size())) return;
    grid_.addText(column, text);
  }
  void add(int column, std::size_t sharedIndex) {
    if (!count(grid_.sharedText(sharedIndex).size())) return;
    grid_.addShared(column, sharedIndex);
  }
  bool count(std::size_t bytes) {
    rowBytes_ += bytes;
    if (rowBytes_ <= kMaxRecordBytes) return true;
    exceed(Bound::RecordBytes);
    return false;
  }

  SheetGrid& grid_;
  const DateStyles& styles_;
  const bool system1904_;
  bool damaged_ = false, inRow_ = false, inCell_ = false, collecting_ = false, dateStyle_ = false;
  int rowNumber_ = 0, column_ = -1, phonetic_ = 0;
  std::uint64_t rows_ = 0, rowCells_ = 0, rowBytes_ = 0;
  std::optional<Bound> exceeded_;
  CellType type_ = CellType::Number;
  std::string value_;
};

}  // namespace

int SheetGrid::width(int row) const {
  const std::uint32_t last = end(row);
  return last == rows_[row].firstCell ? 0 : static_cast<int>(cells_[last - 1].column) + 1;
}

std::string_view SheetGrid::textOf(const Cell& cell) const {
  if (cell.shared) return shared_.at(cell.at);
  std::uint32_t size = 0;
  std::memcpy(&size, own_.data() + cell.at, sizeof size);
  return std::string_view(own_).substr(cell.at + sizeof size, size);
}

std::string_view SheetGrid::cell(int row, int column) const {
  const auto first = cells_.begin() + rows_[row].firstCell, last = cells_.begin() + end(row);
  const auto found = std::lower_bound(first, last, column, [](const Cell& cell, int c) {
    return static_cast<int>(cell.column) < c;
  });
  return found != last && static_cast<int>(found->column) == column ? textOf(*found) : std::string_view{};
}

SheetGrid::CellAt SheetGrid::cellAt(int row, int index) const {
  const Cell& cell = cells_[rows_[row].firstCell + static_cast<std::uint32_t>(index)];
  return {static_cast<int>(cell.column), textOf(cell)};
}

void SheetGrid::reserveFor(std::uint64_t partBytes) {
  cells_.reserve(partBytes / 20);  // <c r="A1"><v>0</v></c>
  rows_.reserve(partBytes / 40);   // <row r="1"> and a cell
}

void SheetGrid::beginRow(int number) { rows_.push_back({number, static_cast<std::uint32_t>(cells_.size())}); }

void SheetGrid::addText(int column, std::string_view text) {
  if (text.empty()) return;
  cells_.push_back({static_cast<std::uint32_t>(column), 0, static_cast<std::uint32_t>(own_.size())});
  const auto size = static_cast<std::uint32_t>(text.size());
  own_.append(reinterpret_cast<const char*>(&size), sizeof size);
  own_ += text;
}

void SheetGrid::addShared(int column, std::size_t index) {
  if (shared_.at(index).empty()) return;
  cells_.push_back({static_cast<std::uint32_t>(column), 1, static_cast<std::uint32_t>(index)});
}

void SheetGrid::endRow() {
  const auto first = cells_.begin() + rows_.back().firstCell;
  // A row without text is none.
  if (first == cells_.end()) return rows_.pop_back();
  // Cells in column order, as every writer puts them; of two in one column
  // the first written counts.
  const auto byColumn = [](const Cell& a, const Cell& b) { return a.column < b.column; };
  if (!std::is_sorted(first, cells_.end(), byColumn)) std::stable_sort(first, cells_.end(), byColumn);
  cells_.erase(std::unique(first, cells_.end(), [](const Cell& a, const Cell& b) { return a.column == b.column; }),
               cells_.end());
  spannedCells_ += static_cast<std::uint64_t>(cells_.back().column) + 1;
}

PartRead ReadSheetGrid(ZipArchive& archive, std::string_view part, InflateBudget& budget, const DateStyles& styles,
                       bool system1904, SheetGrid& grid) {
  grid.reserveFor(std::min(archive.declaredSize(part), budget.bytesLeft));
  SheetHandler handler(grid, styles, system1904);
  const PartRead read = ReadXmlPart(archive, part, budget, handler);
  if (handler.exceeded()) return PartRead(PartRead::TooLarge, *handler.exceeded());
  if (read == PartRead::Read && handler.damaged()) return PartRead::Damaged;
  return read == PartRead::Missing ? PartRead::Damaged : read;
}

}  // namespace venbrook
