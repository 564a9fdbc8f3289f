// Fuzz target: the layouts of records spread over lines (sources/blocks/):
// blocks of pairs and computers' adapters, RouterOS prints and exports,
// dhcpd's leases and configuration, OpenWrt's configuration and `uci
// show`, dnsmasq.conf, LDIF, nmap's and nbtstat's reports, each over the same text whatever claims
// it, as the whole-file outline hands them one: the file's bytes decoded
// once to UTF-8.
// Input: the file's bytes.
// Properties checked on every input, for every layout:
//   - two walks hand over the same records, cells and lines, and end the
//     same way: done or too large (a bound), never stopped or damaged;
//   - a visitor that stops at the first record stops the walk there;
//   - every cell's column is one the layout names (at most kMaxRecordCells
//     of them), given once a record, and its value holds no line break and
//     is well-formed UTF-8 where the decoded text is (a UTF-16 file's lone
//     surrogate stays as DecodeToUtf8 writes it); a record's values
//     together are at most kMaxRecordBytes, and hold more than blanks;
//   - every record's line is a line of the text;
//   - a claim never fails on the text's first lines.
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/utf8.h"
#include "sources/blocks/block_layout.h"
#include "sources/blocks/block_sniff.h"
#include "sources/blocks/dnsmasq_conf.h"
#include "sources/blocks/host_reports.h"
#include "sources/blocks/isc_dhcp_layout.h"
#include "sources/blocks/ldif_layout.h"
#include "sources/blocks/openwrt_layout.h"
#include "sources/blocks/routeros_export.h"
#include "sources/blocks/routeros_print.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_encoding.h"

namespace venbrook {
namespace {

struct Walk {
  struct Record {
    std::vector<std::pair<int, std::string>> cells;
    int line;
    bool operator==(const Record&) const = default;
  };
  std::vector<Record> records;
  LayoutEnd::How how;
  Bound bound;
  bool operator==(const Walk& other) const {
    return records == other.records && how == other.how && (how != LayoutEnd::How::TooLarge || bound == other.bound);
  }
};

class Recorder final : public RecordVisitor {
 public:
  explicit Recorder(bool stopAtFirst) : stopAtFirst_(stopAtFirst) {}
  void cell(int column, std::string_view value) override { cells_.emplace_back(column, std::string(value)); }
  bool endRecord(int line) override {
    records.push_back({std::move(cells_), line});
    cells_.clear();
    return !stopAtFirst_;
  }
  std::vector<Walk::Record> records;

 private:
  bool stopAtFirst_;
  std::vector<std::pair<int, std::string>> cells_;
};

Walk WalkOnce(TableLayout& layout, bool stopAtFirst = false) {
  Recorder recorder(stopAtFirst);
  const LayoutEnd end = layout.forEachRecord(recorder);
  return {std::move(recorder.records), end.how, end.bound};
}

int LinesOf(std::string_view text) {
  int breaks = 1;
  for (const char c : text) breaks += c == '\n' || c == '\r';
  return breaks;
}

void Check(std::unique_ptr<TableLayout> (*make)(std::string_view), std::string_view text, bool wellFormed) {
  const std::unique_ptr<TableLayout> layout = make(text);
  const Walk walk = WalkOnce(*layout);
  FUZZ_CHECK(walk.how == LayoutEnd::How::Done || walk.how == LayoutEnd::How::TooLarge);
  FUZZ_CHECK(WalkOnce(*layout) == walk);
  const std::size_t columns = layout->columnNames().size();
  FUZZ_CHECK(columns <= kMaxRecordCells);
  const int lines = LinesOf(text);
  for (const Walk::Record& record : walk.records) {
    FUZZ_CHECK(record.line >= 1 && record.line <= lines);
    std::set<int> given;
    std::size_t bytes = 0;
    bool filled = false;
    for (const auto& [column, value] : record.cells) {
      FUZZ_CHECK(column >= 0 && static_cast<std::size_t>(column) < columns);
      FUZZ_CHECK(given.insert(column).second);
      FUZZ_CHECK(!wellFormed || IsUtf8OfAtMost(value, 4));
      FUZZ_CHECK(value.find_first_of("\r\n") == std::string::npos);
      bytes += value.size();
      filled = filled || !TrimBlanks(value).empty();
    }
    FUZZ_CHECK(bytes <= kMaxRecordBytes);
    FUZZ_CHECK(filled);
  }
  const Walk stopped = WalkOnce(*layout, true);
  if (!walk.records.empty()) {
    FUZZ_CHECK(stopped.how == LayoutEnd::How::Stopped && stopped.records.size() == 1);
    FUZZ_CHECK(stopped.records[0] == walk.records[0]);
  }
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string text = DecodeToUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string_view sample = SniffSample(text);
  const bool wellFormed = IsUtf8OfAtMost(text, 4);
  for (bool (*claims)(std::string_view) :
       {LooksLikeBlocks, LooksLikeLdif, LooksLikeIscLeases, LooksLikeIscConfig, LooksLikeRouterOsExport,
        LooksLikeRouterOsPrint, LooksLikeOpenWrtConfig, LooksLikeUciShow, LooksLikeDnsmasqConf, LooksLikeNmapReport,
        LooksLikeNbtstat})
    (void)claims(sample);
  for (std::unique_ptr<TableLayout> (*make)(std::string_view) :
       {MakeBlocksLayout, MakeLdifLayout, MakeIscLeasesLayout, MakeIscConfigLayout, MakeRouterOsExportLayout,
        MakeRouterOsPrintLayout, MakeOpenWrtConfigLayout, MakeUciShowLayout, MakeDnsmasqConfLayout, MakeNmapReportLayout,
        MakeNbtstatLayout})
    Check(make, text, wellFormed);
  return 0;
}
