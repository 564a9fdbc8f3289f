#pragma once
// The tables laid out with blanks in a text, and their records: a switch's,
// a router's or a computer's output copied from a terminal, one table or
// several (Windows's arp -a prints one an interface; a file may hold the
// outputs of several switches one after the other).
//
// A table begins with its heading: the line with the most columns named
// among the lines just above its first line with a MAC (after the last
// blank line or prompt), whose words stand each over one column of the
// data; the lines between it and the data that name columns too belong to
// it, a rule under it is no row. A title, a legend ("Type: S-Static
// D-Dynamic"), the command or "Interface: … --- 0xb" above it are not.
// The data's columns come from the sample of data lines under the heading
// (table_columns.h).
//
// Every line of the table is a record, handed over cut at the columns,
// and told by its line number: a line with no MAC among them is still a
// record, so that it counts as a line skipped. The table ends at a prompt,
// a rule, a total ("Total entries: 2"), its own heading again, a line that
// has no MAC and stands across its columns, or a blank line not followed by
// a data line of the same columns. Within it:
//   - a line whose first column is empty and that holds no MAC goes on
//     with the record above (Cisco's client ids and Huawei's VLANs written
//     on a second line);
//   - a value cut short by its column ("vEthernet (Default Swi...") is no
//     value;
//   - RouterOS's comment lines (";;; A01") are no records: each is handed
//     over with the record after it.
// Lines outside every table are no records, except a line that holds a MAC:
// handed over with no cells, it counts as a skipped line, never lost
// unseen. Pager prompts and terminal escapes are drawn out first
// (shown_line.h).
#include <string>
#include <string_view>
#include <vector>

#include "sources/aligned/table_columns.h"
#include "sources/table/table_layout.h"

namespace venbrook {

struct AlignedTable {
  TableColumns columns;
  // RouterOS's print: the first column "#" holds each entry's number and
  // flags ("1 D"), comments stand before their entries.
  bool routerOs = false;
  // The first data line holds a MAC as a value of its own, in a line not
  // parted by tabs (a TSV list is the delimited reader's).
  bool macAlone = false;
  // Windows's "Interface: … --- 0x4" stands above the heading, or the
  // prompt before the table ran a command of ARP or neighbours.
  bool arpCommand = false;
};

struct AlignedCell {
  int column;  // of the table's columns
  std::string_view value;
};

struct AlignedRecord {
  int line;
  const std::vector<AlignedCell>& cells;
  // RouterOS's comment before the entry; empty when none.
  std::string_view comment;
};

class AlignedSink {
 public:
  // A table begins; its columns hold until the next one. False: stop.
  virtual bool table(const AlignedTable& table) = 0;
  // False: stop.
  virtual bool record(const AlignedRecord& record) = 0;

 protected:
  ~AlignedSink() = default;
};

// The tables of the text and their records, in the text's order. Done,
// Stopped when the sink says so, TooLarge past a line of kMaxRecordBytes
// (or a record that long) or a table of more than kMaxRecordCells columns.
LayoutEnd WalkAlignedTables(std::string_view text, AlignedSink& sink);

}  // namespace venbrook
