#pragma once
// The files routers, switches and DHCP servers write that list a café's
// machines: lease files, static leases in a configuration, ARP tables. Each
// is known by its content, never by its name: the first kSampleBytes, as
// text whatever their encoding (DecodeToUtf8), must show the format's own
// structure, which an ordinary CSV or TSV list never has, so such a list
// still falls through to the text list. The readers of each family are
// beside this file; their headers give the formats.
//
// Every row goes through a RowSink with MacRule::Canonical: MACs show as
// 00-1A-2B-3C-4D-5E, and a broadcast, multicast or zero MAC, or a text that
// is no MAC, is no machine. Such rows, and lines that are neither a machine
// nor the format's structure, are counted as skipped.
#include <optional>
#include <string_view>
#include <vector>

#include "sources/router/router_file_kind.h"
#include "sources/row_sink.h"

namespace venbrook {

// A router's file, from its first bytes (up to kSampleBytes).
std::optional<RouterFileKind> RecogniseRouterFile(std::string_view firstBytes);

struct RouterFileRead {
  RouterFileKind kind;
  int rows = 0;                   // machines the sink took
  int skippedLines = 0;           // lines skipped, each once
  std::vector<int> firstSkipped;  // 1-based numbers of the first three of them
};

// Reads a whole file's bytes into the sink, none when they are no router's
// file. It only adds rows: beginning, finishing or abandoning the list is
// the caller's part.
std::optional<RouterFileRead> ReadRouterBytes(std::string_view bytes, RowSink& sink);

}  // namespace venbrook
