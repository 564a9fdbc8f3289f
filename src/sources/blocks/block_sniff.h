#pragma once
// Whether a text's first lines are blocks of pairs, and what the blocks
// are, decided once from a sample as csv.Sniffer decides a dialect. Blocks
// are: most lines that are neither blank nor comments are pairs; a key
// whose value is a MAC comes in two blocks at least, and a block holds two
// pairs or more on average (one machine spread over several lines); or the
// sample holds a "Windows IP Configuration" line and a MAC. A list of one
// machine a line, the café's CSV or TSV, has none of this: its lines are
// no pairs, or each line is a block of one pair whose key never comes
// again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sources/blocks/pair_line.h"

namespace venbrook {

enum class BlockShape : std::uint8_t {
  None,      // no blocks
  Records,   // each block is a record: a host, a lease, a device
  Adapters,  // the blocks are network adapters of computers (ipconfig /all,
             // getmac /v, Get-NetAdapter, wmic nic), one computer or many
};

struct BlockSniff {
  BlockShape shape = BlockShape::None;
  PairForm form = PairForm::Colon;
};

BlockSniff SniffBlocks(std::string_view sample);

// The first lines a layout decides its way from, over the whole text: its
// first kSniffBytes without the line the cut falls in.
constexpr std::size_t kSniffBytes = 4096;
std::string_view SniffSample(std::string_view text);

}  // namespace venbrook
