#pragma once
// One judge of a list's columns for every tabular source: fields between
// separators, an aligned table, blocks, JSON, XML, a database's table, a
// sheet. A field alone rarely says what it is (192.168.100.101 has twelve
// hex digits once its dots are gone, 1717000000 looks like a name, 动态 is
// text); a column says much more. Values decide: the MAC column is the one
// whose values are MACs, whatever its header says, and the name column the
// one whose values are names. A header's words only rank the columns the
// values let through. When the votes do not decide, the names stay empty:
// an honest empty name is worth more than a wrong one.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sources/columns/machine_words.h"

namespace venbrook {

// How the cells handed to the judge are encoded.
enum class CellText { Utf8, Gbk };

struct ColumnChoice {
  int mac = -1;                // the MAC column; -1: the source holds no list
  bool macIsClientId = false;  // it holds DHCP client identifiers, each carrying its MAC (or MACs)
  int clientId = -1;           // another column of client identifiers, for a row whose MAC is missing
  int name = -1;               // the name column; -1: the names stay empty
  int nameElse = -1;           // another column of names, for a row the name column leaves without one
  int state = -1;              // a lease's or a neighbour's state; -1: none
  bool stateNumbers = false;   // the states are Kea's numbers: 0 in use, 1 declined, 2 expired
  int adapter = -1;            // which network adapter the row is; -1: none
  int headerRow = -1;          // the row taken for the header (0-based among the rows offered); -1: none
  // A column of dates or times, or of states, beside the MACs.
  bool timed = false;
  // The MACs repeat beside dates, times or states: the rows are sightings
  // of machines (a log, a history), not a list of them.
  bool sightings = false;
};

class ColumnJudge {
 public:
  // `findHeader`: the header, if the source has one, is among its first
  // rows, and up to kHeaderSearchRows rows are looked at for it (rows
  // offered should not be blank); only rows that hold a MAC somewhere are
  // judged: a comment, a title or a total is no row of the list. Otherwise
  // the columns' names are given to `decide`, and every row is judged.
  explicit ColumnJudge(CellText text = CellText::Utf8, bool findHeader = true);

  static constexpr int kHeaderSearchRows = 10;

  // A table of network adapters: a row whose adapter in `column` is one a
  // machine does not boot with (wireless, Bluetooth, virtual) or that says
  // it is disconnected, and that holds no IPv4 address, is no machine, and
  // is left out of the judging (RowIsSpareAdapter).
  void leaveOutSpareAdapters(int column) { adapterColumn_ = column; }

  // The row's cell in `column`, in any order of columns.
  void addCell(int column, std::string_view value);
  void endRow();

  // The columns, once every row (or the sample) has been offered. Names
  // given (UTF-8) are the header, and no row is taken for one.
  ColumnChoice decide(std::vector<std::string> columnNamesUtf8 = {});

  // Whether the column's values (all offered so far) pass as machine names,
  // the columns named `columnNamesUtf8`; for a judge that only looks at the
  // names of rows known to hold machines.
  bool columnHoldsNames(int column, std::vector<std::string> columnNamesUtf8);

  // How the label names a column: its header, or "第 n 列" (UTF-8).
  std::string columnWordsUtf8(int column) const;
  // The MAC column's values are distinct (within the values looked at).
  bool macsDistinct() const;

 private:
  // What one column's values are, as they are offered.
  struct Tally {
    std::int64_t filled = 0;     // values not blank
    // What the values' words say is asked of the first kDistinctSample of
    // them: enough to tell a column, without a look at each word list for
    // every row of a large list. These counts are of those values only.
    std::int64_t sampled = 0;
    std::int64_t macs = 0;       // MACs in pairs, quads or halves
    std::int64_t bare = 0;       // twelve hexadecimal digits in a row
    bool bareLetter = false;     // one of them held a letter a-f
    std::int64_t clientIds = 0;  // DHCP client identifiers of type 1
    std::int64_t noNames = 0;    // placeholders: "*", "N/A", an address, a vendor class (sampled)
    std::int64_t gaps = 0;       //   of them, words for no value at all, not addresses (sampled)
    std::int64_t notNames = 0;   // MACs, dates and times, interfaces, states, adapters (sampled)
    std::int64_t integers = 0;   // digits alone (sampled)
    std::int64_t dates = 0;      // dates and times (sampled)
    std::int64_t states = 0;     // a lease's or a neighbour's state (sampled)
    std::int64_t adapters = 0;   // a network adapter's description (sampled)
    std::int64_t dnsNames = 0;   // fully qualified names (sampled)
    std::int64_t smallNumbers = 0;  // 0, 1 or 2 (sampled)
    std::vector<std::uint64_t> hashes;  // of the first values, for distinctness
  };

  void keepPending(int column, std::string_view value);
  void tallyRow();
  bool spareAdapterRow() const;
  void tallyCell(int column, std::string_view value);
  void decideHeader();
  HeaderRole roleOf(int column) const;
  bool holdsMacs(int column) const;
  bool holdsClientIds(int column) const;
  bool holdsNames(int column) const;
  int nameRank(int column) const;
  int distinctCount(int column) const { return distinct_[static_cast<std::size_t>(column)].count; }
  void countDistinct();

  CellText text_;
  bool headerDecided_;
  bool everyRow_;  // the columns are named: every row is one of the list
  int rowsOffered_ = 0;
  int headerRow_ = -1;
  std::vector<std::string> header_;  // UTF-8
  std::vector<HeaderRole> headerRoles_;
  std::vector<std::vector<std::string>> pending_;  // rows kept while the header is looked for
  std::vector<std::string> row_;                   // the row being offered, by column
  std::vector<int> rowColumns_;                    // the columns given a value in it
  bool rowHasMac_ = false;
  std::int64_t dataRows_ = 0;
  std::vector<Tally> tallies_;
  int macColumn_ = -1;
  int adapterColumn_ = -1;
  // Each column's distinct values, and the most times one of them comes:
  // counted once the rows are in.
  struct Distinct {
    int count = 0;
    int largestRun = 0;
  };
  std::vector<Distinct> distinct_;
};

// Whether a row of a table of adapters (`adapter` its adapter's column) is
// no machine: see ColumnJudge::leaveOutSpareAdapters. `cells` is every cell
// of the row, `adapter` among them.
bool RowIsSpareAdapter(std::string_view adapter, const std::vector<std::string_view>& cells);

}  // namespace venbrook
