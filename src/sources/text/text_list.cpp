#include "sources/text/text_list.h"

#include <algorithm>
#include <string>
#include <utility>

#include "sources/text/line_fields.h"
#include "sources/text/text_encoding.h"

namespace venbrook {
namespace {

// A quoted field may hold line breaks (RFC 4180); one that runs on past
// this many lines is taken for a quote never closed, which ends at its line.
constexpr int kMaxRecordLines = 16;

// The line ends inside a quoted field: a quote that opens a field (at the
// line's start or after a separator, blanks between) is never closed. No
// GBK trail byte is a quote, a separator or a blank.
bool EndsInsideQuotes(std::string_view text) {
  // Our export's "MAC name" line: whatever follows the MAC is the name.
  const std::size_t wordStart = std::min(text.find_first_not_of(' '), text.size());
  const std::size_t wordEnd = std::min(text.find_first_of(" \t,;", wordStart), text.size());
  if (wordEnd < text.size() && text[wordEnd] == ' ' && IsMacText(text.substr(wordStart, wordEnd - wordStart)))
    return false;
  bool fieldStart = true;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == ',' || c == ';' || c == '\t') {
      fieldStart = true;
    } else if (c == '"' && fieldStart) {
      at = ClosingQuote(text, at);
      if (at == std::string_view::npos) return true;
      fieldStart = false;
    } else if (c != ' ') {
      fieldStart = false;
    }
  }
  return false;
}

// The lines of UTF-8 or GBK text, which end at CR LF, LF or CR; no GBK trail
// byte is either. The next CR and the next LF are each searched for once, a
// block of bytes at a time, and kept until the lines pass them: a file of
// CR-ended lines is not searched to its end for an LF on every line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text)
      : text_(text), nextCr_(std::min(text.find('\r'), text.size())), nextLf_(std::min(text.find('\n'), text.size())) {}

  // The next line [start, end); false after the last.
  bool next(std::size_t& start, std::size_t& end) {
    if (done_) return false;
    const std::size_t size = text_.size();
    if (nextCr_ < at_) nextCr_ = std::min(text_.find('\r', at_), size);
    if (nextLf_ < at_) nextLf_ = std::min(text_.find('\n', at_), size);
    start = at_;
    end = std::min(nextCr_, nextLf_);
    ++lineNumber_;
    if (end < size) at_ = end + (end == nextCr_ && end + 1 == nextLf_ ? 2 : 1);
    done_ = end == size || at_ >= size;
    return true;
  }
  int lineNumber() const { return lineNumber_; }

 private:
  std::string_view text_;
  std::size_t nextCr_, nextLf_;
  std::size_t at_ = 0;
  int lineNumber_ = 0;
  bool done_ = text_.empty();
};

// Every record of the text with the number of its first line.
template <typename OnRecord>
void ForEachRecord(std::string_view text, OnRecord&& onRecord) {
  LineCursor lines(text);
  std::size_t start, end;
  while (lines.next(start, end)) {
    const int firstLine = lines.lineNumber();
    std::string_view record = text.substr(start, end - start);
    if (record.size() <= kMaxRecordBytes && record.find('"') != std::string_view::npos && EndsInsideQuotes(record)) {
      LineCursor ahead = lines;
      std::size_t nextStart, nextEnd;
      for (int more = 1; more < kMaxRecordLines && ahead.next(nextStart, nextEnd); ++more) {
        const std::string_view joined = text.substr(start, nextEnd - start);
        if (!EndsInsideQuotes(joined)) {
          record = joined;
          lines = ahead;
          break;
        }
      }
    }
    onRecord(record, firstLine);
  }
}

bool NoKeyWord(std::string_view) { return false; }

// The cells of one record, left to right. In our own export, a line that
// starts with a MAC and a space is "MAC name": two cells, the name being the
// rest of the line whatever it holds. Elsewhere (a switch's table that a
// MAC begins) the line splits as any other.
template <typename OnCell>
void ForEachCell(LineFields& fields, std::string_view record, LineText text, bool exportLines, OnCell&& onCell) {
  fields.reset(record, text, exportLines ? IsMacText : NoKeyWord);
  std::string_view field;
  for (int index = 0; fields.next(field); ++index) {
    if (exportLines && index == 0 && fields.splitsOnBlanks() && IsMacText(field)) {
      onCell(0, field);
      onCell(1, fields.rest());
      return;
    }
    onCell(index, field);
  }
}

// Our own export: its first line that is not blank is "MAC name".
bool StartsAsOurExport(std::string_view text, LineText encoding) {
  LineCursor lines(text);
  std::size_t start, end;
  while (lines.next(start, end)) {
    const std::string_view line = text.substr(start, end - start);
    if (IsBlankLine(line, encoding)) continue;
    const std::size_t space = line.find(' ');
    return space != std::string_view::npos && IsMacText(line.substr(0, space));
  }
  return false;
}

// A comment line: '#' first, after blanks (PowerShell's "#TYPE" line too).
bool IsCommentLine(std::string_view record) {
  const std::size_t first = record.find_first_not_of(" \t");
  return first != std::string_view::npos && record[first] == '#';
}

class TextListLayout final : public TableLayout {
 public:
  // `owned` holds the text when it had to be decoded (UTF-16).
  TextListLayout(std::string owned, std::string_view text, LineText encoding, TextListShape shape)
      : owned_(std::move(owned)),
        text_(owned_.empty() ? text : std::string_view(owned_)),
        encoding_(encoding),
        shape_(std::move(shape)),
        exportLines_(StartsAsOurExport(text_, encoding_)) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    LayoutEnd end;
    ForEachRecord(text_, [&](std::string_view record, int line) {
      if (end.how != LayoutEnd::How::Done || IsBlankLine(record, encoding_)) return;
      if (shape_.isStructure != nullptr && shape_.isStructure(record)) return;
      if (record.size() > kMaxRecordBytes) {
        end = LayoutEnd::Past(Bound::RecordBytes);
        return;
      }
      if (!IsCommentLine(record))
        ForEachCell(fields_, record, encoding_, exportLines_, [&](int index, std::string_view cell) { visitor.cell(index, cell); });
      if (!visitor.endRecord(line)) end.how = LayoutEnd::How::Stopped;
    });
    return end;
  }

  std::vector<std::string> columnNames() const override { return shape_.columnNames; }
  CellText cellText() const override { return encoding_ == LineText::Gbk ? CellText::Gbk : CellText::Utf8; }
  RecordKind kind() const override { return shape_.kind; }
  std::string_view wordsUtf8() const override { return shape_.wordsUtf8; }

 private:
  std::string owned_;
  std::string_view text_;
  const LineText encoding_;
  const TextListShape shape_;
  // The file is our own export, "MAC name" a line: its first line is one.
  const bool exportLines_;
  LineFields fields_;
};

}  // namespace

std::unique_ptr<TableLayout> MakeTextListLayout(std::string_view bytes, TextListShape shape) {
  const DetectedEncoding detected = DetectTextEncoding(bytes);
  switch (detected.encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      // Decoded once: the records and fields are then read as UTF-8.
      return std::make_unique<TextListLayout>(DecodeToUtf8(bytes), std::string_view{}, LineText::Utf8, std::move(shape));
    case TextEncoding::Utf8:
    case TextEncoding::Gbk: break;
  }
  return std::make_unique<TextListLayout>(std::string(), bytes.substr(detected.markBytes),
                                          detected.encoding == TextEncoding::Utf8 ? LineText::Utf8 : LineText::Gbk,
                                          std::move(shape));
}

TableRead ReadTextList(std::string_view bytes, RowSink& sink) {
  // Room in the list for the rows a text of this many bytes (as one byte a
  // character) may hold: a line with a MAC and a name takes some 24 bytes at
  // the least, and the list keeps the name twice (as read and renamed) beside
  // the MAC, about one and a half times the line's bytes for the shortest
  // lines, our export's.
  sink.expect(bytes.size() / 24, bytes.size() + bytes.size() / 2);
  const std::unique_ptr<TableLayout> layout = MakeTextListLayout(bytes);
  return ReadTable(*layout, sink);
}

}  // namespace venbrook
