#include "settings/profile_text.h"

#include <optional>
#include <vector>

#include "model/gbk_text.h"

namespace venbrook {
namespace {

template <typename Char>
using Text = std::basic_string_view<Char>;

template <typename Char>
constexpr Char kBlanks[] = {' ', '\t', 0};
template <typename Char>
constexpr Char kLineBreaks[] = {'\r', '\n', 0};
template <typename Char>
constexpr Char kCrLf[] = {'\r', '\n', 0};

template <typename Char>
Text<Char> Trim(Text<Char> text) {
  const std::size_t first = text.find_first_not_of(kBlanks<Char>);
  if (first == Text<Char>::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks<Char>);
  return text.substr(first, last - first + 1);
}

// Names in a GBK file compare by characters, so that a trail byte that looks
// like a letter never matches its other case; in UTF-16 every unit that is
// a letter is one.
bool SameName(std::string_view a, std::string_view b) { return EqualIgnoringAsciiCase(a, b); }
bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  const auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

template <typename Char>
struct Line {
  Text<Char> text;    // without its line end
  std::size_t begin;  // offset of the line in the content
  std::size_t end;    // offset just past its line end
};

template <typename Char>
std::vector<Line<Char>> SplitLines(Text<Char> content) {
  std::vector<Line<Char>> lines;
  for (std::size_t at = 0; at < content.size();) {
    std::size_t stop = content.find_first_of(kLineBreaks<Char>, at);
    if (stop == Text<Char>::npos) stop = content.size();
    std::size_t next = stop;
    if (next < content.size() && content[next] == '\r') ++next;
    if (next < content.size() && content[next] == '\n') ++next;
    lines.push_back({content.substr(at, stop - at), at, next});
    at = next;
  }
  return lines;
}

// The section name of a "[name]" line.
template <typename Char>
std::optional<Text<Char>> SectionName(Text<Char> line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(Char(']'));
  return Trim(line.substr(1, close == Text<Char>::npos ? Text<Char>::npos : close - 1));
}

// The key name of a "key=value" line.
template <typename Char>
std::optional<Text<Char>> KeyName(Text<Char> line) {
  const std::size_t equals = line.find(Char('='));
  if (equals == Text<Char>::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

template <typename Char>
Text<Char> Unquoted(Text<Char> value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

struct Place {
  std::optional<std::size_t> sectionLine;  // index of the section header
  std::optional<std::size_t> keyLine;      // index of the key's line
  std::size_t sectionEnd = 0;              // index after the section's last key line
};

template <typename Char>
Place Find(const std::vector<Line<Char>>& lines, Text<Char> section, Text<Char> key) {
  Place place;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i].text)) {
      inside = !place.sectionLine && SameName(*name, section);
      if (inside) place.sectionLine = i, place.sectionEnd = i + 1;
      continue;
    }
    if (!inside) continue;
    const auto name = KeyName(lines[i].text);
    if (!name) continue;
    place.sectionEnd = i + 1;
    if (!place.keyLine && SameName(*name, key)) place.keyLine = i;
  }
  return place;
}

// The file's own line end, taken from its first line: CR LF for a file
// without any.
template <typename Char>
Text<Char> LineEndOf(Text<Char> content) {
  const Text<Char> crLf = kCrLf<Char>;
  const std::size_t lf = content.find(Char('\n'));
  if (lf == Text<Char>::npos || (lf > 0 && content[lf - 1] == '\r')) return crLf;
  return crLf.substr(1);
}

template <typename Char>
std::basic_string<Char> Value(Text<Char> content, Text<Char> section, Text<Char> key) {
  const std::vector<Line<Char>> lines = SplitLines(content);
  const Place place = Find(lines, section, key);
  if (!place.keyLine) return {};
  const Text<Char> line = lines[*place.keyLine].text;
  return std::basic_string<Char>(Unquoted(line.substr(line.find(Char('=')) + 1)));
}

template <typename Char>
std::basic_string<Char> WithValue(Text<Char> content, Text<Char> section, Text<Char> key, Text<Char> value) {
  const std::vector<Line<Char>> lines = SplitLines(content);
  const Place place = Find(lines, section, key);
  const Text<Char> lineEnd = LineEndOf(content);
  std::basic_string<Char> keyLine(key);
  keyLine.append(1, Char('=')).append(value);
  std::basic_string<Char> updated;
  if (place.keyLine) {
    const Line<Char>& line = lines[*place.keyLine];
    updated.append(content.substr(0, line.begin)).append(keyLine);
    updated.append(content.substr(line.begin + line.text.size()));
    return updated;
  }
  if (place.sectionLine) {
    const Line<Char>& last = lines[place.sectionEnd - 1];
    updated.append(content.substr(0, last.end));
    if (last.end == last.begin + last.text.size()) updated.append(lineEnd);  // no final line end
    updated.append(keyLine).append(lineEnd).append(content.substr(last.end));
    return updated;
  }
  updated.append(content);
  if (!updated.empty() && updated.back() != '\n') updated.append(lineEnd);
  updated.append(1, Char('[')).append(section).append(1, Char(']')).append(lineEnd);
  updated.append(keyLine).append(lineEnd);
  return updated;
}

}  // namespace

std::string ProfileValue(std::string_view content, std::string_view section, std::string_view key) {
  return Value(content, section, key);
}

std::u16string ProfileValue(std::u16string_view content, std::u16string_view section, std::u16string_view key) {
  return Value(content, section, key);
}

std::string WithProfileValue(std::string_view content, std::string_view section, std::string_view key,
                             std::string_view value) {
  return WithValue(content, section, key, value);
}

std::u16string WithProfileValue(std::u16string_view content, std::u16string_view section, std::u16string_view key,
                                 std::u16string_view value) {
  return WithValue(content, section, key, value);
}

}  // namespace venbrook
