#pragma once
// The blocks of a text whose lines are pairs (pair_line.h): a block ends at
// a blank line, or where the key that opened it comes again (a list printed
// without blank lines between its entries). Within a block:
//   - an indented line that is no pair goes on the value above it
//     (ipconfig's second DNS server): it adds nothing of its own;
//   - another line that is no pair (a prompt, a title) ends the block;
//   - a heading, "Ethernet adapter 以太网:" or "以太网适配器 以太网:" (a line
//     not indented that ends in ':' and names an adapter), names the block
//     that follows it;
//   - "Windows IP Configuration" (or "Windows IP 配置") marks that a new
//     machine's output begins with the next block;
//   - comment lines are passed over.
// Everything a block holds is a view into the text.
#include <string_view>
#include <vector>

#include "sources/blocks/pair_line.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {

struct BlockPair {
  std::string_view key, value;
  int line;
};

struct Block {
  std::string_view heading;  // "Ethernet adapter 以太网", or empty
  bool newMachine = false;   // a "Windows IP …" line came before it
  int line = 0;              // its heading's line, else its first pair's
  std::vector<BlockPair> pairs;
};

class BlockReader {
 public:
  BlockReader(std::string_view text, PairForm form) : lines_(text), form_(form) {}

  // The next block that holds a pair; false at the text's end, or at a line
  // longer than kMaxRecordBytes (then tooLong()).
  bool next(Block& block);
  bool tooLong() const { return tooLong_; }

 private:
  bool nextLine(std::string_view& line);

  TextLines lines_;
  PairForm form_;
  std::string_view held_;  // a line that ended one block and begins the next
  int heldNumber_ = 0;
  bool holding_ = false;
  bool tooLong_ = false;
  int number_ = 0;
};

// A heading line's words, "Ethernet adapter 以太网" without its colon, when
// the line is one.
bool ReadAdapterHeading(std::string_view line, std::string_view& heading);
// "Windows IP Configuration", in any language Windows writes it.
bool IsMachineMarker(std::string_view line);

}  // namespace venbrook
