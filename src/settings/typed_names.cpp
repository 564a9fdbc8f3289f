#include "settings/typed_names.h"

#include <algorithm>

#include "model/mac_address.h"
#include "model/text_codec.h"
#include "platform/code_page_936.h"
#include "platform/os.h"
#include "platform/utf16.h"
#include "settings/profile_encoding.h"

namespace venbrook {
namespace {

// Our own first line. Its GBK bytes are no UTF-8, so a file we wrote is
// never taken for one saved by an editor in UTF-8.
const std::string& HeaderLine() {
  static const std::string line = Gbk("; Venbrook 记下的手动命名，一行一台：MAC地址=新机器编号");
  return line;
}
const std::string& SectionLine() {
  static const std::string line = Gbk("[机器名]");
  return line;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool HasByteAbove7F(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string_view WithoutLeadingBlanks(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view{} : line.substr(first);
}

// The file's text and whether it is UTF-8: a file saved as "Unicode" (its
// mark tells UTF-16) or as UTF-8 (its mark, or bytes that are all UTF-8
// with some character past ASCII) is read as such; any other file is GBK.
std::string TextOf(std::string bytes, bool& utf8) {
  utf8 = true;
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return Utf16ToUtf8(DecodeProfile(bytes).utf16);
  if (bytes.starts_with(kUtf8Mark)) return bytes.substr(kUtf8Mark.size());
  utf8 = HasByteAbove7F(bytes) && IsWellFormedUtf8(bytes);
  return bytes;
}

}  // namespace

void TypedNames::read() {
  std::string bytes;
  const os::SourceFileRead outcome =
      os::PathExists(file_) ? os::ReadSourceFile(file_, kMaxFileBytes, bytes) : os::SourceFileRead::Read;
  readBytes(std::move(bytes));
  if (outcome == os::SourceFileRead::TooLarge) state_ = State::TooLarge;
  if (outcome == os::SourceFileRead::CannotOpen || outcome == os::SourceFileRead::Failed) state_ = State::Unreadable;
}

void TypedNames::readBytes(std::string bytes) {
  names_.clear();
  comments_.clear();
  state_ = State::Kept;
  badLine_ = 0;
  bool utf8 = false;
  const std::string text = TextOf(std::move(bytes), utf8);
  int number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    ++number;
    if (!readLine(line, utf8) && badLine_ == 0) badLine_ = number;
    start = end + 1;
  }
  if (badLine_ != 0) state_ = State::NotUnderstood;
}

// A line understood is a blank one, a comment (kept), a section or a name.
// Of two lines for one machine, the first counts, as an INI file's key.
bool TypedNames::readLine(std::string_view line, bool utf8) {
  // No line holds a NUL or a line break but a binary file's.
  if (line.find_first_of(std::string_view("\0\r", 2)) != std::string_view::npos) return false;
  std::string converted;
  if (utf8) {
    converted = os::ConvertUtf8ToGbk(line);
    if (os::ConvertGbkToUtf8(converted) != line) return false;  // a character GBK lacks, or no UTF-8
    line = converted;
  }
  // Every line is written back as GBK, and must read back so: FF, which
  // Windows writes for the private-use U+F8F5, does not.
  if (!IsWellFormedCodePage936(line)) return false;
  const std::string_view content = WithoutLeadingBlanks(line);
  if (content.empty()) return true;
  if (content.front() == ';' || content.front() == '#') {
    if (line != HeaderLine()) comments_.emplace_back(line);
    return true;
  }
  if (content.front() == '[') return content.back() == ']';
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  const std::int64_t mac = MacNumber(line.substr(0, equals));
  const std::string_view name = line.substr(equals + 1);
  if (mac < 0 || !IsStorableName(name)) return false;
  names_.emplace(mac, name);
  return true;
}

bool TypedNames::IsStorableName(std::string_view name) {
  return name.size() <= kMaxNameBytes && name.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos &&
         IsWellFormedCodePage936(name);
}

bool TypedNames::save() {
  if (state_ == State::TooLarge || state_ == State::Unreadable || state_ == State::NotUnderstood) return false;
  const bool written = os::ReplaceWholeFile(file_, fileText());
  state_ = written ? State::Kept : State::NotWritten;
  return written;
}

std::string TypedNames::fileText() const {
  std::vector<const std::pair<const std::int64_t, std::string>*> byMac;
  byMac.reserve(names_.size());
  for (const auto& entry : names_) byMac.push_back(&entry);
  std::sort(byMac.begin(), byMac.end(), [](const auto* a, const auto* b) { return a->first < b->first; });

  std::string text = HeaderLine() + "\r\n";
  for (const std::string& comment : comments_) text += comment + "\r\n";
  text += SectionLine() + "\r\n";
  std::string mac;
  for (const auto* entry : byMac) {
    WriteCanonicalMac(entry->first, mac);
    text += mac + '=' + entry->second + "\r\n";
  }
  return text;
}

}  // namespace venbrook
