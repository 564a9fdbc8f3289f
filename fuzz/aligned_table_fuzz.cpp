// Fuzz target: the layouts of tables laid out with blanks and of ip neigh
// (MakeAlignedLayout, MakeIpNeighboursLayout) over a whole file's bytes,
// decoded as the file reader decodes them: headings of any words over any
// runs, rules, prompts, totals, pager prompts, escapes and backspaces,
// RouterOS's comments and flags, wide characters, tabs, lines going on over
// lines, and junk.
// Input: the file's bytes.
// Properties checked on every input:
//   - each layout's two walks hand over the same records, and a walk ends
//     Done (no line of the input reaches a bound);
//   - records come in the text's order, each on a line of the text, no two
//     on one line; a record has at most one cell a column, every column one
//     of columnNames(); no value holds a line break, none is empty;
//   - both claims run on any text (a sample is any text too);
//   - read through the one driver into a list, every row's MAC is a
//     machine's in the one form, and rows are never more than records.
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "model/mac_address.h"
#include "model/machine_list.h"
#include "sources/aligned/aligned_layout.h"
#include "sources/aligned/ip_neighbours.h"
#include "sources/table/table_read.h"
#include "sources/text/text_encoding.h"

namespace venbrook {
namespace {

struct Record {
  int line = 0;
  std::map<int, std::string> cells;
  bool operator==(const Record&) const = default;
};

class Collect final : public RecordVisitor {
 public:
  void cell(int column, std::string_view value) override {
    FUZZ_CHECK(column >= 0);
    FUZZ_CHECK(!value.empty());
    FUZZ_CHECK(value.find_first_of("\r\n") == std::string_view::npos);
    FUZZ_CHECK(record_.cells.emplace(column, std::string(value)).second);
  }
  bool endRecord(int line) override {
    record_.line = line;
    records.push_back(std::move(record_));
    record_ = {};
    return true;
  }
  std::vector<Record> records;

 private:
  Record record_;
};

int LineCount(std::string_view text) {
  int lines = 0;
  for (std::size_t at = 0; at < text.size(); ++at)
    if (text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'))) ++lines;
  return lines + (!text.empty() && text.back() != '\n' && text.back() != '\r' ? 1 : 0);
}

void Check(std::string_view text, std::unique_ptr<TableLayout> (*make)(std::string_view)) {
  const std::unique_ptr<TableLayout> layout = make(text);
  Collect first, second;
  FUZZ_CHECK(layout->forEachRecord(first).how == LayoutEnd::How::Done);
  FUZZ_CHECK(layout->forEachRecord(second).how == LayoutEnd::How::Done);
  FUZZ_CHECK(first.records == second.records);
  const std::size_t columns = layout->columnNames().size();
  const int lines = LineCount(text);
  int previous = 0;
  for (const Record& record : first.records) {
    FUZZ_CHECK(record.line > previous && record.line <= lines);
    previous = record.line;
    for (const auto& [column, value] : record.cells) FUZZ_CHECK(static_cast<std::size_t>(column) < columns);
  }

  MachineList list;
  const RenameRule rule;
  RowSink sink(list, rule, MacRule::Canonical);
  const TableRead read = ReadTable(*layout, sink);
  FUZZ_CHECK(read.rows == list.count());
  FUZZ_CHECK(read.rows <= static_cast<int>(first.records.size()));
  for (int row = 0; row < list.count(); ++row) {
    const std::string_view mac = list.cellText(row, kMacColumn);
    FUZZ_CHECK(IsMachineAddress(MacNumber(mac)) && CanonicalMacText(MacNumber(mac)) == mac);
  }
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string text = DecodeToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  ClaimsAlignedTable(text);
  ClaimsIpNeighbours(text);
  Check(text, MakeAlignedLayout);
  Check(text, MakeIpNeighboursLayout);
  return 0;
}
