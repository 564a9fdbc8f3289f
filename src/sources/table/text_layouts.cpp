#include "sources/table/text_layouts.h"

#include <algorithm>
#include <iterator>

#include "sources/aligned/aligned_layout.h"
#include "sources/aligned/ip_neighbours.h"
#include "sources/blocks/block_layout.h"
#include "sources/blocks/dnsmasq_conf.h"
#include "sources/blocks/host_reports.h"
#include "sources/blocks/isc_dhcp_layout.h"
#include "sources/blocks/ldif_layout.h"
#include "sources/blocks/openwrt_layout.h"
#include "sources/blocks/routeros_export.h"
#include "sources/blocks/routeros_print.h"
#include "sources/read_types.h"
#include "sources/structured/json_layout.h"
#include "sources/structured/xml_layout.h"
#include "sources/text/known_lists.h"
#include "sources/text/text_encoding.h"

namespace venbrook {

// Each layout's row goes here, in the order it must be asked.
const TextLayoutRow kTextLayouts[] = {
    // Narrow: a format's own structure. First those of structured text,
    // whose first bytes must open a JSON value, or XML, and read as such.
    {"JSON: arrays of objects, objects holding them, JSON Lines", ClaimsJson, MakeJsonLayout},
    {"XML: an element repeated per host", ClaimsXml, MakeXmlLayout},
    {"dnsmasq's lease file", LooksLikeDnsmasqLeases, MakeDnsmasqLeasesLayout},
    {"arp-scan's output", LooksLikeArpScan, MakeArpScanLayout},
    {"LDIF", LooksLikeLdif, MakeLdifLayout},
    {"ISC dhcpd.leases", LooksLikeIscLeases, MakeIscLeasesLayout},
    {"ISC dhcpd.conf", LooksLikeIscConfig, MakeIscConfigLayout},
    {"RouterOS export", LooksLikeRouterOsExport, MakeRouterOsExportLayout},
    {"OpenWrt /etc/config/dhcp", LooksLikeOpenWrtConfig, MakeOpenWrtConfigLayout},
    {"OpenWrt uci show", LooksLikeUciShow, MakeUciShowLayout},
    {"dnsmasq.conf", LooksLikeDnsmasqConf, MakeDnsmasqConfLayout},
    {"RouterOS print terse or detail", LooksLikeRouterOsPrint, MakeRouterOsPrintLayout},
    {"ip neigh's neighbours, a line each", ClaimsIpNeighbours, MakeIpNeighboursLayout},
    {"nmap's normal output", LooksLikeNmapReport, MakeNmapReportLayout},
    {"nbtstat -A's name tables", LooksLikeNbtstat, MakeNbtstatLayout},
    // Broad: columns aligned with blanks, any blocks of pairs holding MACs.
    // Each refuses the other's shape.
    {"tables laid out with blanks", ClaimsAlignedTable, MakeAlignedLayout},
    {"blocks of pairs", LooksLikeBlocks, MakeBlocksLayout},
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
