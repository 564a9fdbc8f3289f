#pragma once
// The parts of a workbook that say how to read its sheets: the sheets in
// workbook order with the part each lives in (xl/workbook.xml and its
// relationships), the shared strings (xl/sharedStrings.xml) and which cell
// styles show a number as a date (xl/styles.xml).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sources/read_bounds.h"
#include "sources/workbook/zip_archive.h"

namespace venbrook {

// How reading a part went: Missing only for a part the workbook may lack;
// TooLarge with the bound that was passed.
struct PartRead {
  enum Outcome : std::uint8_t { Read, Missing, Damaged, TooLarge };
  PartRead(Outcome outcome, Bound bound = Bound::InflatedBytes) : outcome(outcome), bound(bound) {}
  bool operator==(Outcome other) const { return outcome == other; }

  Outcome outcome;
  Bound bound;  // which, when TooLarge
};

struct SheetEntry {
  std::string name;  // UTF-8, as the sheet's tab shows it
  std::string part;  // its entry in the archive, e.g. "xl/worksheets/sheet1.xml"
  bool hidden = false;
};

struct WorkbookIndex {
  std::vector<SheetEntry> sheets;  // worksheets in workbook order, hidden ones last
  std::string sharedStringsPart, stylesPart;  // empty when the workbook has none
  bool system1904 = false;                    // dates counted from 1904
};

// Every string of xl/sharedStrings.xml (rich text runs joined, phonetic
// runs left out, cleaned as CleanCellText does), kept in one buffer; one
// of more than a megabyte is past Bound::RecordBytes.
class SharedStrings {
 public:
  std::size_t count() const { return ends_.size(); }
  // The string of that index; empty for an index past the end.
  std::string_view at(std::size_t index) const {
    if (index >= ends_.size()) return {};
    const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
  }
  void add(std::string_view text) {
    text_ += text;
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  }
  // Frees the strings (a moved-in empty string may keep the old buffer).
  void release() {
    std::string().swap(text_);
    std::vector<std::uint32_t>().swap(ends_);
  }
  // Room for the strings of a part of that many bytes, made once so that
  // the buffers never double (and hold two copies) while they fill; room
  // never filled is never touched and costs no memory.
  void reserveFor(std::uint64_t partBytes) {
    text_.reserve(partBytes);
    ends_.reserve(partBytes / 16);  // "<si><t></t></si>" at the least
  }

 private:
  std::string text_;
  std::vector<std::uint32_t> ends_;
};

// For each cell style (the `s` of a cell), whether it shows numbers as dates.
class DateStyles {
 public:
  bool isDate(std::size_t style) const { return style < date_.size() && date_[style]; }
  void add(bool date) { date_.push_back(date); }

 private:
  std::vector<bool> date_;
};

// Parses a part's XML through `handler` as the archive inflates it.
class XmlHandler;
PartRead ReadXmlPart(ZipArchive& archive, std::string_view part, InflateBudget& budget, XmlHandler& handler);

PartRead ReadWorkbookIndex(ZipArchive& archive, InflateBudget& budget, WorkbookIndex& index);
PartRead ReadSharedStrings(ZipArchive& archive, std::string_view part, InflateBudget& budget, SharedStrings& strings);
PartRead ReadDateStyles(ZipArchive& archive, std::string_view part, InflateBudget& budget, DateStyles& styles);

// A relationship's target as an entry name: relative to xl/, or from the
// archive's root when it starts with '/'; "." and ".." resolved.
std::string PartOfTarget(std::string_view target);

}  // namespace venbrook
