#include "sources/router/router_files.h"

#include <algorithm>
#include <string>

#include "sources/machine_source.h"
#include "sources/router/arp_table.h"
#include "sources/router/isc_dhcp.h"
#include "sources/router/mikrotik.h"
#include "sources/router/openwrt_dhcp.h"
#include "sources/router/router_text.h"
#include "sources/text/text_encoding.h"

namespace venbrook {
namespace {

struct RouterFormat {
  RouterFileKind kind;
  bool (*recognises)(std::string_view sample);
  void (*read)(std::string_view text, RouterRows& rows);
};

// Asked in this order; the first that recognises the sample reads the file.
constexpr RouterFormat kRouterFormats[] = {
    {RouterFileKind::IscLeases, LooksLikeIscLeases, ReadIscLeases},
    {RouterFileKind::IscConfig, LooksLikeIscConfig, ReadIscConfig},
    {RouterFileKind::MikrotikExport, LooksLikeMikrotikExport, ReadMikrotikExport},
    {RouterFileKind::MikrotikPrint, LooksLikeMikrotikPrint, ReadMikrotikPrint},
    {RouterFileKind::OpenWrtConfig, LooksLikeOpenWrtConfig, ReadOpenWrtConfig},
    {RouterFileKind::OpenWrtConfig, LooksLikeUciShow, ReadUciShow},
    {RouterFileKind::ArpTable, LooksLikeWindowsArp, ReadWindowsArp},
    {RouterFileKind::ArpTable, LooksLikeCiscoArp, ReadCiscoArp},
    {RouterFileKind::ArpTable, LooksLikeProcNetArp, ReadProcNetArp},
    {RouterFileKind::ArpTable, LooksLikeIpNeigh, ReadIpNeigh},
};

// The first bytes as text. When they fill the sample the file may go on,
// and the last line is cut off: a line cut short could pass for another.
const RouterFormat* FormatOf(std::string_view firstBytes) {
  firstBytes = firstBytes.substr(0, kSampleBytes);
  std::string text = DecodeToUtf8(firstBytes);
  if (firstBytes.size() == kSampleBytes) text.erase(std::min(text.find_last_of("\r\n"), text.size()));
  for (const RouterFormat& format : kRouterFormats)
    if (format.recognises(text)) return &format;
  return nullptr;
}

}  // namespace

std::optional<RouterFileKind> RecogniseRouterFile(std::string_view firstBytes) {
  const RouterFormat* format = FormatOf(firstBytes);
  return format ? std::optional(format->kind) : std::nullopt;
}

std::optional<RouterFileRead> ReadRouterBytes(std::string_view bytes, RowSink& sink) {
  const RouterFormat* format = FormatOf(bytes);
  if (!format) return std::nullopt;
  RouterRows found;
  {
    const std::string text = DecodeToUtf8(bytes);
    format->read(text, found);
  }
  // Room for the rows at once: each name is kept twice (as read and
  // renamed) beside its MAC.
  std::size_t textBytes = 0;
  for (const RouterRow& row : found.rows) textBytes += 2 * row.name.size() + 17;
  sink.expect(found.rows.size(), textBytes);
  RouterFileRead read{format->kind, 0, 0, {}};
  for (const RouterRow& row : found.rows) {
    if (sink.addUtf8(row.name, row.mac)) ++read.rows;
    else found.skipped.push_back(row.line);
  }
  std::sort(found.skipped.begin(), found.skipped.end());
  found.skipped.erase(std::unique(found.skipped.begin(), found.skipped.end()), found.skipped.end());
  read.skippedLines = static_cast<int>(found.skipped.size());
  read.firstSkipped.assign(found.skipped.begin(), found.skipped.begin() + std::min<std::size_t>(3, found.skipped.size()));
  return read;
}

}  // namespace venbrook
