#include "sources/table/text_layouts.h"

#include <iterator>

#include "sources/blocks/block_layout.h"
#include "sources/blocks/dnsmasq_conf.h"
#include "sources/blocks/isc_dhcp_layout.h"
#include "sources/blocks/ldif_layout.h"
#include "sources/blocks/openwrt_layout.h"
#include "sources/blocks/routeros_export.h"
#include "sources/blocks/routeros_print.h"

namespace venbrook {

// Each layout's row goes here, in the order it must be asked.
const TextLayoutRow kTextLayouts[] = {
    // Narrow: a format's own structure.
    {"LDIF", LooksLikeLdif, MakeLdifLayout},
    {"ISC dhcpd.leases", LooksLikeIscLeases, MakeIscLeasesLayout},
    {"ISC dhcpd.conf", LooksLikeIscConfig, MakeIscConfigLayout},
    {"RouterOS export", LooksLikeRouterOsExport, MakeRouterOsExportLayout},
    {"OpenWrt /etc/config/dhcp", LooksLikeOpenWrtConfig, MakeOpenWrtConfigLayout},
    {"OpenWrt uci show", LooksLikeUciShow, MakeUciShowLayout},
    {"dnsmasq.conf", LooksLikeDnsmasqConf, MakeDnsmasqConfLayout},
    {"RouterOS print terse or detail", LooksLikeRouterOsPrint, MakeRouterOsPrintLayout},
    // Broad: any blocks of pairs holding MACs.
    {"blocks of pairs", LooksLikeBlocks, MakeBlocksLayout},
};
const std::size_t kTextLayoutCount = std::size(kTextLayouts);

}  // namespace venbrook
