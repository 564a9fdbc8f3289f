// Fuzz target: the JSON layout (sources/structured/json_layout.h) over a
// whole text, as decoded to UTF-8: objects, arrays, keys, escapes, numbers,
// comments, several values one after another, nesting, junk.
// Input: the text.
// Properties checked on every input:
//   - claiming its first 4 KB ends, whatever they hold;
//   - the walks keep what every layout keeps (fuzz/layout_walk.h);
//   - a text cut short is never handed over whole: its walk ends damaged or
//     at a bound, or hands over no more records than the whole text.
#include <string>

#include "fuzz/layout_walk.h"
#include "sources/structured/json_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string text(reinterpret_cast<const char*>(data), size);
  ClaimsJson(std::string_view(text).substr(0, 4096));
  const std::unique_ptr<TableLayout> layout = MakeJsonLayout(text);
  fuzz::CheckWalks(*layout, text);

  if (text.size() < 2) return 0;
  const fuzz::Walk whole = fuzz::WalkOnce(*layout);
  const std::string cut = text.substr(0, text.size() / 2);
  const std::unique_ptr<TableLayout> half = MakeJsonLayout(cut);
  const fuzz::Walk part = fuzz::WalkOnce(*half);
  FUZZ_CHECK(part.how != LayoutEnd::How::Done || part.records.size() <= whole.records.size() ||
             whole.how != LayoutEnd::How::Done);
  return 0;
}
