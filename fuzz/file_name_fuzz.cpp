// Fuzz target: the path type and the file-name rule (Path::FromGbk,
// fileName, folder, nameAfterLastBackslash, asFolder, child, ProductNamed)
// and the UTF-8 and UTF-16 forms of a path.
// Input: a path as GBK bytes; the same bytes are also taken as UTF-8 and,
// two at a time, as UTF-16 units.
// Properties checked on every input:
//   - the file name holds no backslash and no slash; folder, the separator
//     after it and file name give the path back; the name after the last
//     backslash ends the path and the file name ends it;
//   - a product is chosen exactly when the name after the last backslash is
//     its file name (a slash never separates there), and a product's file
//     name put in the path as a folder is always found;
//   - a path that GBK can write reads back from those GBK bytes unchanged;
//   - UTF-16 units, lone surrogates included, come back unchanged through
//     a path; well-formed UTF-8 comes back unchanged through UTF-16.
#include "fuzz/fuzz_check.h"
#include "platform/path.h"
#include "platform/utf16.h"
#include "sources/products.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const Path path = Path::FromGbk(bytes);
  const std::string& utf8 = path.utf8();
  const std::string_view fileName = path.fileName();
  FUZZ_CHECK(fileName.find_first_of("\\/") == std::string_view::npos);
  const std::size_t separator = utf8.find_last_of("\\/");
  if (separator == std::string::npos) {
    FUZZ_CHECK(fileName.empty() && path.folder() == path && !path.endsWithBackslash());
  } else {
    FUZZ_CHECK(path.folder().utf8() + utf8[separator] + std::string(fileName) == utf8);
    if (utf8[separator] == '\\') FUZZ_CHECK(path.endsWithBackslash() == fileName.empty());
  }
  const std::string_view exactName = path.nameAfterLastBackslash();
  FUZZ_CHECK(exactName.find('\\') == std::string_view::npos && utf8.ends_with(exactName));
  FUZZ_CHECK(utf8.find('\\') == std::string::npos ? exactName.empty() : exactName.ends_with(fileName));

  const SourceProfile* profile = ProductNamed(exactName);
  FUZZ_CHECK((profile != nullptr) == (exactName == "lwdiskless.db" || exactName == "barserver.db"));
  if (profile != nullptr) FUZZ_CHECK(profile->fileName == exactName);
  const Path inside = path.child("barserver.db");
  const SourceProfile* chosen = ProductNamed(inside.nameAfterLastBackslash());
  FUZZ_CHECK(chosen != nullptr && chosen->kind == SourceKind::Wangweidashi);
  const Path folder = path.asFolder();
  FUZZ_CHECK(folder.endsWithBackslash() && inside.utf8() == folder.utf8() + "barserver.db");

  if (const auto gbk = path.gbk()) FUZZ_CHECK(Path::FromGbk(*gbk) == path);

  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  FUZZ_CHECK(Path::FromUtf16(units).utf16() == units);
  if (IsWellFormedUtf8(bytes)) FUZZ_CHECK(Path::FromUtf16(Path::FromUtf8(bytes).utf16()).utf8() == bytes);
  return 0;
}
