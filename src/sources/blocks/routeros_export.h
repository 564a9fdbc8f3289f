#pragma once
// MikroTik RouterOS's DHCP leases as /export (or "/ip dhcp-server lease
// export") writes them: a menu line "/ip dhcp-server lease" (or
// "/ip/dhcp-server/lease"), then one command a line, "add address=…
// mac-address=… comment=… server=…"; a line ending in '\' goes on in the
// next (an odd run of them: "\\" is an escaped backslash), and '#' starts a
// comment line. A whole /export holds other menus too: only the lease
// menu's commands are records, one a command, their keys the columns, the
// lease's name in kLeaseNameColumn (routeros_pairs.h). A configuration's
// static leases: a list ("MikroTik 租约导出").
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

class RouterOsExportLayout final : public TableLayout {
 public:
  explicit RouterOsExportLayout(std::string_view text) : text_(text) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override;
  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "MikroTik 租约导出"; }

 private:
  std::string_view text_;
  KeyedColumns keys_;
};

// A line of the lease menu, or an export's first line ("# … by RouterOS").
bool LooksLikeRouterOsExport(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeRouterOsExportLayout(std::string_view textUtf8);

}  // namespace venbrook
