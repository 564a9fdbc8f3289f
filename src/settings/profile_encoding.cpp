#include "settings/profile_encoding.h"

#include <algorithm>

#include "platform/os.h"
#include "platform/utf16.h"

namespace venbrook {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

char16_t UnitAt(std::string_view bytes, std::size_t at, bool bigEndian) {
  const auto first = static_cast<unsigned char>(bytes[at]);
  const auto second = static_cast<unsigned char>(bytes[at + 1]);
  return static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
}

// Where GBK lines appended to UTF-16 begin, or the size of `body` when
// none were. Hands that took the file for GBK added, right after its last
// unit, a line end of one byte and a section ("\n[" or "\r\n[") with a key
// line in it, and no NUL byte, which GBK text never holds; in UTF-16 those
// bytes at a unit's place would be U+5B0A or the unassigned U+0A0D.
std::size_t GbkTailStart(std::string_view body) {
  const std::size_t lastNul = body.rfind('\0');
  const std::size_t lastEquals = body.rfind('=');
  std::size_t at = lastNul == std::string_view::npos ? 0 : lastNul + 1;
  for (at += at % 2; at < body.size() && lastEquals != std::string_view::npos && at < lastEquals; at += 2) {
    const std::string_view rest = body.substr(at);
    if (rest.starts_with("\n[") || rest.starts_with("\r\n[")) return at;
  }
  return body.size();
}

std::u16string GbkToUtf16(std::string_view gbk) { return Utf8ToUtf16(os::ConvertGbkToUtf8(gbk)); }

std::u16string LinesToUtf16(std::string_view text) {
  std::u16string converted;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
    const std::string_view line = text.substr(at, end - at);
    converted += IsWellFormedUtf8(line) ? Utf8ToUtf16(line) : GbkToUtf16(line);
    at = end;
  }
  return converted;
}

}  // namespace

ProfileContent DecodeProfile(std::string_view bytes) {
  ProfileContent content;
  const bool bigEndian = bytes.starts_with(kUtf16BeMark);
  if (bigEndian || bytes.starts_with(kUtf16LeMark)) {
    content.encoding = bigEndian ? ProfileEncoding::Utf16Be : ProfileEncoding::Utf16Le;
    const std::string_view body = bytes.substr(2);
    const std::size_t tail = GbkTailStart(body);
    content.utf16.reserve(body.size() / 2 + 1);
    for (std::size_t at = 0; at + 1 < tail; at += 2) content.utf16 += UnitAt(body, at, bigEndian);
    if (tail % 2 == 1) content.utf16 += u'\uFFFD';
    content.utf16 += GbkToUtf16(body.substr(tail));
    return content;
  }
  content.gbk.assign(bytes);
  std::erase(content.gbk, '\0');
  return content;
}

std::string EncodeProfile(const ProfileContent& content) {
  if (content.encoding == ProfileEncoding::Gbk) return content.gbk;
  const bool bigEndian = content.encoding == ProfileEncoding::Utf16Be;
  std::string bytes(bigEndian ? kUtf16BeMark : kUtf16LeMark);
  bytes.reserve(2 + content.utf16.size() * 2);
  for (const char16_t unit : content.utf16) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

ProfileContent InUtf16(const ProfileContent& content) {
  if (content.encoding != ProfileEncoding::Gbk) return content;
  const std::string_view text = content.gbk;
  ProfileContent converted;
  converted.encoding = ProfileEncoding::Utf16Le;
  converted.utf16 = text.starts_with(kUtf8Mark) ? LinesToUtf16(text.substr(kUtf8Mark.size())) : GbkToUtf16(text);
  return converted;
}

}  // namespace venbrook
