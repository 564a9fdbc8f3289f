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
// - A line longer than kMaxRecordBytes is refused before it is split.
// - Hostile bytes give a defined result: a GBK name that is not well-formed
//   code page 936, or a UTF-16 name with a lone surrogate or the odd last
//   byte, becomes the empty text.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sources/row_sink.h"
#include "sources/table/table_layout.h"
#include "sources/table/table_read.h"

namespace venbrook {

// What a text list is, where a tool writes it with a meaning of its own
// (known_lists.h): what its records are, what the label calls it, and its
// columns' names where its lines have no header.
struct TextListShape {
  RecordKind kind = RecordKind::List;
  std::string_view wordsUtf8 = "文本列表";
  std::vector<std::string> columnNames = {};
  // A line of the tool's own that is no record (a heading, a summary):
  // not handed over, so it is neither read nor counted.
  bool (*isStructure)(std::string_view line) = nullptr;
};

// The layout of a text list's bytes: its records of fields, in line order,
// each with the number of its first line. A line that starts with '#' is a
// comment: handed over without cells, so it is counted and never read.
std::unique_ptr<TableLayout> MakeTextListLayout(std::string_view bytes, TextListShape shape = {});

// Reads the machines a text file's bytes hold into `sink`, in line order,
// through the one table pipeline. It only adds rows; the sink empties the
// list at the first of them, and finishing or abandoning the read is the
// caller's part.
TableRead ReadTextList(std::string_view bytes, RowSink& sink);

}  // namespace venbrook
