// Fuzz target: the INI reader and writer behind config.ini (DecodeProfile,
// EncodeProfile, ProfileValue, WithProfileValue), on the text of GBK and of
// UTF-16 files alike.
// Input: a value NUL the file's bytes. The value loses its line breaks
// first, as the one-line path box never holds one.
// Properties checked on every input:
//   - a GBK file (no NUL byte, no UTF-16 mark) is its bytes: written back
//     unchanged;
//   - after a write the key reads back as the value, trimmed of surrounding
//     blanks and one pair of enclosing quotes;
//   - every other key keeps its value, and every line of the file but the
//     key's own is still there, in the same order, with at most the key's
//     line (and a section header and a line end) added;
//   - writing the same value again changes nothing.
#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "platform/utf16.h"
#include "settings/profile_encoding.h"
#include "settings/profile_text.h"

namespace venbrook {
namespace {

template <typename Char>
using Text = std::basic_string_view<Char>;

template <typename Char>
std::vector<Text<Char>> Lines(Text<Char> content) {
  std::vector<Text<Char>> lines;
  for (std::size_t at = 0; at < content.size();) {
    std::size_t stop = at;
    while (stop < content.size() && content[stop] != '\r' && content[stop] != '\n') ++stop;
    lines.push_back(content.substr(at, stop - at));
    at = stop;
    if (at < content.size() && content[at] == '\r') ++at;
    if (at < content.size() && content[at] == '\n') ++at;
  }
  return lines;
}

template <typename Char>
Text<Char> AsRead(Text<Char> value) {
  const auto blank = [](Char c) { return c == ' ' || c == '\t'; };
  while (!value.empty() && blank(value.front())) value.remove_prefix(1);
  while (!value.empty() && blank(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

template <typename Char>
std::basic_string<Char> Name(const char* ascii) {
  return std::basic_string<Char>(ascii, ascii + std::char_traits<char>::length(ascii));
}

template <typename Char>
void CheckWrite(Text<Char> content, Text<Char> value) {
  const auto config = Name<Char>("config"), data = Name<Char>("data");
  const std::basic_string<Char> written = WithProfileValue(content, config, data, value);
  FUZZ_CHECK(ProfileValue(Text<Char>(written), config, data) == AsRead(value));
  for (const auto& [section, key] : {std::pair{"config", "x"}, std::pair{"other", "data"}, std::pair{"other", "x"}})
    FUZZ_CHECK(ProfileValue(Text<Char>(written), Name<Char>(section), Name<Char>(key)) ==
               ProfileValue(content, Name<Char>(section), Name<Char>(key)));

  // The lines after the write are those before with one line changed, or
  // with one run of up to three lines put in (the key; or a line end, the
  // section and the key at the end).
  const auto before = Lines(content);
  const auto after = Lines(Text<Char>(written));
  const std::size_t shorter = std::min(before.size(), after.size());
  std::size_t start = 0;  // lines alike at the start
  while (start < shorter && before[start] == after[start]) ++start;
  std::size_t end = 0;  // and then at the end
  while (start + end < shorter && before[before.size() - 1 - end] == after[after.size() - 1 - end]) ++end;
  const std::size_t same = start + end;
  if (after.size() == before.size()) FUZZ_CHECK(same + 1 >= before.size());
  else FUZZ_CHECK(after.size() > before.size() && after.size() - before.size() <= 3 && same == before.size());
  FUZZ_CHECK(WithProfileValue(Text<Char>(written), config, data, value) == written);
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const auto parts = fuzz::Parts(data, size, 2);
  std::string value(parts[0]);
  std::replace(value.begin(), value.end(), '\r', ' ');
  std::replace(value.begin(), value.end(), '\n', ' ');
  const std::string_view bytes = parts[1];

  const ProfileContent content = DecodeProfile(bytes);
  if (content.encoding == ProfileEncoding::Gbk) {
    if (bytes.find('\0') == std::string_view::npos) FUZZ_CHECK(EncodeProfile(content) == bytes);
    CheckWrite<char>(content.gbk, value);
  } else {
    CheckWrite<char16_t>(content.utf16, Utf8ToUtf16(value));
  }
  return 0;
}
