#include "support/layout_records.h"

#include <utility>

namespace venbrook::test {
namespace {

class Collector final : public RecordVisitor {
 public:
  void cell(int column, std::string_view value) override {
    if (!value.empty()) cells_.emplace_back(column, std::string(value));
  }
  bool endRecord(int line) override {
    records_.push_back({std::move(cells_), line});
    cells_.clear();
    return true;
  }
  std::vector<std::pair<std::vector<std::pair<int, std::string>>, int>> records_;

 private:
  std::vector<std::pair<int, std::string>> cells_;
};

}  // namespace

LayoutRecords RecordsOf(TableLayout& layout) {
  Collector collector;
  LayoutRecords out;
  out.how = layout.forEachRecord(collector).how;
  const std::vector<std::string> names = layout.columnNames();
  for (auto& [cells, line] : collector.records_) {
    LayoutRecord record;
    record.line = line;
    for (auto& [column, value] : cells) {
      const std::string name = column < static_cast<int>(names.size()) && !names[column].empty()
                                   ? names[column]
                                   : "#" + std::to_string(column);
      record.cells[name] = std::move(value);
    }
    out.records.push_back(std::move(record));
  }
  return out;
}

std::string NumberedHosts(std::string_view pattern, int count) {
  std::string text;
  for (int number = 11; number < 11 + count; ++number) {
    std::string host(pattern);
    for (std::size_t at = host.find("NN"); at != std::string::npos; at = host.find("NN"))
      host.replace(at, 2, std::to_string(number));
    text += host;
  }
  return text;
}

}  // namespace venbrook::test
