#include "sources/text/text_list.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/code_page_936.h"
#include "sources/columns/column_judge.h"
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
    if (record.find('"') != std::string_view::npos && EndsInsideQuotes(record)) {
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

// The cells of one record, left to right. A line that starts with a MAC and
// a space is our own export's "MAC name": two cells, the name being the rest
// of the line whatever it holds.
template <typename OnCell>
void ForEachCell(LineFields& fields, std::string_view record, LineText text, OnCell&& onCell) {
  fields.reset(record, text, IsMacText);
  std::string_view field;
  for (int index = 0; fields.next(field); ++index) {
    if (index == 0 && fields.splitsOnBlanks() && IsMacText(field)) {
      onCell(0, field);
      onCell(1, fields.rest());
      return;
    }
    onCell(index, field);
  }
}

// A name as the list keeps it: one line (a quoted field may hold breaks),
// up to its first NUL as a database's text ends.
std::string_view ShownName(std::string_view name, std::string& holder) {
  name = name.substr(0, name.find('\0'));
  if (name.find_first_of("\r\n") == std::string_view::npos) return name;
  holder.clear();
  for (const char c : name) {
    const bool lineBreak = c == '\r' || c == '\n';
    if (!lineBreak) holder += c;
    else if (holder.empty() || holder.back() != ' ') holder += ' ';
  }
  return holder;
}

class TextListReader {
 public:
  TextListReader(RowSink& sink, std::string_view text, LineText encoding)
      : sink_(sink), text_(text), encoding_(encoding) {}

  TextListRead read() && {
    ColumnJudge judge(encoding_ == LineText::Gbk ? CellText::Gbk : CellText::Utf8);
    ForEachRecord(text_, [&](std::string_view record, int) {
      if (IsBlankLine(record, encoding_)) return;
      ForEachCell(fields_, record, encoding_, [&](int, std::string_view cell) { judge.addCell(cell); });
      judge.endRow();
    });
    const ColumnChoice choice = judge.decide();
    if (choice.mac < 0) {
      // No column of MACs: every line of the file is one without a machine.
      ForEachRecord(text_, [&](std::string_view record, int line) {
        if (!IsBlankLine(record, encoding_)) skip(line);
      });
      return std::move(read_);
    }
    if (choice.name >= 0) read_.nameColumn = judge.columnWordsUtf8(choice.name);
    read_.macColumn = judge.columnWordsUtf8(choice.mac);
    int row = -1;
    ForEachRecord(text_, [&](std::string_view record, int line) {
      if (IsBlankLine(record, encoding_)) return;
      ++row;
      if (row == choice.headerRow) return;
      if (row < choice.headerRow || !readMachine(record, choice)) skip(line);
    });
    return std::move(read_);
  }

 private:
  bool readMachine(std::string_view record, const ColumnChoice& choice) {
    std::string_view mac, name;
    ForEachCell(fields_, record, encoding_, [&](int index, std::string_view cell) {
      if (index == choice.mac) mac = keep(cell, macHolder_);
      if (index == choice.name) name = keep(cell, nameHolder_);
    });
    name = ShownName(name, shownHolder_);
    const bool added = encoding_ == LineText::Gbk ? sink_.addGbk(IsWellFormedCodePage936(name) ? name : std::string_view{}, mac)
                                                  : sink_.addUtf8(name, mac);
    if (added) ++read_.rows;
    return added;
  }

  // A field that lies in the splitter's buffer is copied before the next
  // field overwrites it.
  std::string_view keep(std::string_view field, std::string& holder) const {
    if (!fields_.lastWasCopied()) return field;
    holder.assign(field);
    return holder;
  }

  void skip(int line) {
    if (read_.skippedLines++ < 3) read_.firstSkipped.push_back(line);
  }

  RowSink& sink_;
  std::string_view text_;
  const LineText encoding_;
  LineFields fields_;
  std::string macHolder_, nameHolder_, shownHolder_;
  TextListRead read_;
};

// Room in the list for the rows a text of this many bytes (as one byte a
// character) may hold: a line with a MAC and a name takes some 24 bytes at
// the least, and the list keeps the name twice (as read and renamed) beside
// the MAC, about one and a half times the line's bytes for the shortest
// lines, our export's.
void ExpectRowsOf(std::size_t textBytes, RowSink& sink) { sink.expect(textBytes / 24, textBytes + textBytes / 2); }

}  // namespace

TextListRead ReadTextList(std::string_view bytes, RowSink& sink) {
  const DetectedEncoding detected = DetectTextEncoding(bytes);
  switch (detected.encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
      // Decoded once: the records and fields are then read as UTF-8.
      const std::string utf8 = DecodeToUtf8(bytes);
      ExpectRowsOf(utf8.size(), sink);
      return TextListReader(sink, utf8, LineText::Utf8).read();
    }
    case TextEncoding::Utf8:
    case TextEncoding::Gbk: break;
  }
  const std::string_view body = bytes.substr(detected.markBytes);
  ExpectRowsOf(body.size(), sink);
  return TextListReader(sink, body, detected.encoding == TextEncoding::Utf8 ? LineText::Utf8 : LineText::Gbk).read();
}

}  // namespace venbrook
