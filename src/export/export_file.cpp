#include "export/export_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "export/append_lines.h"
#include "export/format_date_time.h"
#include "export/whole_lines.h"
#include "platform/os.h"

namespace venbrook {
namespace {

// Lines are made a piece at a time in one buffer, and each piece is written
// as soon as it is full: no buffer the size of the whole export (a million
// rows make some 40 MB of lines), the bytes are still in the processor's
// cache when the system copies them, and the writes are few. (Measured:
// smaller pieces cost more in writes than they save.)
constexpr std::size_t kPieceBytes = 1024 * 1024;

// A line's texts are a few bytes each. Two moves of one fixed width cover
// any length up to twice that width (they overlap when the text is shorter),
// and the compiler makes them plain instructions instead of a call per text.
inline char* Put(char* out, std::string_view text) {
  const char* in = text.data();
  const std::size_t n = text.size();
  if (n >= 8 && n <= 16) {
    std::memcpy(out, in, 8);
    std::memcpy(out + n - 8, in + n - 8, 8);
  } else if (n > 16 && n <= 32) {
    std::memcpy(out, in, 16);
    std::memcpy(out + n - 16, in + n - 16, 16);
  } else if (n > 0) {
    std::memcpy(out, in, n);
  }
  return out + n;
}

// How many bytes are CR or LF. Written for the compiler to test the bytes
// with vector instructions, 32 at a time: one-byte counters, added up before
// they can overflow.
std::size_t CountLineBreakBytes(std::string_view bytes) {
  constexpr std::size_t kLanes = 32;
  const char* p = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t count = 0, at = 0;
  while (n - at >= kLanes) {
    std::uint8_t lanes[kLanes] = {};
    const std::size_t rounds = std::min<std::size_t>((n - at) / kLanes, 255);
    for (std::size_t round = 0; round < rounds; ++round, at += kLanes)
      for (std::size_t i = 0; i < kLanes; ++i)
        lanes[i] += static_cast<std::uint8_t>((p[at + i] == '\r') | (p[at + i] == '\n'));
    for (std::uint8_t lane : lanes) count += lane;
  }
  for (; at < n; ++at) count += (p[at] == '\r') | (p[at] == '\n');
  return count;
}

// A CR or LF inside a field would split one machine into two lines of the
// import file, so each becomes a space.
char* BlankLineBreaks(char* field, std::size_t size) {
  for (char* c = field; c != field + size; ++c)
    if (*c == '\r' || *c == '\n') *c = ' ';
  return field + size;
}

// The lines of the rows, in their order: MAC, a space, the new name, CR LF.
// Each piece holds whole lines.
template <typename Rows>
class LinePieces {
 public:
  LinePieces(const MachineList& list, const Rows& rows) : list_(list), next_(rows.begin()), end_(rows.end()) {}

  std::string_view next() {
    pieceStart_ += piece_.size();
    linesBefore_ = lines_;
    // Locals, not members, inside the loop: a store through `out` could
    // otherwise be taken for a change to any of them.
    const auto first = next_;
    auto row = next_;
    char* const begin = buffer(kPieceBytes);
    char* out = begin;
    char* end = begin + capacity_;
    std::size_t lines = 0;
    for (; row != end_; ++row, ++lines) {
      const std::string_view mac = list_.cellText(*row, kMacColumn);
      const std::string_view name = list_.cellText(*row, kNewNameColumn);
      const std::size_t length = mac.size() + name.size() + 3;
      if (length > static_cast<std::size_t>(end - out)) {
        if (lines > 0) break;  // the piece is full
        out = buffer(length);  // one line longer than a piece: a piece of its own
        end = out + capacity_;
      }
      out = Put(out, mac);
      *out++ = ' ';
      out = Put(out, name);
      *out++ = '\r';
      *out++ = '\n';
    }
    next_ = row;
    char* const start = buffer_.get();
    piece_ = std::string_view(start, static_cast<std::size_t>(out - start));
    // Any CR or LF beyond the line ends lies inside a field: rare, so the
    // fields are searched only then.
    if (CountLineBreakBytes(piece_) != 2 * lines) {
      char* field = start;
      for (auto blank = first; blank != next_; ++blank) {
        field = BlankLineBreaks(field, list_.cellText(*blank, kMacColumn).size()) + 1;
        field = BlankLineBreaks(field, list_.cellText(*blank, kNewNameColumn).size()) + 2;
      }
    }
    lines_ += static_cast<long long>(lines);
    return piece_;
  }

  bool done() const { return !(next_ != end_); }
  std::size_t bytes() const { return pieceStart_ + piece_.size(); }

  // Lines within the first `kept` bytes handed out. Every piece ends with a
  // line end, so what a failed append keeps ends inside the last piece
  // handed out, or is nothing.
  long long linesIn(std::size_t kept) const {
    if (kept < pieceStart_) return 0;
    return linesBefore_ + static_cast<long long>(LineCount(piece_.substr(0, kept - pieceStart_)));
  }

 private:
  // The piece buffer, at least `bytes` long; what it held is not kept.
  char* buffer(std::size_t bytes) {
    if (capacity_ < bytes) {
      buffer_ = std::make_unique_for_overwrite<char[]>(bytes);
      capacity_ = bytes;
    }
    return buffer_.get();
  }

  const MachineList& list_;
  decltype(std::declval<const Rows&>().begin()) next_, end_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::string_view piece_;
  std::size_t pieceStart_ = 0;
  long long lines_ = 0, linesBefore_ = 0;
};

struct AllRows {
  int n;
  struct Iterator {
    int row;
    int operator*() const { return row; }
    Iterator& operator++() { return ++row, *this; }
    bool operator!=(const Iterator& other) const { return row != other.row; }
  };
  Iterator begin() const { return {0}; }
  Iterator end() const { return {n}; }
};

template <typename Rows>
LinesWritten WriteLines(const Path& path, const MachineList& list, const Rows& rows) {
  LinePieces<Rows> pieces(list, rows);
  const AppendResult result = AppendLines(path, [&pieces] { return pieces.next(); });
  if (result.opened && pieces.done() && result.bytesKept == pieces.bytes()) return {true, 0};
  return {false, pieces.linesIn(result.bytesKept)};
}

}  // namespace

ExportPlace DesktopNow() {
  return {os::DesktopFolder, [] {
            const os::WallClock t = os::LocalWallClock();
            return CalendarToAutomationDate(t.year, t.month, t.day, t.hour, t.minute, t.second);
          }};
}

// The name is digits and ".txt": the same bytes in GBK and in UTF-8.
Path ExportPath(const ExportPlace& place) {
  return place.desktopFolder().child(FormatDateTime(place.now(), "yyyyMd", "hhmmss", true) + ".txt");
}

LinesWritten WriteExportLines(const Path& path, const MachineList& list) {
  return WriteLines(path, list, AllRows{list.count()});
}

LinesWritten WriteExportLines(const Path& path, const MachineList& list, const std::vector<int>& rows) {
  return WriteLines(path, list, rows);
}

}  // namespace venbrook
