#pragma once
// A layout's records as plain data, for tests: each record's cells by column
// name (or "#n" for a column without a name) and its line.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sources/table/table_layout.h"

namespace venbrook::test {

struct LayoutRecord {
  std::map<std::string, std::string> cells;  // column name → value; empty cells left out
  int line = 0;
  bool operator==(const LayoutRecord&) const = default;
};

struct LayoutRecords {
  LayoutEnd::How how = LayoutEnd::How::Done;
  std::vector<LayoutRecord> records;
};

// Walks the layout once and names each cell by the layout's column names.
LayoutRecords RecordsOf(TableLayout& layout);

// The hosts a café's file holds beside a test's own: `pattern` once for
// each number from 11 on, "NN" written as the number.
std::string NumberedHosts(std::string_view pattern, int count);

}  // namespace venbrook::test
