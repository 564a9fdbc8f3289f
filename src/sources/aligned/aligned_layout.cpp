#include "sources/aligned/aligned_layout.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "sources/aligned/line_kinds.h"
#include "sources/aligned/table_traits.h"
#include "sources/aligned/table_walk.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

constexpr std::string_view kFlagsColumn = "Flags";
constexpr std::string_view kHostNameColumn = "HOST-NAME";

// The first table's traits; the walk stops there.
class FirstTable final : public AlignedSink {
 public:
  bool table(const AlignedTable& table) override {
    traits = TraitsOf(table);
    return false;
  }
  bool record(const AlignedRecord&) override { return true; }
  TableTraits traits;
};

// Whether the first table reads as a table of machines: half of its
// records at least with a MAC, or all of them when it has two columns (a
// host's block of keys and values aligned with blanks looks like a table
// of two columns under its first key's line; its MAC is one key among
// others).
class ClaimProbe final : public AlignedSink {
 public:
  bool table(const AlignedTable& table) override {
    if (tables_++ > 0) return false;
    macAlone = table.macAlone;
    columns = table.columns.size();
    return true;
  }
  bool record(const AlignedRecord& record) override {
    if (tables_ == 0) return true;  // a MAC before any table
    ++records;
    for (const AlignedCell& cell : record.cells)
      if (LooksLikeMac(cell.value)) {
        ++withMac;
        break;
      }
    return true;
  }
  bool macAlone = false;
  std::size_t columns = 0;
  int records = 0, withMac = 0;

 private:
  int tables_ = 0;
};

// The columns of all the tables, one a key: tables whose headings agree
// share them.
class SharedColumns {
 public:
  // -1 past kMaxRecordCells columns.
  int columnOf(const std::string& key, const std::string& name) {
    const auto found = columns_.find(key);
    if (found != columns_.end()) return found->second;
    if (names_.size() >= kMaxRecordCells) return -1;
    const int column = static_cast<int>(names_.size());
    names_.push_back(name);
    columns_.emplace(key, column);
    return column;
  }
  const std::vector<std::string>& names() const { return names_; }

 private:
  std::unordered_map<std::string, int> columns_;
  std::vector<std::string> names_;
};

class AlignedLayout final : public TableLayout {
 public:
  explicit AlignedLayout(std::string_view text) : text_(text) {
    FirstTable first;
    WalkAlignedTables(text_, first);
    traits_ = first.traits;
  }

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    Records records(columns_, visitor);
    const LayoutEnd end = WalkAlignedTables(text_, records);
    return records.tooWide() ? LayoutEnd::Past(Bound::RecordCells) : end;
  }

  std::vector<std::string> columnNames() const override { return columns_.names(); }
  RecordKind kind() const override { return traits_.kind; }
  std::string_view wordsUtf8() const override { return traits_.wordsUtf8; }

 private:
  // Each table's columns as the layout's, and RouterOS's number, flags
  // and comment where they belong.
  class Records final : public AlignedSink {
   public:
    Records(SharedColumns& columns, RecordVisitor& visitor) : columns_(columns), visitor_(visitor) {}

    // A column's key: its name, the name and its place among the columns
    // of that name in the table when a heading repeats one, its place when
    // it has none.
    bool table(const AlignedTable& table) override {
      table_ = &table;
      shared_.clear();
      seen_.clear();
      flags_ = hostName_ = -1;
      for (std::size_t column = 0; column < table.columns.size(); ++column) {
        const std::string& name = table.columns.name(column);
        shared_.push_back(columns_.columnOf(name.empty() ? "\x01" + std::to_string(column) : keyOf(name), name));
        if (shared_.back() < 0) return !(tooWide_ = true);
        if (table.routerOs && name == kHostNameColumn && hostName_ < 0) hostName_ = shared_.back();
      }
      flagsKey_ = keyOf(std::string(kFlagsColumn));
      hostNameKey_ = keyOf(std::string(kHostNameColumn));
      return true;
    }

    bool record(const AlignedRecord& record) override {
      const bool routerOs = table_ != nullptr && table_->routerOs;
      const bool commented = routerOs && !record.comment.empty();
      for (const AlignedCell& cell : record.cells) {
        const int column = shared_[static_cast<std::size_t>(cell.column)];
        if (routerOs && cell.column == 0) {
          if (!numberAndFlags(column, cell.value)) return false;
        } else if (!(commented && column == hostName_)) {
          visitor_.cell(column, cell.value);
        }
      }
      if (commented) {
        if (hostName_ < 0 && (hostName_ = columns_.columnOf(hostNameKey_, std::string(kHostNameColumn))) < 0)
          return !(tooWide_ = true);
        visitor_.cell(hostName_, record.comment);
      }
      return visitor_.endRecord(record.line);
    }

    bool tooWide() const { return tooWide_; }

   private:
    // "1 D": the entry's number, then its flags.
    bool numberAndFlags(int column, std::string_view value) {
      std::size_t digits = 0;
      while (digits < value.size() && value[digits] >= '0' && value[digits] <= '9') ++digits;
      if (digits > 0) visitor_.cell(column, value.substr(0, digits));
      const std::string_view flags = TrimBlanks(value.substr(digits));
      if (flags.empty()) return true;
      if (flags_ < 0 && (flags_ = columns_.columnOf(flagsKey_, std::string(kFlagsColumn))) < 0) return !(tooWide_ = true);
      visitor_.cell(flags_, flags);
      return true;
    }

    std::string keyOf(const std::string& name) {
      const int before = seen_[name]++;
      return before == 0 ? name : name + "\x02" + std::to_string(before);
    }

    SharedColumns& columns_;
    RecordVisitor& visitor_;
    const AlignedTable* table_ = nullptr;
    std::vector<int> shared_;
    std::unordered_map<std::string, int> seen_;  // the table's names, how often each
    std::string flagsKey_, hostNameKey_;
    int flags_ = -1, hostName_ = -1;
    bool tooWide_ = false;
  };

  std::string_view text_;
  SharedColumns columns_;
  TableTraits traits_;
};

}  // namespace

bool ClaimsAlignedTable(std::string_view sampleUtf8) {
  ClaimProbe probe;
  WalkAlignedTables(sampleUtf8, probe);
  if (!probe.macAlone) return false;
  return probe.columns > 2 ? 2 * probe.withMac >= probe.records : probe.withMac == probe.records;
}

std::unique_ptr<TableLayout> MakeAlignedLayout(std::string_view textUtf8) {
  return std::make_unique<AlignedLayout>(textUtf8);
}

}  // namespace venbrook
