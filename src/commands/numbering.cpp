#include "commands/numbering.h"

#include <algorithm>
#include <utility>

#include "model/gbk_text.h"

namespace venbrook {

Numbering DefaultNumbering(std::string prefix, int rows) {
  Numbering numbering{std::move(prefix)};
  const long long last = numbering.start + std::max(rows, 1) - 1;
  numbering.width = std::max(2, static_cast<int>(DecimalText(last).size()));
  return numbering;
}

std::string NumberedName(const Numbering& numbering, long long offset) {
  const std::string digits = DecimalText(numbering.start + offset);
  const std::size_t zeros = digits.size() < static_cast<std::size_t>(numbering.width) ? numbering.width - digits.size() : 0;
  return numbering.prefix + std::string(zeros, '0') + digits;
}

}  // namespace venbrook
