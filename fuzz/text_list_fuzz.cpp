// Fuzz target: the text-list reader (ReadTextList) over a whole file's bytes:
// UTF-16 with either mark, UTF-8 with or without one, GBK; quotes,
// separators, blanks, lines of any length, NUL bytes and junk.
// Input: the file's bytes.
// Properties checked on every input:
//   - the same bytes read twice give the same rows and counts;
//   - the count of rows is the list's, and never more than the non-blank
//     lines; without quotes (no record runs over lines), the non-blank
//     lines (split and tested here, plainly) are the rows, the skipped
//     lines and at most one header;
//   - the first skipped line numbers are min(3, skipped) rising numbers of
//     non-blank lines;
//   - every row's MAC is a machine's MAC in the one form; every name is
//     well-formed code page 936 without CR, LF or NUL (FF, Windows's byte
//     for U+F8F5, only from a text read as UTF-8 or UTF-16);
//   - text that is valid UTF-8 reads the same with a UTF-8 mark and as
//     UTF-16 LE and BE with theirs;
//   - a line break added at the end changes nothing;
//   - in a GBK text without quotes, every name is a piece of the text.
// UTF-16 without a mark is left to the targeted tests: the plain line
// split here does not know it.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "model/mac_address.h"
#include "model/machine_list.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_encoding.h"
#include "sources/text/text_list.h"

namespace venbrook {
namespace {

struct Outcome {
  std::vector<std::string> cells;  // name, new name and MAC of each row
  TableRead read;
  bool operator==(const Outcome& other) const {
    return cells == other.cells && read.rows == other.read.rows && read.skippedLines == other.read.skippedLines &&
           read.firstSkipped == other.read.firstSkipped;
  }
};

Outcome Read(std::string_view bytes) {
  MachineList list;
  const RenameRule rule{"W-", "PC", "X"};
  RowSink sink(list, rule, MacRule::Canonical);
  Outcome outcome;
  outcome.read = ReadTextList(bytes, sink);
  FUZZ_CHECK(outcome.read.rows == list.count());
  for (int row = 0; row < list.count(); ++row)
    for (int column = 0; column < kColumnCount; ++column) outcome.cells.emplace_back(list.cellText(row, column));
  return outcome;
}

// Code points of UTF-8 text; false when it is not well formed (up to four
// bytes, nothing overlong, no surrogates, nothing past U+10FFFF).
bool DecodeUtf8(std::string_view text, std::vector<char32_t>& codePoints) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5                 ? 4
                                                                             : 0;
    if (length == 0 || at + length > text.size()) return false;
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      codePoint = codePoint << 6 | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < least[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000)) return false;
    codePoints.push_back(codePoint);
    at += length;
  }
  return true;
}

std::string Utf16(const std::vector<char32_t>& codePoints, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  const auto put = [&](char32_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  };
  for (const char32_t codePoint : codePoints) {
    if (codePoint < 0x10000) {
      put(codePoint);
    } else {
      put(0xD800 + ((codePoint - 0x10000) >> 10));
      put(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    }
  }
  return bytes;
}

// The text's lines as the reader sees them, each told blank or not: UTF-16
// units (or GBK characters, or UTF-8 bytes) one at a time.
struct LineKinds {
  int lines = 0;
  std::vector<int> nonBlank;  // 1-based numbers
};

LineKinds KindsOfLines(std::string_view bytes) {
  std::vector<char32_t> units;  // UTF-16 units, or bytes (with the ideographic space as 0x3000)
  const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
  if (utf16) {
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
      const auto first = static_cast<unsigned char>(bytes[at]), second = static_cast<unsigned char>(bytes[at + 1]);
      units.push_back(bytes[0] == '\xFE' ? first << 8 | second : second << 8 | first);
    }
    if (bytes.size() % 2 == 1) units.push_back(0xFFFF);  // the cut-off half character
  } else {
    std::string_view text = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    std::vector<char32_t> ignored;
    bool multiByte = false;
    for (char c : text) multiByte |= static_cast<unsigned char>(c) >= 0x80;
    const bool gbk = text.size() == bytes.size() && !(multiByte && DecodeUtf8(text, ignored));
    for (std::size_t at = 0; at < text.size();) {
      const std::string_view rest = text.substr(at);
      const auto lead = static_cast<unsigned char>(rest[0]);
      const bool pair = rest.size() >= 2 && lead >= 0x81 && lead <= 0xFE &&
                        static_cast<unsigned char>(rest[1]) >= 0x40 && rest[1] != '\x7F' && rest[1] != '\xFF';
      if (gbk ? rest.starts_with("\xA1\xA1") : rest.starts_with("\xE3\x80\x80")) {
        units.push_back(0x3000);
        at += gbk ? 2 : 3;
      } else {
        units.push_back(lead);
        at += gbk && pair ? 2 : 1;
      }
    }
  }
  LineKinds kinds;
  bool blank = true, open = false;
  for (std::size_t at = 0; at < units.size(); ++at) {
    const char32_t unit = units[at];
    if (unit == '\r' || unit == '\n') {
      ++kinds.lines;
      if (!blank) kinds.nonBlank.push_back(kinds.lines);
      if (unit == '\r' && at + 1 < units.size() && units[at + 1] == '\n') ++at;
      blank = true, open = false;
      continue;
    }
    open = true;
    blank = blank && (unit == ' ' || unit == '\t' || unit == 0x3000);
  }
  if (open) {
    ++kinds.lines;
    if (!blank) kinds.nonBlank.push_back(kinds.lines);
  }
  return kinds;
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const Outcome outcome = Read(input);
  FUZZ_CHECK(Read(input) == outcome);
  const DetectedEncoding detected = DetectTextEncoding(input);
  const bool unmarked16 = detected.markBytes == 0 &&
                          (detected.encoding == TextEncoding::Utf16Le || detected.encoding == TextEncoding::Utf16Be);
  if (unmarked16) return 0;

  const LineKinds kinds = KindsOfLines(input);
  const int nonBlank = static_cast<int>(kinds.nonBlank.size());
  const TableRead& read = outcome.read;
  const bool quoteless = input.find('"') == std::string_view::npos;
  const int header = nonBlank - read.rows - read.skippedLines;
  FUZZ_CHECK(header >= 0 && (header <= 1 || !quoteless));
  FUZZ_CHECK(static_cast<int>(read.firstSkipped.size()) == std::min(read.skippedLines, 3));
  for (std::size_t i = 0; i < read.firstSkipped.size(); ++i) {
    FUZZ_CHECK(i == 0 || read.firstSkipped[i] > read.firstSkipped[i - 1]);
    FUZZ_CHECK(std::find(kinds.nonBlank.begin(), kinds.nonBlank.end(), read.firstSkipped[i]) != kinds.nonBlank.end());
  }

  const bool utf16 = input.starts_with("\xFF\xFE") || input.starts_with("\xFE\xFF");
  std::vector<char32_t> ignored;
  const bool gbk = !utf16 && !input.starts_with("\xEF\xBB\xBF") && !DecodeUtf8(input, ignored);
  for (std::size_t row = 0; row < outcome.cells.size(); row += kColumnCount) {
    const std::string& name = outcome.cells[row + kMachineNameColumn];
    const std::string& mac = outcome.cells[row + kMacColumn];
    const std::int64_t number = MacNumber(mac);
    FUZZ_CHECK(IsMachineAddress(number) && CanonicalMacText(number) == mac);
    FUZZ_CHECK(fuzz::Cp936Characters(name, !gbk) != std::string_view::npos);
    FUZZ_CHECK(name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
  }
  if (!utf16 && quoteless) {
    for (std::size_t row = 0; gbk && row < outcome.cells.size(); row += kColumnCount)
      FUZZ_CHECK(input.find(outcome.cells[row + kMachineNameColumn]) != std::string_view::npos);
  }

  if (!utf16 && !unmarked16 && DetectTextEncoding(std::string(input) + "\n").markBytes == 0 &&
      DetectTextEncoding(std::string(input) + "\n").encoding == detected.encoding)
    FUZZ_CHECK(Read(std::string(input) + "\n") == outcome);

  std::vector<char32_t> codePoints;
  if (!utf16 && DecodeUtf8(input, codePoints)) {
    const Outcome marked = Read("\xEF\xBB\xBF" + std::string(input));
    FUZZ_CHECK(Read(Utf16(codePoints, false)) == marked);
    FUZZ_CHECK(Read(Utf16(codePoints, true)) == marked);
    // Text of ASCII alone reads as GBK and must give the same.
    if (codePoints.size() == input.size()) FUZZ_CHECK(marked == outcome);
  }
  return 0;
}
