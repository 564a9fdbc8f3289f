#include "sources/profile_file.h"

#include <optional>
#include <vector>

#include "model/gbk_text.h"
#include "platform/os.h"

namespace venbrook {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

struct Line {
  std::string_view text;  // without its line end
  std::size_t begin;      // offset of the line in the content
  std::size_t end;        // offset just past its line end
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  for (std::size_t at = 0; at < content.size();) {
    std::size_t stop = content.find_first_of("\r\n", at);
    if (stop == std::string_view::npos) stop = content.size();
    std::size_t next = stop;
    if (next < content.size() && content[next] == '\r') ++next;
    if (next < content.size() && content[next] == '\n') ++next;
    lines.push_back({content.substr(at, stop - at), at, next});
    at = next;
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key name of a "key=value" line.
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

std::string_view Unquoted(std::string_view value) {
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

Place Find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place place;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i].text)) {
      inside = !place.sectionLine && EqualIgnoringAsciiCase(*name, section);
      if (inside) place.sectionLine = i, place.sectionEnd = i + 1;
      continue;
    }
    if (!inside) continue;
    const auto name = KeyName(lines[i].text);
    if (!name) continue;
    place.sectionEnd = i + 1;
    if (!place.keyLine && EqualIgnoringAsciiCase(*name, key)) place.keyLine = i;
  }
  return place;
}

std::string_view LineEndOf(std::string_view content) {
  const std::size_t lf = content.find('\n');
  return lf != std::string_view::npos && lf > 0 && content[lf - 1] == '\r' ? "\r\n"
         : lf != std::string_view::npos                                  ? "\n"
                                                                         : "\r\n";
}

// Bytes of the longest start of `text` that fits in `limit` bytes without
// cutting a double-byte character in two.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit) {
  std::size_t at = 0;
  while (at < limit && at + CharacterLength(text, at) <= limit) at += CharacterLength(text, at);
  return at;
}

}  // namespace

std::string ProfileValue(std::string_view content, std::string_view section, std::string_view key) {
  const std::vector<Line> lines = SplitLines(content);
  const Place place = Find(lines, section, key);
  if (!place.keyLine) return {};
  const std::string_view line = lines[*place.keyLine].text;
  return std::string(Unquoted(line.substr(line.find('=') + 1)));
}

std::string WithProfileValue(std::string_view content, std::string_view section, std::string_view key,
                             std::string_view value) {
  const std::vector<Line> lines = SplitLines(content);
  const Place place = Find(lines, section, key);
  const std::string_view lineEnd = LineEndOf(content);
  const std::string keyLine = std::string(key) + "=" + std::string(value);
  std::string updated;
  if (place.keyLine) {
    const Line& line = lines[*place.keyLine];
    updated.append(content.substr(0, line.begin)).append(keyLine);
    updated.append(content.substr(line.begin + line.text.size()));
    return updated;
  }
  if (place.sectionLine) {
    const Line& last = lines[place.sectionEnd - 1];
    updated.append(content.substr(0, last.end));
    if (last.end == last.begin + last.text.size()) updated.append(lineEnd);  // no final line end
    updated.append(keyLine).append(lineEnd).append(content.substr(last.end));
    return updated;
  }
  updated.append(content);
  if (!updated.empty() && updated.back() != '\n') updated.append(lineEnd);
  updated.append("[").append(section).append("]").append(lineEnd).append(keyLine).append(lineEnd);
  return updated;
}

std::string ReadIniValue(std::string_view path, std::string_view section, std::string_view key,
                              std::size_t bufferSize) {
  const std::optional<std::string> content = os::ReadWholeFile(path);
  if (!content || bufferSize == 0) return {};
  std::string value = ProfileValue(*content, section, key);
  if (value.size() > bufferSize - 1) value.resize(WholeCharactersWithin(value, bufferSize - 1));
  return value;
}

bool WriteIniValue(std::string_view path, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::optional<std::string> content = os::ReadWholeFile(path);
  if (!content && os::PathExists(path)) return false;  // unreadable: keep what it holds
  return os::ReplaceWholeFile(path, WithProfileValue(content.value_or(""), section, key, value));
}

}  // namespace venbrook
