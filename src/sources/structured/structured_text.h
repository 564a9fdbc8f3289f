#pragma once
// What the structured layouts share about their text: where its content
// begins, and the line a record starts on.
#include <cstddef>
#include <string_view>

namespace venbrook {

// The text after a byte-order mark and blanks (spaces, tabs, line ends).
std::string_view StartOfContent(std::string_view text);

// The line (from 1) of each place in a text, for places asked in the
// text's order: the line ends between two places are counted once, so a
// whole walk costs one pass over the text.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}
  int lineOf(std::size_t offset);

 private:
  std::string_view text_;
  std::size_t counted_ = 0;  // line ends before here are in `lineEnds_`
  int lineEnds_ = 0;
};

}  // namespace venbrook
