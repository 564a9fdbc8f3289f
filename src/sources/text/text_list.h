#pragma once
// A café's machine list kept as text: a spreadsheet saved as CSV or as
// "Unicode 文本", a router's lease list, our own export file.
//
// - The encoding is decided once for the whole file (text_encoding.h).
// - Records are lines ending in CR LF, LF or CR, but a quoted field may hold
//   line breaks (RFC 4180); lines of nothing but blanks are passed over. See
//   line_fields.h for how a record splits into fields; a line that starts
//   with a MAC and a space is our export's "MAC name", the name being the
//   rest of the line.
// - The columns are judged over every record (sources/columns/column_judge.h):
//   the header, if any, among the first ten; the MAC column; the name column,
//   or none, when no column holds names: the names then stay empty.
// - Lines above the header, and lines whose MAC cell holds no machine's MAC,
//   are skipped and counted. MACs take the one form of other sources.
// - Hostile bytes give a defined result: a GBK name that is not well-formed
//   code page 936, or a UTF-16 name with a lone surrogate or the odd last
//   byte, becomes the empty text.
#include <string>
#include <string_view>
#include <vector>

#include "sources/row_sink.h"

namespace venbrook {

// What a text list held, beyond its machines.
struct TextListRead {
  int rows = 0;                  // machines read (each given to the sink)
  int skippedLines = 0;          // non-blank lines without a MAC (a header line is not one)
  std::vector<int> firstSkipped; // 1-based line numbers of the first three of them
  std::string nameColumn;        // the columns read, as the label names them (UTF-8: a header's
  std::string macColumn;         // text or "第 n 列"); no name column: empty
};

// Reads the machines a text file's bytes hold into `sink` (which should
// take MacRule::Canonical), in line order. It only adds rows; the sink
// empties the list at the first of them, and finishing or abandoning the
// read is the caller's part.
TextListRead ReadTextList(std::string_view bytes, RowSink& sink);

}  // namespace venbrook
