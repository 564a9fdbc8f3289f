// Fuzz target: 机器名.ini as TypedNames reads it (TypedNames::readBytes) and
// writes it (fileText), whatever bytes the file holds.
// Input: the file's bytes.
// Properties checked on every input:
//   - every name held is well-formed code page 936 text without a NUL, CR or
//     LF, and no longer than kMaxNameBytes;
//   - a file that is to be left alone names the line it did not understand;
//   - a file that may be rewritten reads back from what would be written as
//     the same names, may again be rewritten, and would be written alike.
#include <map>

#include "fuzz/fuzz_check.h"
#include "model/mac_address.h"
#include "settings/typed_names.h"

namespace venbrook {
namespace {

constexpr std::int64_t kProbes[] = {0x001A2B3C4D5E, 0x001A2B3C4D01, 0, 0xFFFFFFFFFFFF};

std::map<std::int64_t, std::string> Probed(const TypedNames& names) {
  std::map<std::int64_t, std::string> found;
  for (const std::int64_t mac : kProbes)
    if (const std::string* name = names.find(mac)) found[mac] = *name;
  return found;
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace venbrook;
  TypedNames names{Path()};
  names.readBytes(std::string(reinterpret_cast<const char*>(data), size));
  for (const auto& [mac, name] : Probed(names)) {
    FUZZ_CHECK(name.size() <= TypedNames::kMaxNameBytes);
    FUZZ_CHECK(name.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos);
    FUZZ_CHECK(fuzz::Cp936Characters(name) != std::string::npos);
  }
  if (names.state() != TypedNames::State::Kept) {
    FUZZ_CHECK(names.state() == TypedNames::State::NotUnderstood && names.badLine() > 0);
    return 0;
  }
  const std::string written = names.fileText();
  TypedNames again{Path()};
  again.readBytes(written);
  FUZZ_CHECK(again.state() == TypedNames::State::Kept);
  FUZZ_CHECK(again.size() == names.size());
  FUZZ_CHECK(Probed(again) == Probed(names));
  FUZZ_CHECK(again.fileText() == written);
  return 0;
}
