#include "sources/table/text_layouts.h"

#include <algorithm>
#include <iterator>

#include "sources/read_types.h"
#include "sources/text/text_encoding.h"

#include "sources/text/known_lists.h"

namespace venbrook {

// Each layout's row goes here, in the order it must be asked.
const TextLayoutRow kTextLayouts[] = {
    {"dnsmasq's lease file", LooksLikeDnsmasqLeases, MakeDnsmasqLeasesLayout},
    {"arp-scan's output", LooksLikeArpScan, MakeArpScanLayout},
};
const std::size_t kTextLayoutCount = std::size(kTextLayouts);

std::string SampleText(std::string_view bytes) {
  std::string text = DecodeToUtf8(bytes.substr(0, kSampleBytes));
  if (bytes.size() > kSampleBytes) text.erase(std::min(text.find_last_of("\r\n"), text.size()));
  return text;
}

const TextLayoutRow* LayoutClaiming(std::string_view sampleUtf8) {
  for (const TextLayoutRow& row : kTextLayouts)
    if (row.claims(sampleUtf8)) return &row;
  return nullptr;
}

}  // namespace venbrook
