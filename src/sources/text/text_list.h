#pragma once
// A café's machine list kept as text: a spreadsheet saved as CSV or as
// "Unicode 文本", a router's lease list, our own export file. One machine a
// line; see line_fields.h for how a line splits into fields.
//
// - The text is UTF-16 (LE or BE) or UTF-8 when it starts with that byte-order
//   mark; without one, UTF-8 when it is valid UTF-8 holding at least one
//   character of more than one byte, otherwise GBK.
// - Lines end in CR LF, LF or CR; lines of nothing but blanks are passed over.
// - The MAC is the first field that is a MAC.
// - The name, in this order: in a line split on blanks that starts with the
//   MAC, the rest of the line after it; the field of the header's name
//   column; the first field that is not empty, not the MAC and not an IPv4
//   address; else the empty text. A line that starts with a MAC and a space
//   splits on blanks whatever else it holds, so our export's "MAC name"
//   lines read back whole, commas, quotes and tabs in the name included.
// - The header is the first non-blank line when it holds no MAC and a field
//   naming the machine's name (a field that also names the MAC only when no
//   other does). Its column counts where a line has it and it is not the
//   MAC. No later line is taken for a header.
// - Other lines without a MAC are skipped and counted.
// - Hostile bytes give a defined result: a GBK name that is not well-formed
//   code page 936, or a UTF-16 name with a lone surrogate or the odd last
//   byte, becomes the empty text.
#include <string_view>
#include <vector>

#include "sources/row_sink.h"

namespace venbrook {

// What a text list held, beyond its machines.
struct TextListRead {
  int rows = 0;                  // machines read (each given to the sink)
  int skippedLines = 0;          // non-blank lines without a MAC (a header line is not one)
  std::vector<int> firstSkipped; // 1-based line numbers of the first three of them
};

// Reads the machines a text file's bytes hold into `sink`, in line order.
// It only adds rows; the sink empties the list at the first of them, and
// finishing or abandoning the read is the caller's part.
TextListRead ReadTextList(std::string_view bytes, RowSink& sink);

}  // namespace venbrook
