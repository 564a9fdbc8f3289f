#pragma once
// 编号…: names that number a run of rows in list order, "A区01", "A区02", ...
#include <string>

namespace venbrook {

struct Numbering {
  // What the dialog takes: a start of up to nine digits, one to nine digits.
  static constexpr long long kMaxStart = 999'999'999;
  static constexpr int kMaxWidth = 9;

  std::string prefix;  // GBK
  long long start = 1;
  int width = 2;  // digits at least, zeros in front
};

// The dialog's defaults for numbering `rows` rows: the prefix box's text,
// from 1, in two digits or as many as the last number takes.
Numbering DefaultNumbering(std::string prefix, int rows);

// The name of the row numbered `offset` (0 for the first): the prefix, then
// start + offset with zeros in front up to the width.
std::string NumberedName(const Numbering& numbering, long long offset);

}  // namespace venbrook
