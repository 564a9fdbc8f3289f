#include "platform/path.h"

#include "platform/os.h"
#include "platform/utf16.h"

namespace venbrook {
namespace {

constexpr std::string_view kSeparators = "\\/";

// The part after the separator at `last`; empty when there is none.
std::string_view After(std::string_view utf8, std::size_t last) {
  return last == std::string_view::npos ? std::string_view{} : utf8.substr(last + 1);
}

}  // namespace

Path Path::FromUtf8(std::string_view utf8) { return Path(std::string(utf8)); }
Path Path::FromUtf16(std::u16string_view utf16) { return Path(Utf16ToUtf8(utf16)); }
Path Path::FromGbk(std::string_view gbk) { return Path(os::ConvertGbkToUtf8(gbk)); }

std::u16string Path::utf16() const { return Utf8ToUtf16(utf8_); }

// Code page 936 writes a character it lacks as '?', which reads back as '?'
// and not as the character: the path survives GBK exactly when its bytes
// read back as the path.
std::optional<std::string> Path::gbk() const {
  std::string bytes = gbkShown();
  if (os::ConvertGbkToUtf8(bytes) != utf8_) return std::nullopt;
  return bytes;
}

std::string Path::gbkShown() const { return os::ConvertUtf8ToGbk(utf8_); }

std::string_view Path::fileName() const { return After(utf8_, utf8_.find_last_of(kSeparators)); }

std::string_view Path::nameAfterLastBackslash() const { return After(utf8_, utf8_.rfind('\\')); }

Path Path::folder() const {
  const std::size_t last = utf8_.find_last_of(kSeparators);
  return last == std::string::npos ? *this : Path(utf8_.substr(0, last));
}

Path Path::asFolder() const { return endsWithBackslash() ? *this : Path(utf8_ + '\\'); }

Path Path::child(std::string_view utf8Name) const { return Path(asFolder().utf8_ + std::string(utf8Name)); }

Path Path::withSuffix(std::string_view utf8Suffix) const { return Path(utf8_ + std::string(utf8Suffix)); }

}  // namespace venbrook
