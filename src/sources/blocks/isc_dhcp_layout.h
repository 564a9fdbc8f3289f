#pragma once
// ISC dhcpd's files (isc_tokens.h gives their words):
//   dhcpd.leases(5): "lease 192.168.1.11 { starts 4 2024/06/01 10:00:00;
//     binding state active; hardware ethernet 00:1a:…; client-hostname
//     "A01"; }", appended to as leases change: a record of events, each
//     block a sighting ("ISC DHCP 租约文件"). A lease whose binding state is
//     free, expired, abandoned or released says so in its "binding state"
//     cell, for the driver to tell.
//   dhcpd.conf(5): "host A01 { hardware ethernet 00:1a:…; fixed-address …;
//     }", at the top or inside subnet, shared-network and group
//     declarations: a list, each host a machine ("ISC DHCP 配置文件").
// A record is one lease or host block: "lease" (its address) or "host" (its
// declared name), and each statement at the block's own level under its
// keyword: "hardware ethernet", "client-hostname", "binding state", "next
// binding state", "option host-name", "set vendor-class-identifier",
// "fixed-address". A host declared in a lease file (made through OMAPI) is
// a record there too. A block left open at the text's end keeps what it
// has: a file cut short keeps the MACs it holds.
#include <cstdint>
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

enum class IscFile : std::uint8_t { Leases, Config };

class IscDhcpLayout final : public TableLayout {
 public:
  IscDhcpLayout(std::string_view text, IscFile file) : text_(text), file_(file) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override;
  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return file_ == IscFile::Leases ? RecordKind::Events : RecordKind::List; }
  std::string_view wordsUtf8() const override {
    return file_ == IscFile::Leases ? "ISC DHCP 租约文件" : "ISC DHCP 配置文件";
  }

 private:
  std::string_view text_;
  IscFile file_;
  KeyedColumns keys_;
};

// A "lease 〈IPv4〉 {" declaration.
bool LooksLikeIscLeases(std::string_view sampleUtf8);
// No lease, and a host, subnet, shared-network or group declaration, or a
// statement only dhcpd.conf holds ("default-lease-time 600;").
bool LooksLikeIscConfig(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeIscLeasesLayout(std::string_view textUtf8);
std::unique_ptr<TableLayout> MakeIscConfigLayout(std::string_view textUtf8);

}  // namespace venbrook
