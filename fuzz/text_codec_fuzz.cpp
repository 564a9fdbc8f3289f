// Fuzz target: the UTF-8 -> GBK conversion of database values (Utf8ToGbk,
// Utf8ToGbkInto) and the GBK -> UTF-8 conversion of paths (GbkToUtf8).
// Input: any bytes, taken as a value read from a database and as a path.
// Properties checked on every input:
//   - a value that is not UTF-8 of one to three bytes per character gives
//     the empty text, as a whole;
//   - a value that is gives what the platform's code page 936 converter
//     gives for the whole value, and the same through a reused buffer;
//   - that result is well-formed code page 936 (FF standing for U+F8F5, as
//     Windows writes it) with exactly one character per character of the
//     value: a double-byte character is never split, and nothing is
//     dropped or doubled;
//   - a value whose every character GBK has comes back unchanged from
//     GbkToUtf8;
//   - under Utf8Rule::AnyCharacter (every source but the products' own),
//     ill-formed UTF-8 gives the empty text and well-formed UTF-8 exactly
//     what the platform's converter gives, a character beyond U+FFFF as
//     two '?', through a reused buffer too;
//   - GbkToUtf8 of any bytes is UTF-8 of one to three bytes per character.
#include "fuzz/fuzz_check.h"
#include "model/text_codec.h"
#include "platform/os.h"
#include "platform/utf16.h"

namespace venbrook {
namespace {

// Characters of UTF-8 text known to be well formed.
std::size_t CodePoints(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string gbk = Utf8ToGbk(input);
  std::string reused = "earlier value";
  Utf8ToGbkInto(input, reused);
  FUZZ_CHECK(reused == gbk);
  if (!IsUtf8OfAtMostThreeBytes(input)) {
    FUZZ_CHECK(gbk.empty());
  } else {
    FUZZ_CHECK(gbk == os::ConvertUtf8ToGbk(input));
    FUZZ_CHECK(fuzz::Cp936Characters(gbk, true) == CodePoints(input));
    std::size_t questionMarks = 0;
    for (char c : input) questionMarks += c == '?';
    for (char c : gbk) questionMarks -= c == '?';
    if (questionMarks == 0) FUZZ_CHECK(GbkToUtf8(gbk) == input);  // no character was missing from GBK
  }
  const std::string anyCharacter = Utf8ToGbk(input, Utf8Rule::AnyCharacter);
  std::string reusedAny = "earlier value";
  Utf8ToGbkInto(input, reusedAny, Utf8Rule::AnyCharacter);
  FUZZ_CHECK(reusedAny == anyCharacter);
  FUZZ_CHECK(anyCharacter == (IsWellFormedUtf8(input) ? os::ConvertUtf8ToGbk(input) : std::string()));
  FUZZ_CHECK(IsUtf8OfAtMostThreeBytes(GbkToUtf8(input)));
  return 0;
}
