#pragma once
// The layouts of text files, each told by its first bytes: the table the
// file reader asks, in order, before the fallback of fields between
// separators (sources/text/text_list.h). Every one is handed the whole file
// decoded once to UTF-8 (DecodeToUtf8), whatever its encoding on disk.
#include <memory>
#include <string>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

struct TextLayoutRow {
  std::string_view name;  // what the row reads, for whoever reads the table
  // The file's first kSampleBytes as UTF-8; when the file goes on past
  // them, the last line, which may be cut short, is left out.
  bool (*claims)(std::string_view sampleUtf8);
  // The layout over the whole text, which outlives it.
  std::unique_ptr<TableLayout> (*make)(std::string_view textUtf8);
};

// In the order they are asked: a narrower claim before a broader one.
extern const TextLayoutRow kTextLayouts[];
extern const std::size_t kTextLayoutCount;

// A file's first kSampleBytes as UTF-8 text; when the file goes on past
// them, without its last line, which a line cut short could pass for
// another.
std::string SampleText(std::string_view bytes);

// The first row whose claim holds for the sample; none: the text list.
const TextLayoutRow* LayoutClaiming(std::string_view sampleUtf8);

}  // namespace venbrook
