#pragma once
// Where the columns of a table laid out with blanks lie, and what its
// heading calls them: as pandas' read_fwf infers its column specs, never by
// splitting each line at blanks.
//
// The data lines of a sample mark every screen column that holds a
// character in any of them: runs of marked columns are the data's runs
// (AddToRuns). A blank column that no data line fills separates two
// columns when it is two blanks wide or more, or when a word of the
// heading or a dash of the rule under it begins within the right one's
// run: H3C's "023b-3818-1fdf 50" is two columns under "MAC address" and
// "VLAN/VSI name", Cisco's "Mar 01 2002 12:00 AM" one under "Lease
// expiration". Runs under one dash of a rule are one column, whatever
// blanks their values hold.
//
// Each word of the heading lines names the column it stands over most. A
// word over no column joins its neighbour one blank away ("Age" of "Age
// (min)" over a number written to the right; "name" of "VLAN/VSI name");
// else it is a column of its own without data (arp -n's "Mask" when no
// entry has one). The lines under the heading add their words to the
// column's name ("Client-ID/" "Hardware address/" "User name" are one).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sources/aligned/line_words.h"

namespace venbrook {

struct Span {
  std::uint32_t left, right;  // screen columns, right excluded
};

// Adds the words' columns to the sorted, merged runs.
void AddToRuns(const std::vector<Word>& words, std::vector<Span>& runs);

// How many columns the words of a line would name, the runs parted as
// the line's own words part them; -1 when a word stands over two columns
// (a title or a total across the table, not a heading).
int ColumnsCovered(const std::vector<Span>& runs, const std::vector<Word>& words);

struct HeadingLine {
  std::string_view text;
  const std::vector<Word>* words;
};

class TableColumns {
 public:
  // From the data's runs, the heading's lines (the heading first, then the
  // lines under it) and the rule under them (empty: none). False when the
  // table would have more than `maxColumns` columns; nothing is kept then.
  bool build(const std::vector<Span>& runs, const std::vector<HeadingLine>& heading, const std::vector<Word>& rule,
             std::size_t maxColumns);

  std::size_t size() const { return spans_.size(); }
  // The heading's words over the column, UTF-8; empty when none are.
  const std::string& name(std::size_t column) const { return names_[column]; }

  // No word of the line stands over two columns.
  bool fits(const std::vector<Word>& words) const;
  // Each word's column: the one it stands over most, else the nearest
  // (the left one of two as near).
  void columnsOf(const std::vector<Word>& words, std::vector<int>& columns) const;

 private:
  void joinData(const std::vector<Span>& runs, const std::vector<HeadingLine>& heading, const std::vector<Word>& rule);
  std::vector<Span> headingOnlySpans(const std::vector<HeadingLine>& heading) const;
  void assignHeading(const HeadingLine& line, std::vector<int>& columns) const;
  void nameColumns(const std::vector<HeadingLine>& heading);

  std::vector<Span> spans_;
  std::vector<std::string> names_;
};

}  // namespace venbrook
