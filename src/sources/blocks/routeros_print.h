#pragma once
// MikroTik RouterOS's "print terse" and "print detail", copied from a
// terminal: an entry a record, its keys the columns.
//   Flags: X - disabled, R - radius, D - dynamic, B - blocked
//    0 D address=192.168.88.11 mac-address=00:1A:2B:3C:4D:01 server=dhcp1
//        status=bound host-name="DESKTOP-1"
//
//    1   ;;; A01
//        address=192.168.88.12 mac-address=00:1A:2B:3C:4D:02 server=dhcp1
// An entry begins with its number and its flags (capital letters); print
// detail goes on in indented lines and puts a blank line between entries;
// print terse is one entry a line. A comment is printed ";;; …" after the
// number, or on a line of its own before its entry (older versions), and
// belongs to that entry. Values may hold blanks unquoted (routeros_pairs.h).
//
// What the entries are is decided from the first of them: leases (a
// mac-address beside a server, host-name, client-id, active-address,
// expires-after or last-seen) are a lease list, "MikroTik 租约列表", named
// as routeros_pairs.h says; ARP entries (an address, a mac-address and an
// interface) are an "ARP 表"; both are records of events. Anything else
// (a bridge's hosts, the interfaces) is a list, "分段记录".
#include <cstdint>
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

enum class RouterOsTable : std::uint8_t { Leases, Arp, Other };

class RouterOsPrintLayout final : public TableLayout {
 public:
  RouterOsPrintLayout(std::string_view text, RouterOsTable table) : text_(text), table_(table) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override;
  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return table_ == RouterOsTable::Other ? RecordKind::List : RecordKind::Events; }
  std::string_view wordsUtf8() const override;

 private:
  std::string_view text_;
  RouterOsTable table_;
  KeyedColumns keys_;
};

// Numbered entries of pairs, one at least holding a MAC, and no line that
// is neither an entry's, a comment, the flags' legend nor a prompt.
bool LooksLikeRouterOsPrint(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeRouterOsPrintLayout(std::string_view textUtf8);

}  // namespace venbrook
