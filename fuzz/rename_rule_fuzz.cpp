// Fuzz target: the renaming rule (replaceAll, RenameRule::newName).
// Input: prefix NUL find NUL replacement NUL machine name.
// Properties checked on every input:
//   - with an empty find text the name comes back unchanged;
//   - newName is the prefix followed by replaceAll of the name, also when it
//     writes over a buffer that already holds text;
//   - replaceAll equals a plain character-by-character replacement: matches
//     start and end on whole characters, letters match in either case, a
//     double-byte character matches only itself, no match overlaps another,
//     and a character of the name is either copied whole or replaced whole.
//     (The find text comes from an edit box, so it is whole characters; one
//     that ends in half a character is not held to this.)
#include "fuzz/fuzz_check.h"
#include "model/rename_rule.h"

namespace venbrook {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameCharacter(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  return a.size() == 2 ? a == b : Upper(a[0]) == Upper(b[0]);
}

std::string PlainReplace(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return std::string(text);
  const auto name = fuzz::Characters(text);
  const auto wanted = fuzz::Characters(find);
  std::string out;
  for (std::size_t i = 0; i < name.size();) {
    bool match = i + wanted.size() <= name.size();
    for (std::size_t j = 0; match && j < wanted.size(); ++j) match = SameCharacter(name[i + j], wanted[j]);
    if (match) {
      out.append(replacement);
      i += wanted.size();
    } else {
      out.append(name[i]);
      ++i;
    }
  }
  return out;
}

bool EndsInHalfACharacter(std::string_view text) {
  const auto characters = fuzz::Characters(text);
  return !characters.empty() && characters.back().size() == 1 && static_cast<unsigned char>(characters.back()[0]) >= 0x80;
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const auto parts = fuzz::Parts(data, size, 4);
  const RenameRule rule{std::string(parts[0]), std::string(parts[1]), std::string(parts[2])};
  const std::string_view name = parts[3];

  const std::string replaced = replaceAll(name, rule.find, rule.replacement);
  FUZZ_CHECK(replaceAll(name, "", rule.replacement) == name);
  FUZZ_CHECK(rule.newName(name) == rule.prefix + replaced);
  std::string reused = "earlier text in the buffer";
  rule.newNameInto(name, reused);
  FUZZ_CHECK(reused == rule.prefix + replaced);
  if (!EndsInHalfACharacter(rule.find)) FUZZ_CHECK(replaced == PlainReplace(name, rule.find, rule.replacement));
  return 0;
}
