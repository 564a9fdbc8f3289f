#include "sources/blocks/block_layout.h"

#include "sources/blocks/adapter_layout.h"
#include "sources/blocks/block_reader.h"
#include "sources/blocks/block_sniff.h"
#include "sources/blocks/record_cells.h"

namespace venbrook {

LayoutEnd BlockLayout::forEachRecord(RecordVisitor& visitor) {
  BlockReader reader(text_, form_);
  Block block;
  RecordCells cells;
  while (reader.next(block)) {
    for (const BlockPair& pair : block.pairs) {
      const int column = BoundedColumnOf(keys_, pair.key);
      if (column < 0) return LayoutEnd::Past(Bound::RecordCells);
      // In a configuration's "key=value" lines a comment may end the line.
      const std::string_view value = form_ == PairForm::Equals ? WithoutTailComment(pair.value) : pair.value;
      if (!cells.add(column, value)) return LayoutEnd::Past(Bound::RecordBytes);
    }
    if (!cells.handTo(visitor, block.line)) return {LayoutEnd::How::Stopped};
  }
  if (reader.tooLong()) return LayoutEnd::Past(Bound::RecordBytes);
  return {};
}

bool LooksLikeBlocks(std::string_view sampleUtf8) { return SniffBlocks(sampleUtf8).shape != BlockShape::None; }

std::unique_ptr<TableLayout> MakeBlocksLayout(std::string_view textUtf8) {
  const BlockSniff sniff = SniffBlocks(SniffSample(textUtf8));
  if (sniff.shape == BlockShape::Adapters) return std::make_unique<AdapterLayout>(textUtf8, sniff.form);
  return std::make_unique<BlockLayout>(textUtf8, sniff.form);
}

}  // namespace venbrook
