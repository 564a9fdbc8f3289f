#include "sources/workbook/workbook.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sources/workbook/sheet_grid.h"
#include "sources/workbook/workbook_parts.h"
#include "sources/workbook/zip_archive.h"

namespace venbrook {
namespace {

void Fail(PartRead part, TableRead& read) {
  read.outcome = part == PartRead::TooLarge ? TableRead::Outcome::TooLarge : TableRead::Outcome::Damaged;
  read.bound = part.bound;
}

// A part the workbook's relationships name must be there.
PartRead Required(PartRead read) { return read == PartRead::Missing ? PartRead::Damaged : read; }

// A sheet's rows as records, each numbered as Excel shows it.
class SheetLayout final : public TableLayout {
 public:
  explicit SheetLayout(const SheetGrid& grid) : grid_(grid) {}

  // Only the cells a row holds, each in its column: a sparse sheet is not
  // padded with the empty cells between.
  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    for (int row = 0; row < grid_.rowCount(); ++row) {
      const int cells = grid_.cellCount(row);
      for (int index = 0; index < cells; ++index) {
        const SheetGrid::CellAt cell = grid_.cellAt(row, index);
        visitor.cell(cell.column, cell.text);
      }
      if (!visitor.endRecord(grid_.rowNumber(row))) return {LayoutEnd::How::Stopped};
    }
    return {};
  }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "工作簿"; }

 private:
  const SheetGrid& grid_;
};

// The cells of the judged columns of every row, in one buffer with the
// sheet's row numbers: what the list is made from, once the sheet and its
// shared strings are freed. The header row is left out; a row above it
// keeps its place and number, without cells, to be counted as skipped.
class PickedRows final : public TableLayout {
 public:
  PickedRows(const SheetGrid& grid, const ColumnChoice& choice) {
    for (const int column : {choice.mac, choice.name, choice.state, choice.adapter, choice.clientId, choice.nameElse})
      if (column >= 0 && std::find(columns_.begin(), columns_.end(), column) == columns_.end()) columns_.push_back(column);
    std::size_t bytes = 0;
    for (int row = choice.headerRow + 1; row < grid.rowCount(); ++row)
      for (const int column : columns_) bytes += grid.cell(row, column).size();
    text_.reserve(bytes);
    ends_.reserve(columns_.size() * static_cast<std::size_t>(grid.rowCount()));
    numbers_.reserve(static_cast<std::size_t>(grid.rowCount()));
    for (int row = 0; row < grid.rowCount(); ++row) {
      if (row == choice.headerRow) continue;
      for (const int column : columns_) {
        if (row > choice.headerRow) text_ += grid.cell(row, column);
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
      }
      numbers_.push_back(grid.rowNumber(row));
    }
  }

  // The judgement of the sheet, for these rows' columns.
  TableJudgement remapped(TableJudgement judgement) const {
    ColumnChoice& choice = judgement.choice;
    for (int* column : {&choice.mac, &choice.name, &choice.state, &choice.adapter, &choice.clientId, &choice.nameElse})
      if (*column >= 0) *column = static_cast<int>(std::find(columns_.begin(), columns_.end(), *column) - columns_.begin());
    choice.headerRow = -1;  // left out of the rows picked
    return judgement;
  }

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    const std::size_t picked = columns_.size();
    for (std::size_t row = 0; row < numbers_.size(); ++row) {
      for (std::size_t column = 0; column < picked; ++column) visitor.cell(static_cast<int>(column), field(picked * row + column));
      if (!visitor.endRecord(numbers_[row])) return {LayoutEnd::How::Stopped};
    }
    return {};
  }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "工作簿"; }

  std::size_t count() const { return numbers_.size(); }
  std::size_t textBytes() const { return text_.size(); }

 private:
  std::string_view field(std::size_t index) const {
    const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
  }

  std::vector<int> columns_;  // the sheet's columns the judgement chose, each once
  std::string text_;
  std::vector<std::uint32_t> ends_;
  std::vector<int> numbers_;
};

constexpr std::size_t kMacTextBytes = 17;  // 00-1A-2B-3C-4D-5E

}  // namespace

WorkbookRead ReadWorkbook(std::string bytes, RowSink& sink) {
  WorkbookRead read;
  SharedStrings shared;
  std::unique_ptr<SheetGrid> grid;
  TableJudgement judgement;
  {
    ZipArchive archive(bytes);
    if (!archive.isOpen()) {
      read.table.outcome = TableRead::Outcome::Damaged;
      return read;
    }
    if (!archive.has("[Content_Types].xml") || !archive.has("xl/workbook.xml")) return read;  // a zip of other things

    InflateBudget budget;
    WorkbookIndex index;
    DateStyles styles;
    PartRead part = ReadWorkbookIndex(archive, budget, index);
    if (part == PartRead::Read) part = Required(ReadSharedStrings(archive, index.sharedStringsPart, budget, shared));
    if (part == PartRead::Read) part = Required(ReadDateStyles(archive, index.stylesPart, budget, styles));
    for (std::size_t sheet = 0; part == PartRead::Read && sheet < index.sheets.size(); ++sheet) {
      grid = std::make_unique<SheetGrid>(shared);
      part = ReadSheetGrid(archive, index.sheets[sheet].part, budget, styles, index.system1904, *grid);
      if (part != PartRead::Read) break;
      SheetLayout layout(*grid);
      judgement = JudgeTable(layout);
      if (judgement.outcome == TableRead::Outcome::NoList) continue;
      read.sheet = index.sheets[sheet].name;
      break;
    }
    if (part != PartRead::Read) {
      Fail(part, read.table);
      return read;
    }
  }
  if (judgement.outcome != TableRead::Outcome::Loaded) {
    read.table.outcome = judgement.outcome;
    read.table.bound = judgement.bound;
    return read;
  }
  // The list grows only once the archive's bytes, the sheet and the shared
  // strings are gone: the largest of them is about the list's size.
  std::string().swap(bytes);
  PickedRows rows(*grid, judgement.choice);
  grid.reset();
  shared.release();
  // The list keeps each name twice (as read and renamed, GBK being no
  // longer than UTF-8) and each MAC in its 17 characters: about what the
  // rows hold, so the list is made once at about its size.
  sink.expect(rows.count(), 2 * rows.textBytes() + 2 * kMacTextBytes * rows.count());
  read.table = ReadTableRows(rows, rows.remapped(judgement), sink);
  return read;
}

}  // namespace venbrook
