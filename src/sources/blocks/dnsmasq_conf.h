#pragma once
// dnsmasq's configuration file, dnsmasq.conf ("dnsmasq 配置文件", a list):
// one option a line, "name=value" or "name" alone; '#' at a line's start,
// or after a blank, starts a comment, so a "#dhcp-host=…" line is no
// machine. Each "dhcp-host=" line is a host dnsmasq knows, its fields
// between commas in any order (dnsmasq(8)):
//   dhcp-host=[<hwaddr>][,id:<client_id>|*][,set:<tag>][,tag:<tag>]
//             [,<ipaddr>][,<hostname>][,<lease_time>][,ignore]
// A field is told by its shape: a MAC (or a MAC with '*' wildcards) is
// "mac", an IPv4 address or an IPv6 one in brackets is "ip", "id:…" is
// "client-id" (its value without "id:"), a tag, a lease time ("45m", "12h",
// "infinite", seconds) and "ignore" are passed over, and the field that is
// none of these is "name". A host of several MACs (its wired and its
// wireless card) is a record for each, with the same name.
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

class DnsmasqConfLayout final : public TableLayout {
 public:
  explicit DnsmasqConfLayout(std::string_view text) : text_(text) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override;
  std::vector<std::string> columnNames() const override { return {"mac", "ip", "name", "client-id"}; }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "dnsmasq 配置文件"; }

 private:
  std::string_view text_;
};

// A "dhcp-host=" line, commented out or not, among lines that are all
// dnsmasq options or comments.
bool LooksLikeDnsmasqConf(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeDnsmasqConfLayout(std::string_view textUtf8);

}  // namespace venbrook
