#pragma once
// The databases the benchmarks read: one 云更新 and one 网维大师 file per
// size, filled with café-like machines (names with Chinese zone names,
// random MACs, a few further columns) in a shuffled order, with an index on
// the name column as a product keeps it. The same seed gives the same bytes
// on every machine and in both builds.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/path.h"
#include "sources/products.h"

namespace venbrook::bench {

// Bumped whenever the generated content changes, so cached files are made anew.
inline constexpr std::string_view kDataVersion = "v2";

// The rename rule typed in for every benchmark: a prefix, and a find text
// that most ASCII names contain. UTF-8; the core wants GBK (Gbk()).
inline constexpr std::string_view kPrefixUtf8 = "网吧-";
inline constexpr std::string_view kFindUtf8 = "PC";
inline constexpr std::string_view kReplacementUtf8 = "电脑";

// <data>/<version>/<rows>/<file name of the product>.
std::filesystem::path DatabasePath(const std::filesystem::path& data, SourceKind kind, int rows);

// The same file, made with its folder when missing. It is written under a
// temporary name and renamed when complete, so an interrupted run never
// leaves half a database.
std::filesystem::path DatabaseFile(const std::filesystem::path& data, SourceKind kind, int rows);

// The core's form of a path: '\' between folders.
Path CorePath(const std::filesystem::path& path);

// Files that hold the machines of the 云更新 database of the same size, as
// the operator meets them elsewhere:
//   OtherProduct  an SQLite database of a product the program does not know:
//                 the machines in table "terminals" (seat, ip, mac, zone,
//                 remark, in the 云更新 file's stored order) beside a table of
//                 settings and a log of addresses
//   ProductCopy   the 云更新 database copied to "lwdiskless - copy.db"
//   TextList      a GBK CSV with a header line, as Excel saves one:
//                 机器名,IP,MAC地址
//   DnsmasqLeases a dnsmasq lease file: "expiry mac ip hostname client-id",
//                 MACs in lower case joined by ':', names in UTF-8
//   JsonLeases    Kea's answer to lease4-get-all as its shell prints it: one
//                 object per lease (cltt, fqdn-fwd, fqdn-rev, hostname,
//                 hw-address, ip-address, state, subnet-id, valid-lft) in
//                 `arguments.leases`, the answer wrapped in an array,
//                 indented by four spaces, names in UTF-8
//   Workbook      the same rows as an .xlsx workbook, as Excel saves one:
//                 every text in the shared strings, each cell with its
//                 reference, deflated by minizip's writer
//   AlignedTable  the same columns as the text list laid out with blanks,
//                 as a tool prints a table on a Chinese Windows, saved as
//                 GBK: a heading, a rule of dashes, each value padded to its
//                 column's screen columns (a Chinese character two)
enum class Derived { OtherProduct, ProductCopy, TextList, DnsmasqLeases, JsonLeases, Workbook, AlignedTable };
std::filesystem::path DerivedFile(const std::filesystem::path& data, Derived what, int rows);
// Where that file is, made or not.
std::filesystem::path DerivedPath(const std::filesystem::path& data, Derived what, int rows);

// A sheet as wide as Excel's: `rows` rows of 16,384 cells (a header, then
// machines: a name in A, a MAC in B, the row's number in every other cell)
//   Workbook  as an .xlsx workbook, each cell with its reference, inline,
//             deflated by minizip's writer
//   Csv       the same cells as a GBK CSV, every number padded with zeros
//             so that the file holds as many bytes as the sheet's XML: the
//             same work for a reader whose time follows the bytes it reads
enum class WideSheet { Workbook, Csv };
std::filesystem::path WideSheetFile(const std::filesystem::path& data, WideSheet what, int rows);

// The bare scan: one open, the product's query prepared once and stepped to
// the end, the name and MAC texts read from every row, close. The physical
// limit of a load. `rows` is -1 when the file cannot be opened or queried.
struct ScanResult {
  int rows = 0;
  std::uint64_t textBytes = 0;  // of the two columns, UTF-8
  std::uint64_t checksum = 0;   // of their first bytes, so the reads are not optimized away
};
ScanResult BareScan(const std::filesystem::path& file, SourceKind kind);
// The same for a query whose first two result columns are the name and MAC.
ScanResult BareScanQuery(const std::filesystem::path& file, std::string_view sqlUtf8);

}  // namespace venbrook::bench
