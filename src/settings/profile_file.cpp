#include "settings/profile_file.h"

#include <optional>

#include "model/gbk_text.h"
#include "platform/os.h"
#include "platform/utf16.h"
#include "settings/profile_encoding.h"

namespace venbrook {
namespace {

std::u16string Utf16OfGbk(std::string_view gbk) { return Utf8ToUtf16(os::ConvertGbkToUtf8(gbk)); }

// Bytes of the longest start of `text` that fits in `limit` bytes without
// cutting a double-byte character in two.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit) {
  std::size_t at = 0;
  while (at < limit && at + CharacterLength(text, at) <= limit) at += CharacterLength(text, at);
  return at;
}

void CutGbk(std::string& value, std::size_t bufferSize) {
  if (value.size() > bufferSize - 1) value.resize(WholeCharactersWithin(value, bufferSize - 1));
}

void CutUtf16(std::u16string& value, std::size_t bufferSize) {
  if (value.size() <= bufferSize - 1) return;
  std::size_t keep = bufferSize - 1;
  if (keep > 0 && value[keep - 1] >= 0xD800 && value[keep - 1] <= 0xDBFF) --keep;  // a pair's first half
  value.resize(keep);
}

// The key's value as the file holds it: GBK bytes, or UTF-16 units.
struct StoredValue {
  ProfileEncoding encoding;
  std::string gbk;
  std::u16string utf16;
};

std::optional<StoredValue> ReadStored(const Path& file, std::string_view section, std::string_view key) {
  const std::optional<std::string> bytes = os::ReadWholeFile(file);
  if (!bytes) return std::nullopt;
  const ProfileContent content = DecodeProfile(*bytes);
  if (content.encoding == ProfileEncoding::Gbk)
    return StoredValue{content.encoding, ProfileValue(content.gbk, section, key), {}};
  return StoredValue{content.encoding, {}, ProfileValue(content.utf16, Utf16OfGbk(section), Utf16OfGbk(key))};
}

// Sets the key to a value given as GBK bytes, when GBK can write it, and as
// UTF-16.
bool Write(const Path& file, std::string_view section, std::string_view key,
           const std::optional<std::string>& gbkValue, std::u16string_view utf16Value) {
  const std::optional<std::string> bytes = os::ReadWholeFile(file);
  if (!bytes && os::PathExists(file)) return false;  // unreadable: keep what it holds
  ProfileContent content = DecodeProfile(bytes.value_or(""));
  if (content.encoding == ProfileEncoding::Gbk && gbkValue) {
    content.gbk = WithProfileValue(content.gbk, section, key, *gbkValue);
  } else {
    content = InUtf16(content);
    content.utf16 = WithProfileValue(content.utf16, Utf16OfGbk(section), Utf16OfGbk(key), utf16Value);
  }
  return os::ReplaceWholeFile(file, EncodeProfile(content));
}

}  // namespace

std::string ReadIniValue(const Path& file, std::string_view section, std::string_view key,
                         std::size_t bufferSize) {
  std::optional<StoredValue> stored = ReadStored(file, section, key);
  if (!stored || bufferSize == 0) return {};
  std::string value = stored->encoding == ProfileEncoding::Gbk ? std::move(stored->gbk)
                                                                : os::ConvertUtf8ToGbk(Utf16ToUtf8(stored->utf16));
  CutGbk(value, bufferSize);
  return value;
}

bool WriteIniValue(const Path& file, std::string_view section, std::string_view key, std::string_view value) {
  return Write(file, section, key, std::string(value), Utf16OfGbk(value));
}

Path ReadIniPath(const Path& file, std::string_view section, std::string_view key, std::size_t bufferSize) {
  std::optional<StoredValue> stored = ReadStored(file, section, key);
  if (!stored || bufferSize == 0) return {};
  if (stored->encoding == ProfileEncoding::Gbk) {
    CutGbk(stored->gbk, bufferSize);
    return Path::FromGbk(stored->gbk);
  }
  CutUtf16(stored->utf16, bufferSize);
  return Path::FromUtf16(stored->utf16);
}

bool WriteIniPath(const Path& file, std::string_view section, std::string_view key, const Path& value) {
  return Write(file, section, key, value.gbk(), value.utf16());
}

}  // namespace venbrook
