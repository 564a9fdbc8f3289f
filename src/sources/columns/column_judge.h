#pragma once
// One judge of a list's columns for every tabular source: a text list, a
// table of another product's database, a workbook's sheet. A field alone
// rarely says what it is (192.168.100.101 has twelve hex digits once its
// dots are gone, 1717000000 looks like a name, 动态 is text); a column says
// much more. Every column is judged over its values, with its header's
// words as the first vote, not the only one. When the votes do not decide,
// the names stay empty: an honest empty name is worth more than a wrong one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sources/columns/machine_words.h"

namespace venbrook {

// How the cells handed to the judge are encoded.
enum class CellText { Utf8, Gbk };

struct ColumnChoice {
  int mac = -1;        // the MAC column; -1: the source holds no list
  int name = -1;       // the name column; -1: the names stay empty
  int headerRow = -1;  // the row taken for the header (0-based among the rows offered); -1: none
};

class ColumnJudge {
 public:
  // A source whose header, if it has one, is among its first rows: up to
  // kHeaderSearchRows rows are looked at for it (rows offered should not be
  // blank). Only rows that hold a MAC somewhere are judged: a comment, a
  // title or a total is no row of the list.
  explicit ColumnJudge(CellText text = CellText::Utf8);
  // A source whose columns carry names (a database's table): they are the
  // header, and every row offered holds values.
  explicit ColumnJudge(std::vector<std::string> headerUtf8);

  static constexpr int kHeaderSearchRows = 10;

  // The row's next cell, left to right.
  void addCell(std::string_view value);
  void endRow();

  // The columns, once every row (or the sample) has been offered.
  ColumnChoice decide();

  // Whether the column's values (all offered so far) pass as machine names.
  bool columnHoldsNames(int column) const { return holdsNames(column); }

  // How the label names a column: its header, or "第 n 列" (UTF-8).
  std::string columnWordsUtf8(int column) const;
  // The MAC column's values are distinct (within the values looked at).
  bool macsDistinct() const;

 private:
  // What one column's values are, as they are offered.
  struct Tally {
    std::int64_t filled = 0;    // values not blank
    std::int64_t macs = 0;      // MACs in pairs or quads
    std::int64_t bare = 0;      // twelve hexadecimal digits in a row
    bool bareLetter = false;    // one of them held a letter a-f
    std::int64_t notNames = 0;  // MACs of any shape, IPv4 addresses, dates and times
    std::int64_t integers = 0;  // digits alone
    std::vector<std::uint64_t> hashes;  // of the first values, for distinctness
  };

  void tallyCell(int column, std::string_view value);
  void decideHeader();
  HeaderRole roleOf(int column) const;
  bool holdsMacs(int column) const;
  bool holdsNames(int column) const;

  CellText text_;
  bool headerDecided_;
  bool tableHeader_ = false;  // the columns' names were given: every row is judged
  int rowsOffered_ = 0;
  int headerRow_ = -1;
  std::vector<std::string> header_;     // UTF-8
  std::vector<HeaderRole> headerRoles_;
  std::vector<std::vector<std::string>> pending_;  // rows kept while the header is looked for
  std::vector<std::string> row_;                   // the row being offered, once the header is known
  int rowCells_ = 0;  // cells of the row being offered so far
  bool rowHasMac_ = false;
  bool pendingHasMac_ = false;
  std::int64_t dataRows_ = 0;
  std::vector<Tally> tallies_;
  int macColumn_ = -1;
};

}  // namespace venbrook
