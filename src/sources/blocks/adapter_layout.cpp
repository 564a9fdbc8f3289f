#include "sources/blocks/adapter_layout.h"

#include <utility>
#include <vector>

#include "sources/blocks/adapter_facts.h"
#include "sources/blocks/block_reader.h"
#include "sources/blocks/record_cells.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

// One computer's blocks as they come: its name and its adapters.
struct Computer {
  BlockPair name{};
  bool named = false;
  int line = 0;
  std::vector<Block> adapters;
  std::vector<AdapterFacts> facts;

  bool empty() const { return !named && adapters.empty(); }
  void clear() {
    named = false;
    line = 0;
    adapters.clear();
    facts.clear();
  }
};

const BlockPair* MachineNameIn(const Block& block) {
  for (const BlockPair& pair : block.pairs)
    if (IsMachineNameKey(pair.key) && !TrimBlanks(pair.value).empty()) return &pair;
  return nullptr;
}

}  // namespace

LayoutEnd AdapterLayout::forEachRecord(RecordVisitor& visitor) {
  BlockReader reader(text_, form_);
  Block block;
  Computer computer;
  RecordCells cells;
  LayoutEnd end;
  // False when the walk must end, with `end` saying why.
  const auto handOver = [&] {
    if (computer.empty()) return true;
    const auto add = [&](const BlockPair& pair) {
      const int column = BoundedColumnOf(keys_, pair.key);
      if (column < 0)
        end = LayoutEnd::Past(Bound::RecordCells);
      else if (!cells.add(column, pair.value))
        end = LayoutEnd::Past(Bound::RecordBytes);
      return end.how == LayoutEnd::How::Done;
    };
    const auto handAdapter = [&](const Block& adapter, int line) {
      for (const BlockPair& pair : adapter.pairs)
        if (IsMacValue(pair.value) && !add(pair)) return false;
      if (!cells.handTo(visitor, line)) end = {LayoutEnd::How::Stopped};
      return end.how == LayoutEnd::How::Done;
    };
    if (!computer.named) {
      // Nothing names a computer: the adapters of several PCs' outputs put
      // one after another, or of one PC. Each adapter in use is a machine.
      bool any = false;
      for (std::size_t i = 0; i < computer.adapters.size(); ++i) {
        if (!IsAdapterInUse(computer.facts[i])) continue;
        any = true;
        if (!handAdapter(computer.adapters[i], computer.adapters[i].line)) return false;
      }
      if (any) {
        computer.clear();
        return true;
      }
    }
    if (computer.named && !add(computer.name)) return false;
    const int chosen = ChooseAdapter(computer.facts);
    const int line = computer.line;
    if (chosen >= 0) {
      const Block adapter = std::move(computer.adapters[chosen]);
      computer.clear();
      return handAdapter(adapter, line);
    }
    computer.clear();
    if (!cells.handTo(visitor, line)) end = {LayoutEnd::How::Stopped};
    return end.how == LayoutEnd::How::Done;
  };
  while (reader.next(block)) {
    const BlockPair* name = MachineNameIn(block);
    const bool another = block.newMachine || (name && computer.named && name->value != computer.name.value);
    if (another && !handOver()) return end;
    if (computer.line == 0) computer.line = block.line;
    if (name && !computer.named) {
      computer.name = *name;
      computer.named = true;
    }
    const AdapterFacts facts = FactsOf(block);
    if (facts.hasMac) {
      computer.adapters.push_back(block);
      computer.facts.push_back(facts);
    }
  }
  if (reader.tooLong()) return LayoutEnd::Past(Bound::RecordBytes);
  if (!handOver()) return end;
  return {};
}

}  // namespace venbrook
