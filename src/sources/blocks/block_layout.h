#pragma once
// Records spread over several lines of pairs (block_reader.h), one record a
// block, its keys the columns: a DHCP server's or a scanner's host list
// printed one host a block, a list of devices, wmic's /format:list of
// anything but adapters. What the label calls it: "分段记录".
//
// Blocks that are a computer's network adapters are read as machines
// instead (adapter_layout.h): LooksLikeBlocks claims both, and
// MakeBlocksLayout makes the one its sample shows.
#include <memory>
#include <string_view>

#include "sources/blocks/pair_line.h"
#include "sources/table/table_layout.h"

namespace venbrook {

class BlockLayout final : public TableLayout {
 public:
  BlockLayout(std::string_view text, PairForm form) : text_(text), form_(form) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override;
  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "分段记录"; }

 private:
  std::string_view text_;
  PairForm form_;
  KeyedColumns keys_;
};

// The sample's lines are blocks of pairs with a MAC (block_sniff.h).
bool LooksLikeBlocks(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeBlocksLayout(std::string_view textUtf8);

}  // namespace venbrook
