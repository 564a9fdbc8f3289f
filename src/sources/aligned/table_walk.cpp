#include "sources/aligned/table_walk.h"

#include <algorithm>
#include <optional>

#include "sources/aligned/line_kinds.h"
#include "sources/aligned/shown_line.h"
#include "sources/text/text_lines.h"
#include "sources/read_bounds.h"

namespace venbrook {
namespace {

// Lines above a table's first MAC looked at for its heading, and lines
// under it that place its columns (of them, data lines with a MAC at most
// kSampleLines): a bounded look, once a table, whatever the table's length.
constexpr std::size_t kLookBack = 8;
constexpr int kSampleLines = 64;
constexpr int kLookedAhead = 256;

bool IsLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A prompt whose command lists ARP entries or neighbours: "show ip arp",
// "display arp", "arp -a", "show arpentry", "Get-NetNeighbor", "ip neigh".
bool RunsArpCommand(std::string_view line) {
  std::string lower(line);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
  if (lower.find("neigh") != std::string::npos) return true;
  for (std::size_t at = lower.find("arp"); at != std::string::npos; at = lower.find("arp", at + 1))
    if (at == 0 || !IsLetterOrDigit(lower[at - 1])) return true;
  return false;
}

std::string_view Trimmed(std::string_view line, const std::vector<Word>& words) {
  return words.empty() ? std::string_view{} : line.substr(words.front().begin, words.back().end - words.front().begin);
}

bool IsCutShort(std::string_view value) { return value.ends_with("...") || value.ends_with("\xE2\x80\xA6"); }

// A line above a table's first MAC, read again for the heading.
struct LookedLine {
  TextLines::Place place;
  std::string text;
  std::vector<Word> words;
};

class Walk {
 public:
  Walk(std::string_view text, AlignedSink& sink) : text_(text), sink_(sink), lines_(text) {}

  LayoutEnd run() {
    std::string_view raw;
    for (;;) {
      const TextLines::Place place = lines_.place();
      if (!lines_.next(raw)) break;
      if (raw.size() > kMaxRecordBytes) return LayoutEnd::Past(Bound::RecordBytes);
      const std::string_view line = shown_.shown(raw, words_);
      macKnown_ = false;
      if (const std::optional<LayoutEnd> end = inTable_ ? tableLine(place, raw, line) : seekingLine(place, raw, line))
        return *end;
    }
    return flush() ? LayoutEnd{} : LayoutEnd{LayoutEnd::How::Stopped};
  }

 private:
  bool holdsMac(std::string_view line) {
    if (!macKnown_) holdsMac_ = HoldsMac(line, words_), macKnown_ = true;
    return holdsMac_;
  }

  std::optional<LayoutEnd> seekingLine(TextLines::Place place, std::string_view raw, std::string_view line) {
    if (words_.empty()) {
      // A blank line parts what is above from the table, unless it stands
      // under the heading's rule (netsh dhcp leaves one there).
      if (!shown_.heldControls() && !underRule_) ringSize_ = 0;
      return std::nullopt;
    }
    underRule_ = false;
    if (IsPrompt(line, words_) && !holdsMac(line)) {
      ringSize_ = 0;
      arpPrompt_ = RunsArpCommand(line);
      return std::nullopt;
    }
    if (!holdsMac(line)) {
      remember(place);
      underRule_ = IsRule(line, words_);
      return std::nullopt;
    }
    return formTable(place, raw, line);
  }

  void remember(TextLines::Place place) {
    if (ringSize_ == kLookBack) std::rotate(ring_, ring_ + 1, ring_ + kLookBack), --ringSize_;
    ring_[ringSize_++] = place;
  }

  // The data's runs, from the data lines from the table's first MAC on.
  void sampleRuns(TextLines::Place anchor) {
    runs_.clear();
    TextLines look(text_, anchor);
    std::string_view raw;
    int sampled = 0;
    for (int looked = 0; sampled < kSampleLines && looked < kLookedAhead && look.next(raw); ++looked) {
      if (raw.size() > kMaxRecordBytes) break;
      const std::string_view line = lookShown_.shown(raw, lookWords_);
      if (lookWords_.empty()) {
        if (lookShown_.heldControls()) continue;
        break;
      }
      const bool mac = HoldsMac(line, lookWords_);
      if (IsRule(line, lookWords_) || IsTotals(line, lookWords_) || IsHeadingLike(line, lookWords_) ||
          (!mac && IsPrompt(line, lookWords_)))
        break;
      if (mac) AddToRuns(lookWords_, runs_), ++sampled;
    }
  }

  std::optional<LayoutEnd> formTable(TextLines::Place anchor, std::string_view anchorRaw, std::string_view anchorLine) {
    sampleRuns(anchor);
    looked_.resize(std::max(looked_.size(), ringSize_));
    std::size_t heading = kLookBack;
    int named = 1;  // a heading names two columns at least
    for (std::size_t i = 0; i < ringSize_; ++i) {
      LookedLine& looked = looked_[i];
      TextLines again(text_, ring_[i]);
      std::string_view raw;
      again.next(raw);
      looked.place = ring_[i];
      looked.text.assign(lookShown_.shown(raw, looked.words));  // the words' places hold in the copy
      if (!IsHeadingLike(looked.text, looked.words)) continue;
      const int covered = ColumnsCovered(runs_, looked.words);
      if (covered > named) named = covered, heading = i;
    }
    if (heading == kLookBack) {  // no heading: a MAC outside any table
      ringSize_ = 0;
      return sink_.record({lines_.number(), noCells_, {}}) ? std::nullopt : std::optional(LayoutEnd{LayoutEnd::How::Stopped});
    }

    std::vector<HeadingLine> lines = {{looked_[heading].text, &looked_[heading].words}};
    std::size_t next = heading + 1;
    for (; next < ringSize_ && IsHeadingLike(looked_[next].text, looked_[next].words) &&
           ColumnsCovered(runs_, looked_[next].words) >= 0;
         ++next)
      lines.push_back({looked_[next].text, &looked_[next].words});
    static const std::vector<Word> kNoRule;
    const std::vector<Word>* rule = &kNoRule;
    for (; next < ringSize_ && IsRule(looked_[next].text, looked_[next].words); ++next)
      if (rule->empty() && looked_[next].words.size() >= 2) rule = &looked_[next].words;  // one dash alone parts nothing
    const TextLines::Place bodyStart = next < ringSize_ ? looked_[next].place : anchor;

    if (!table_.columns.build(runs_, lines, *rule, kMaxRecordCells)) return LayoutEnd::Past(Bound::RecordCells);
    const LookedLine& top = looked_[heading];
    table_.routerOs = WordText(top.text, top.words.front()) == "#";
    table_.arpCommand = arpPrompt_;
    for (std::size_t i = 0; i < heading; ++i) table_.arpCommand |= IsWindowsInterface(looked_[i].text, looked_[i].words);
    table_.macAlone = false;
    if (anchorRaw.find('\t') == std::string_view::npos) {
      table_.columns.columnsOf(words_, wordColumns_);
      for (std::size_t i = 0; i < words_.size(); ++i)
        table_.macAlone |= LooksLikeMac(WordText(anchorLine, words_[i])) &&
                           std::count(wordColumns_.begin(), wordColumns_.end(), wordColumns_[i]) == 1;
    }
    heading_.assign(Trimmed(top.text, top.words));
    if (!sink_.table(table_)) return LayoutEnd{LayoutEnd::How::Stopped};
    lines_.goBackTo(bodyStart);
    inTable_ = true;
    suspended_ = false;
    ringSize_ = 0;
    comment_.clear();
    return std::nullopt;
  }

  std::optional<LayoutEnd> tableLine(TextLines::Place place, std::string_view raw, std::string_view line) {
    if (words_.empty()) {
      suspended_ |= !shown_.heldControls();
      return std::nullopt;
    }
    const TableColumns& columns = table_.columns;
    bool ends = IsPrompt(line, words_) && !holdsMac(line);
    if (ends) arpPrompt_ = RunsArpCommand(line);
    bool again = suspended_ && !(holdsMac(line) && columns.fits(words_));
    ends |= again || IsRule(line, words_) || IsTotals(line, words_);
    if (!ends && Trimmed(line, words_) == heading_) ends = again = true;  // the next table begins
    std::string_view comment;
    if (!ends && table_.routerOs && IsRouterOsComment(line, words_, comment)) {
      if (!flush()) return LayoutEnd{LayoutEnd::How::Stopped};
      comment_.assign(comment);
      return std::nullopt;
    }
    if (!ends && !columns.fits(words_) && !holdsMac(line)) ends = again = true;
    if (ends) {
      inTable_ = false;
      if (again) lines_.goBackTo(place);
      return flush() ? std::nullopt : std::optional(LayoutEnd{LayoutEnd::How::Stopped});
    }
    suspended_ = false;
    columns.columnsOf(words_, wordColumns_);
    if (!(pending_ && wordColumns_.front() != 0 && !holdsMac(line))) {  // else it goes on with the record above
      if (!flush()) return LayoutEnd{LayoutEnd::How::Stopped};
      pending_ = true;
      pendingLine_ = lines_.number();
      pendingBytes_ = 0;
      pendingComment_.swap(comment_);
      comment_.clear();
    }
    if ((pendingBytes_ += raw.size()) > kMaxRecordBytes) return LayoutEnd::Past(Bound::RecordBytes);
    for (std::size_t i = 0; i < words_.size();) {
      std::size_t last = i;
      while (last + 1 < words_.size() && wordColumns_[last + 1] == wordColumns_[i]) ++last;
      pieces_.push_back({wordColumns_[i], arena_.size(), words_[last].end - words_[i].begin});
      arena_.append(line.substr(words_[i].begin, words_[last].end - words_[i].begin));
      i = last + 1;
    }
    return std::nullopt;
  }

  // Hands the record read so far over: each column's pieces joined by a blank.
  bool flush() {
    if (!pending_) return true;
    pending_ = false;
    // A record of one line has its pieces in column order already; one that
    // goes on over lines is sorted in place, each column's pieces in the
    // order they came (their place in the arena).
    const auto before = [](const Piece& a, const Piece& b) { return a.column != b.column ? a.column < b.column : a.at < b.at; };
    if (!std::is_sorted(pieces_.begin(), pieces_.end(), before)) std::sort(pieces_.begin(), pieces_.end(), before);
    joined_.clear();
    joined_.reserve(arena_.size() + pieces_.size());
    cells_.clear();
    for (std::size_t i = 0; i < pieces_.size();) {
      std::size_t last = i;
      while (last + 1 < pieces_.size() && pieces_[last + 1].column == pieces_[i].column) ++last;
      std::string_view value = std::string_view(arena_).substr(pieces_[i].at, pieces_[i].length);
      if (last > i) {
        const std::size_t at = joined_.size();
        for (std::size_t k = i; k <= last; ++k) {
          if (k > i) joined_ += ' ';
          joined_.append(arena_, pieces_[k].at, pieces_[k].length);
        }
        value = std::string_view(joined_).substr(at);
      }
      if (!IsCutShort(value)) cells_.push_back({pieces_[i].column, value});
      i = last + 1;
    }
    const bool go = sink_.record({pendingLine_, cells_, pendingComment_});
    pieces_.clear();
    arena_.clear();
    return go;
  }

  struct Piece {
    int column;
    std::size_t at, length;
  };

  std::string_view text_;
  AlignedSink& sink_;
  TextLines lines_;
  ShownLine shown_, lookShown_;
  std::vector<Word> words_, lookWords_;
  std::vector<int> wordColumns_;
  bool macKnown_ = false, holdsMac_ = false;

  TextLines::Place ring_[kLookBack];
  std::size_t ringSize_ = 0;
  std::vector<LookedLine> looked_;
  std::vector<Span> runs_;
  bool arpPrompt_ = false;

  AlignedTable table_;
  std::string heading_;
  bool underRule_ = false;  // the last line with words, above any table, was a rule
  bool inTable_ = false, suspended_ = false;
  std::string comment_;

  bool pending_ = false;
  int pendingLine_ = 0;
  std::size_t pendingBytes_ = 0;
  std::string pendingComment_;
  std::string arena_, joined_;
  std::vector<Piece> pieces_;
  std::vector<AlignedCell> cells_;
  const std::vector<AlignedCell> noCells_;
};

}  // namespace

LayoutEnd WalkAlignedTables(std::string_view text, AlignedSink& sink) { return Walk(text, sink).run(); }

}  // namespace venbrook
