#include "sources/text/text_list.h"

#include <algorithm>
#include <string>
#include <utility>

#include "model/text_codec.h"
#include "platform/code_page_936.h"
#include "platform/utf16.h"
#include "platform/utf8.h"
#include "sources/columns/machine_words.h"
#include "sources/text/line_fields.h"

namespace venbrook {
namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

// Well-formed UTF-8 (up to four bytes a character, nothing overlong, no
// surrogates) holding at least one character of more than one byte. Stops
// at the first byte that is not: a GBK file usually shows it at once.
bool ReadsAsUtf8(std::string_view text) {
  bool multiByte = false;
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character character = DecodeUtf8(text, at);
    if (!character.wellFormed) return false;
    multiByte = multiByte || character.length > 1;
    at += character.length;
  }
  return multiByte;
}

// The lines of UTF-16 text, each turned into UTF-8 in one reused buffer: the
// file is never copied whole. A lone surrogate keeps its three-byte form,
// which no UTF-8 reader accepts, and the odd last byte of a file cut short
// becomes the byte FF: either way the field holding it reads as invalid.
class Utf16Lines {
 public:
  Utf16Lines(std::string_view body, bool bigEndian) : body_(body), bigEndian_(bigEndian) {}

  bool next(std::string& line) {
    if (at_ >= body_.size()) return false;
    line.clear();
    while (body_.size() - at_ >= 2) {
      const char32_t unit = take();
      if (unit == '\n') return true;
      if (unit == '\r') {
        if (body_.size() - at_ >= 2 && unitAt(at_) == '\n') at_ += 2;
        return true;
      }
      if (unit >= 0xD800 && unit <= 0xDBFF && body_.size() - at_ >= 2) {
        const char32_t low = unitAt(at_);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          at_ += 2;
          AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), line);
          continue;
        }
      }
      AppendUtf8(unit, line);
    }
    if (at_ < body_.size()) {
      line += '\xFF';
      at_ = body_.size();
    }
    return true;
  }

 private:
  char32_t unitAt(std::size_t at) const {
    const auto first = static_cast<unsigned char>(body_[at]), second = static_cast<unsigned char>(body_[at + 1]);
    return bigEndian_ ? char32_t(first) << 8 | second : char32_t(second) << 8 | first;
  }
  char32_t take() {
    const char32_t unit = unitAt(at_);
    at_ += 2;
    return unit;
  }

  std::string_view body_;
  bool bigEndian_;
  std::size_t at_ = 0;
};

// Reads line after line; holds what lasts from one line to the next (the
// header's name column, the line number) and the buffers every line reuses.
class TextListReader {
 public:
  TextListReader(RowSink& sink, LineText text) : sink_(sink), text_(text) {}

  void readLine(std::string_view line) {
    ++lineNumber_;
    if (IsBlankLine(line, text_)) return;
    if (!sawNonBlank_) {
      sawNonBlank_ = true;
      if (takeHeader(line)) return;
    }
    readMachine(line);
  }

  TextListRead result() && { return std::move(read_); }

 private:
  // The name column of a header line; false when the line is none.
  bool takeHeader(std::string_view line) {
    int nameColumn = -1, macNameColumn = -1;
    std::string_view field;
    fields_.reset(line, text_, IsMacText);
    for (int index = 0; fields_.next(field); ++index) {
      if (IsMacText(field)) return false;
      if (nameColumn >= 0) continue;
      if (text_ == LineText::Gbk) {
        headerUtf8_ = GbkToUtf8(field);
        field = headerUtf8_;
      }
      if (!NamesMachineName(field)) continue;
      if (!NamesMac(field))
        nameColumn = index;
      else if (macNameColumn < 0)
        macNameColumn = index;  // "主机MAC": a name word, but the MAC's column
    }
    nameColumn_ = nameColumn >= 0 ? nameColumn : macNameColumn;
    return nameColumn_ >= 0;
  }

  void readMachine(std::string_view line) {
    std::string_view field, mac, headerName, otherName, restName;
    int macIndex = -1;
    bool haveHeaderName = false, haveOtherName = false, haveRest = false;
    fields_.reset(line, text_, IsMacText);
    for (int index = 0; fields_.next(field); ++index) {
      if (macIndex < 0 && IsMacText(field)) {
        mac = keep(field, macHolder_);
        macIndex = index;
        if (index == 0 && fields_.splitsOnBlanks()) {  // "MAC name, with anything", as we export
          restName = fields_.rest();
          haveRest = true;
          break;
        }
      } else if (index == nameColumn_) {
        headerName = keep(field, headerNameHolder_);
        haveHeaderName = true;
      } else if (!haveOtherName && !field.empty() && !IsIpv4Address(field)) {
        otherName = keep(field, otherNameHolder_);
        haveOtherName = true;
      }
      if (macIndex >= 0 && (haveHeaderName || (haveOtherName && index >= nameColumn_))) break;
    }
    if (macIndex < 0) {
      skip();
      return;
    }
    add(haveRest ? restName : haveHeaderName ? headerName : otherName, mac);
  }

  // A field that lies in the splitter's buffer is copied before the next
  // field overwrites it.
  std::string_view keep(std::string_view field, std::string& holder) const {
    if (!fields_.lastWasCopied()) return field;
    holder.assign(field);
    return holder;
  }

  void add(std::string_view name, std::string_view mac) {
    if (text_ == LineText::Gbk) {
      name = name.substr(0, name.find('\0'));  // as a UTF-8 text ends at its first NUL
      sink_.addGbk(IsWellFormedCodePage936(name) ? name : std::string_view{}, mac);
    } else {
      sink_.addUtf8(name, mac);
    }
    ++read_.rows;
  }

  void skip() {
    if (read_.skippedLines++ < 3) read_.firstSkipped.push_back(lineNumber_);
  }

  RowSink& sink_;
  const LineText text_;
  LineFields fields_;
  int lineNumber_ = 0;
  bool sawNonBlank_ = false;
  int nameColumn_ = -1;
  std::string macHolder_, headerNameHolder_, otherNameHolder_, headerUtf8_;
  TextListRead read_;
};

// Lines of text in UTF-8 or GBK end at CR LF, LF or CR; no GBK trail byte
// is either. The next CR and the next LF are each searched for once, a
// block of bytes at a time, and kept until the lines pass them: a file of
// CR-ended lines is not searched to its end for an LF on every line.
void ReadByteLines(std::string_view text, TextListReader& reader) {
  const std::size_t size = text.size();
  std::size_t nextCr = std::min(text.find('\r'), size), nextLf = std::min(text.find('\n'), size);
  for (std::size_t at = 0; at < size;) {
    if (nextCr < at) nextCr = std::min(text.find('\r', at), size);
    if (nextLf < at) nextLf = std::min(text.find('\n', at), size);
    const std::size_t end = std::min(nextCr, nextLf);
    reader.readLine(text.substr(at, end - at));
    if (end == size) break;
    at = end + (end == nextCr && end + 1 == nextLf ? 2 : 1);
  }
}

void ReadUtf16Lines(std::string_view body, bool bigEndian, TextListReader& reader) {
  Utf16Lines lines(body, bigEndian);
  std::string line;
  while (lines.next(line)) reader.readLine(line);
}

// Room in the list for the rows a text of this many bytes (as one byte a
// character) may hold: a line with a MAC and a name takes some 24 bytes at
// the least, and the list keeps the name twice (as read and renamed) beside
// the MAC, about one and a half times the line's bytes for the shortest
// lines, our export's.
void ExpectRowsOf(std::size_t textBytes, RowSink& sink) { sink.expect(textBytes / 24, textBytes + textBytes / 2); }

}  // namespace

TextListRead ReadTextList(std::string_view bytes, RowSink& sink) {
  const bool littleEndian16 = StartsWith(bytes, "\xFF\xFE"), bigEndian16 = StartsWith(bytes, "\xFE\xFF");
  if (littleEndian16 || bigEndian16) {
    ExpectRowsOf(bytes.size() / 2, sink);
    TextListReader reader(sink, LineText::Utf8);
    ReadUtf16Lines(bytes.substr(2), bigEndian16, reader);
    return std::move(reader).result();
  }
  const bool utf8Mark = StartsWith(bytes, "\xEF\xBB\xBF");
  const std::string_view body = utf8Mark ? bytes.substr(3) : bytes;
  ExpectRowsOf(body.size(), sink);
  TextListReader reader(sink, utf8Mark || ReadsAsUtf8(body) ? LineText::Utf8 : LineText::Gbk);
  ReadByteLines(body, reader);
  return std::move(reader).result();
}

}  // namespace venbrook
