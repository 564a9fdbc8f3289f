// Fuzz target: the XML layout (sources/structured/xml_layout.h) over a
// whole text, as decoded to UTF-8: elements, attributes, text, CDATA,
// character references, document type declarations, nesting, junk.
// Input: the text.
// Properties checked on every input:
//   - claiming its first 4 KB ends, whatever they hold;
//   - the walks keep what every layout keeps (fuzz/layout_walk.h);
//   - the same text after a document type declaration that declares an
//     entity hands over no record.
#include <string>

#include "fuzz/layout_walk.h"
#include "sources/structured/xml_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string text(reinterpret_cast<const char*>(data), size);
  ClaimsXml(std::string_view(text).substr(0, 4096));
  const std::unique_ptr<TableLayout> layout = MakeXmlLayout(text);
  fuzz::CheckWalks(*layout, text);

  const std::unique_ptr<TableLayout> declared = MakeXmlLayout("<!DOCTYPE r [<!ENTITY e \"x\">]>" + text);
  FUZZ_CHECK(fuzz::WalkOnce(*declared).records.empty());
  return 0;
}
