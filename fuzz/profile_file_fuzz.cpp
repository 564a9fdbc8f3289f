// Fuzz target: the INI reader and writer behind config.ini (ProfileValue,
// WithProfileValue).
// Input: a value NUL the file's content. The value loses its line breaks
// first, as the one-line path box never holds one.
// Properties checked on every input:
//   - after a write the key reads back as the value, trimmed of surrounding
//     blanks and one pair of enclosing quotes;
//   - every other key keeps its value, and every line of the file but the
//     key's own is still there, in the same order, with at most the key's
//     line (and a section header and a line end) added;
//   - writing the same value again changes nothing.
#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "sources/profile_file.h"

namespace venbrook {
namespace {

std::vector<std::string_view> Lines(std::string_view content) {
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at < content.size();) {
    std::size_t stop = content.find_first_of("\r\n", at);
    if (stop == std::string_view::npos) stop = content.size();
    lines.push_back(content.substr(at, stop - at));
    at = stop;
    if (at < content.size() && content[at] == '\r') ++at;
    if (at < content.size() && content[at] == '\n') ++at;
  }
  return lines;
}

std::string_view AsRead(std::string_view value) {
  const std::size_t first = value.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const auto parts = fuzz::Parts(data, size, 2);
  std::string value(parts[0]);
  std::replace(value.begin(), value.end(), '\r', ' ');
  std::replace(value.begin(), value.end(), '\n', ' ');
  const std::string_view content = parts[1];

  const std::string written = WithProfileValue(content, "config", "data", value);
  FUZZ_CHECK(ProfileValue(written, "config", "data") == AsRead(value));
  for (const auto& [section, key] : {std::pair{"config", "x"}, std::pair{"other", "data"}, std::pair{"other", "x"}})
    FUZZ_CHECK(ProfileValue(written, section, key) == ProfileValue(content, section, key));

  // The lines after the write are those before with one line changed, or
  // with one run of up to three lines put in (the key; or a line end, the
  // section and the key at the end).
  const auto before = Lines(content);
  const auto after = Lines(written);
  const std::size_t shorter = std::min(before.size(), after.size());
  std::size_t start = 0;  // lines alike at the start
  while (start < shorter && before[start] == after[start]) ++start;
  std::size_t end = 0;  // and then at the end
  while (start + end < shorter && before[before.size() - 1 - end] == after[after.size() - 1 - end]) ++end;
  const std::size_t same = start + end;
  if (after.size() == before.size()) FUZZ_CHECK(same + 1 >= before.size());
  else FUZZ_CHECK(after.size() > before.size() && after.size() - before.size() <= 3 && same == before.size());
  FUZZ_CHECK(WithProfileValue(written, "config", "data", value) == written);
  return 0;
}
