#include "sources/blocks/routeros_print.h"

#include <algorithm>
#include <string>

#include "model/blanks.h"
#include "sources/blocks/adapter_facts.h"
#include "sources/blocks/block_sniff.h"
#include "sources/blocks/record_cells.h"
#include "sources/blocks/routeros_pairs.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsFlagWord(std::string_view word) {
  if (word.empty() || word.size() > 8) return false;
  for (const char c : word)
    if (c < 'A' || c > 'Z') return false;
  return true;
}

// "0 D address=…", "12  RS ;;; A01": true for an entry's first line, with
// what follows its number and flags in `rest`.
bool ReadEntryStart(std::string_view trimmed, std::string_view& rest) {
  std::size_t at = 0;
  while (at < trimmed.size() && IsDigit(trimmed[at])) ++at;
  if (at == 0 || (at < trimmed.size() && !IsBlank(trimmed[at]))) return false;
  for (;;) {
    rest = TrimBlanks(trimmed.substr(at));
    const std::size_t end = std::min(rest.find_first_of(" \t"), rest.size());
    if (!IsFlagWord(rest.substr(0, end))) return true;
    at = static_cast<std::size_t>(rest.data() - trimmed.data()) + end;
  }
}

struct Entry {
  int line = 0;
  std::string comment, text;
};

// The entries of a print, each with its comment and its pairs' text joined
// from its lines; lines that are none of a print's are counted.
class EntryReader {
 public:
  explicit EntryReader(std::string_view text) : lines_(text) {}

  // False at the text's end, or at an entry past kMaxRecordBytes (then
  // tooLong()).
  bool next(Entry& entry) {
    entry = Entry();
    bool open = false;
    std::string_view line, rest;
    while (nextLine(line)) {
      if (line.size() > kMaxRecordBytes) return fail();
      const std::string_view trimmed = TrimBlanks(line);
      if (trimmed.empty()) {
        if (open) return true;
        continue;
      }
      if (ReadEntryStart(trimmed, rest)) {
        if (open) return hold(line);
        open = true;
        entry.line = number_;
        entry.comment = std::move(pendingComment_);
        pendingComment_.clear();
        if (rest.starts_with(";;;"))
          entry.comment = TrimBlanks(rest.substr(3));
        else
          entry.text.assign(rest);
        continue;
      }
      if (trimmed.starts_with(";;;")) {
        if (open) return hold(line);  // an older print's comment, before its entry
        pendingComment_ = TrimBlanks(trimmed.substr(3));
        continue;
      }
      if (open && IsBlank(line[0])) {
        if (entry.text.size() + 1 + trimmed.size() > kMaxRecordBytes) return fail();
        entry.text.append(" ").append(trimmed);
        continue;
      }
      if (!trimmed.starts_with("Flags:") && !trimmed.starts_with("Columns:") && !IsPromptLine(line)) ++foreign_;
      if (open) return true;
    }
    return open;
  }
  bool tooLong() const { return tooLong_; }
  int foreignLines() const { return foreign_; }

 private:
  bool nextLine(std::string_view& line) {
    if (holding_) {
      holding_ = false;
      line = held_;
      number_ = heldNumber_;
      return true;
    }
    if (!lines_.next(line)) return false;
    number_ = lines_.number();
    return true;
  }
  bool fail() {
    tooLong_ = true;
    return false;
  }
  bool hold(std::string_view line) {
    held_ = line;
    heldNumber_ = number_;
    holding_ = true;
    return true;
  }

  TextLines lines_;
  std::string pendingComment_;
  std::string_view held_;
  int heldNumber_ = 0, number_ = 0, foreign_ = 0;
  bool holding_ = false, tooLong_ = false;
};

RouterOsTable TableOf(std::string_view sample) {
  EntryReader entries(sample);
  Entry entry;
  std::string value;
  std::string_view key;
  bool mac = false, lease = false, address = false, interface = false;
  while (entries.next(entry)) {
    RouterOsPairs pairs(entry.text, RouterOsValues::RunToNextKey);
    while (pairs.next(key, value)) {
      mac = mac || key == "mac-address";
      lease = lease || key == "server" || key == "host-name" || key == "client-id" || key == "active-address" ||
              key == "expires-after" || key == "last-seen";
      address = address || key == "address";
      interface = interface || key == "interface";
    }
  }
  if (mac && lease) return RouterOsTable::Leases;
  if (mac && address && interface) return RouterOsTable::Arp;
  return RouterOsTable::Other;
}

}  // namespace

LayoutEnd RouterOsPrintLayout::forEachRecord(RecordVisitor& visitor) {
  EntryReader entries(text_);
  Entry entry;
  RecordCells cells;
  while (entries.next(entry)) {
    const LayoutEnd end = AddRouterOsPairs(entry.text, RouterOsValues::RunToNextKey, table_ == RouterOsTable::Leases,
                                           entry.comment, keys_, cells);
    if (end.how != LayoutEnd::How::Done) return end;
    if (!cells.handTo(visitor, entry.line)) return {LayoutEnd::How::Stopped};
  }
  if (entries.tooLong()) return LayoutEnd::Past(Bound::RecordBytes);
  return {};
}

std::string_view RouterOsPrintLayout::wordsUtf8() const {
  switch (table_) {
    case RouterOsTable::Leases:
      return "MikroTik 租约列表";
    case RouterOsTable::Arp:
      return "ARP 表";
    case RouterOsTable::Other:
      break;
  }
  return "分段记录";
}

bool LooksLikeRouterOsPrint(std::string_view sampleUtf8) {
  EntryReader entries(sampleUtf8);
  Entry entry;
  std::string value;
  std::string_view key;
  int entriesWithMac = 0;
  while (entries.next(entry)) {
    RouterOsPairs pairs(entry.text, RouterOsValues::RunToNextKey);
    int count = 0;
    bool mac = false;
    while (pairs.next(key, value)) {
      ++count;
      mac = mac || IsMacValue(value);
    }
    entriesWithMac += count >= 2 && mac;
  }
  return !entries.tooLong() && entries.foreignLines() == 0 && entriesWithMac > 0;
}

std::unique_ptr<TableLayout> MakeRouterOsPrintLayout(std::string_view textUtf8) {
  return std::make_unique<RouterOsPrintLayout>(textUtf8, TableOf(SniffSample(textUtf8)));
}

}  // namespace venbrook
