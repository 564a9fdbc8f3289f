#pragma once
// What a file may hold before it is refused, one table for every reader.
// A file past a bound is "未载入：〈file〉 太大（〈the bound's words〉）" and the
// list stays as it was, on 32-bit Windows as on 64-bit: no bound lets a
// load ask for more memory than a few times the file's own bytes.
#include <cstdint>
#include <string_view>

namespace venbrook {

enum class Bound : std::uint8_t {
  FileBytes,      // the file itself
  RecordBytes,    // one line or record of text, one row, one value
  RecordCells,    // cells of one line, one row, one record
  Records,        // lines, rows or records of the whole file
  InflatedBytes,  // what a compressed file (a workbook) inflates to, all parts together
  Depth,          // nesting of a structured file (JSON, XML)
  Memory,         // the load ran out of memory all the same
};

struct BoundRow {
  Bound bound;
  std::uint64_t limit;        // 0: none of its own (memory)
  std::string_view wordsUtf8;  // what the label says in the brackets
};

// The largest text a café's list is kept in; a workbook's parts inflate
// to as much together.
inline constexpr std::uint64_t kMaxFileBytes = 64ull * 1024 * 1024;
// A line or a value of a megabyte is no machine's; a sheet may be as wide
// as Excel's, 16,384 columns.
inline constexpr std::uint64_t kMaxRecordBytes = 1024 * 1024;
inline constexpr std::uint64_t kMaxRecordCells = 16384;
// Twice Excel's rows: more lines than any café has machines, and fewer
// than a 64 MB file of short lines would bring.
inline constexpr std::uint64_t kMaxRecords = 2'000'000;
inline constexpr std::uint64_t kMaxInflatedBytes = 64ull * 1024 * 1024;
// No list nests deeper than a few levels; a million levels must not reach
// the thread's stack or the heap unbounded.
inline constexpr std::uint64_t kMaxDepth = 256;

inline constexpr BoundRow kBounds[] = {
    {Bound::FileBytes, kMaxFileBytes, "文件超过 64 MB"},
    {Bound::RecordBytes, kMaxRecordBytes, "一行超过 1 MB"},
    {Bound::RecordCells, kMaxRecordCells, "一行超过 16384 格"},
    {Bound::Records, kMaxRecords, "超过 2000000 行"},
    {Bound::InflatedBytes, kMaxInflatedBytes, "解压后超过 64 MB"},
    {Bound::Depth, kMaxDepth, "嵌套超过 256 层"},
    {Bound::Memory, 0, "内存不足"},
};

constexpr const BoundRow& BoundRowOf(Bound bound) {
  for (const BoundRow& row : kBounds)
    if (row.bound == bound) return row;
  return kBounds[0];  // unreachable: every bound has its row
}

}  // namespace venbrook
