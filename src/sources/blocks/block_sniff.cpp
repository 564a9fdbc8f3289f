#include "sources/blocks/block_sniff.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "sources/blocks/adapter_facts.h"
#include "sources/blocks/block_reader.h"
#include "sources/columns/machine_words.h"

namespace venbrook {

std::string_view SniffSample(std::string_view text) {
  if (text.size() <= kSniffBytes) return text;
  const std::string_view cut = text.substr(0, kSniffBytes);
  const std::size_t lastBreak = cut.find_last_of("\r\n");
  return lastBreak == std::string_view::npos ? cut : cut.substr(0, lastBreak);
}

BlockSniff SniffBlocks(std::string_view sample) {
  BlockSniff sniff;
  sniff.form = SniffPairForm(sample);

  TextLines lines(sample);
  std::string_view line;
  Pair pair;
  std::size_t counted = 0, pairs = 0;
  while (lines.next(line)) {
    if (TrimBlanks(line).empty() || IsCommentLine(line)) continue;
    ++counted;
    pairs += ReadPair(line, sniff.form, pair);
  }
  if (pairs < 3 || pairs * 2 <= counted) return sniff;

  BlockReader reader(sample, sniff.form);
  Block block;
  std::unordered_map<std::string_view, int> blocksWithMacUnder;  // key → blocks whose value under it is a MAC
  std::vector<std::string_view> macKeys;
  std::size_t blocks = 0, pairsInBlocks = 0, macBlocks = 0, adapterBlocks = 0;
  bool marker = false;
  while (reader.next(block)) {
    ++blocks;
    pairsInBlocks += block.pairs.size();
    marker = marker || block.newMachine;
    macKeys.clear();
    bool adapterKey = !block.heading.empty();
    for (const BlockPair& p : block.pairs) {
      adapterKey = adapterKey || IsAdapterKey(p.key) || NamesAnAdapter(p.value);
      if (IsMacValue(p.value) && std::find(macKeys.begin(), macKeys.end(), p.key) == macKeys.end())
        macKeys.push_back(p.key);
    }
    for (const std::string_view key : macKeys) ++blocksWithMacUnder[key];
    if (macKeys.empty()) continue;
    ++macBlocks;
    adapterBlocks += adapterKey;
  }
  const bool repeated = std::any_of(blocksWithMacUnder.begin(), blocksWithMacUnder.end(),
                                    [](const auto& entry) { return entry.second >= 2; });
  // ipconfig's "Windows IP Configuration" says enough; other blocks must
  // hold two pairs or more on average.
  if (marker ? macBlocks == 0 : !repeated || pairsInBlocks < 2 * blocks) return sniff;
  sniff.shape =
      marker || (adapterBlocks > 0 && adapterBlocks * 2 >= macBlocks) ? BlockShape::Adapters : BlockShape::Records;
  return sniff;
}

}  // namespace venbrook
