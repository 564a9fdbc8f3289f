#include "sources/blocks/ldif_layout.h"

#include <initializer_list>
#include <optional>
#include <string>

#include "platform/utf8.h"
#include "sources/blocks/adapter_facts.h"
#include "sources/blocks/base64.h"
#include "sources/blocks/record_cells.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWord(std::string_view text, std::string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (LowerAscii(text[i]) != lowerWord[i]) return false;
  return true;
}

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> lowerWords) {
  for (const std::string_view word : lowerWords)
    if (SameWord(text, word)) return true;
  return false;
}

// The logical lines of an LDIF text, each with the lines folded into it.
class UnfoldedLines {
 public:
  explicit UnfoldedLines(std::string_view text) : lines_(text) {}

  // False at the text's end, or at a line past kMaxRecordBytes (then
  // tooLong()), before it is copied.
  bool next(std::string& line, int& number) {
    std::string_view physical;
    if (!fetch(physical)) return false;
    number = number_;
    if (physical.size() > kMaxRecordBytes) return fail();
    line.assign(physical);
    while (!line.empty() && fetch(physical)) {
      if (!physical.starts_with(' ')) {
        held_ = physical;
        heldNumber_ = number_;
        holding_ = true;
        break;
      }
      if (line.size() + physical.size() > kMaxRecordBytes) return fail();
      line.append(physical.substr(1));
    }
    return true;
  }
  bool tooLong() const { return tooLong_; }

 private:
  bool fetch(std::string_view& physical) {
    if (holding_) {
      holding_ = false;
      physical = held_;
      number_ = heldNumber_;
      return true;
    }
    if (!lines_.next(physical)) return false;
    number_ = lines_.number();
    return true;
  }
  bool fail() {
    tooLong_ = true;
    return false;
  }

  TextLines lines_;
  std::string_view held_;
  int heldNumber_ = 0, number_ = 0;
  bool holding_ = false, tooLong_ = false;
};

// Text a person could read: UTF-8 without control characters.
bool IsReadableText(std::string_view value) {
  if (!IsUtf8OfAtMost(value, 4)) return false;
  for (const char c : value)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

// An attribute line's description and value: none for a value given by a
// URL, by base64 that does not decode, or that is no text.
std::optional<std::string> ValueOf(std::string_view line, std::size_t colon) {
  std::string_view rest = line.substr(colon + 1);
  const bool base64 = rest.starts_with(':');
  if (rest.starts_with('<')) return std::nullopt;
  if (base64) rest.remove_prefix(1);
  rest = TrimBlanks(rest);
  if (!base64) return std::string(rest);
  std::optional<std::string> decoded = DecodeBase64(rest);
  if (!decoded || !IsReadableText(*decoded)) return std::nullopt;
  return decoded;
}

}  // namespace

LayoutEnd LdifLayout::forEachRecord(RecordVisitor& visitor) {
  UnfoldedLines lines(text_);
  std::string line;
  int number = 0, entryLine = 0;
  bool inEntry = false, machine = false;
  RecordCells cells;
  // False when the visitor asks to stop.
  const auto endEntry = [&] {
    const bool handed = !inEntry || !machine || cells.handTo(visitor, entryLine);
    cells.clear();
    inEntry = machine = false;
    return handed;
  };
  while (lines.next(line, number)) {
    if (TrimBlanks(line).empty()) {
      if (!endEntry()) return {LayoutEnd::How::Stopped};
      continue;
    }
    const std::size_t colon = line.find(':');
    if (line.starts_with('#') || line == "-" || colon == std::string::npos || colon == 0) continue;
    const std::string_view attribute = std::string_view(line).substr(0, colon);
    if (SameWord(attribute, "dn")) {
      if (!endEntry()) return {LayoutEnd::How::Stopped};
      inEntry = true;
      entryLine = number;
      continue;
    }
    if (!inEntry || IsOneOf(attribute, {"changetype", "control", "add", "replace", "delete", "increment", "newrdn",
                                        "deleteoldrdn", "newsuperior"}))
      continue;
    std::optional<std::string> value = ValueOf(line, colon);
    if (!value) continue;
    if (SameWord(attribute, "objectclass"))
      machine = machine || IsOneOf(*value, {"computer", "device", "ieee802device", "iphost"});
    machine = machine || IsMacValue(*value);
    if (SameWord(attribute, "samaccountname") && value->ends_with('$')) value->pop_back();
    const int column = BoundedColumnOf(keys_, attribute);
    if (column < 0) return LayoutEnd::Past(Bound::RecordCells);
    if (!cells.add(column, *value)) return LayoutEnd::Past(Bound::RecordBytes);
  }
  if (lines.tooLong()) return LayoutEnd::Past(Bound::RecordBytes);
  if (!endEntry()) return {LayoutEnd::How::Stopped};
  return {};
}

bool LooksLikeLdif(std::string_view sampleUtf8) {
  TextLines lines(sampleUtf8);
  std::string_view line;
  bool first = true;
  while (lines.next(line)) {
    if (TrimBlanks(line).empty() || line.starts_with('#') || line.starts_with(' ')) continue;
    const std::string_view attribute = line.substr(0, line.find(':'));
    if (attribute.size() == line.size()) return false;
    if (SameWord(attribute, "dn")) return true;
    if (!first || !SameWord(attribute, "version")) return false;
    first = false;
  }
  return false;
}

std::unique_ptr<TableLayout> MakeLdifLayout(std::string_view textUtf8) {
  return std::make_unique<LdifLayout>(textUtf8);
}

}  // namespace venbrook
