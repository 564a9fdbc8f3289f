#include "sources/aligned/ip_neighbours.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "sources/aligned/line_words.h"
#include "sources/text/text_lines.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

// The columns, in the order of `kColumns`.
enum Column : int { kDst, kDev, kLladdr, kUsed, kProbes, kState };
constexpr std::string_view kColumns[] = {"dst", "dev", "lladdr", "used", "probes", "state"};

bool IsNeighbour(std::string_view line, const std::vector<Word>& words) {
  return words.size() >= 3 && WordText(line, words[1]) == "dev";
}

bool IsState(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return (c >= 'A' && c <= 'Z') || c == '_'; });
}

class IpNeighbours final : public TableLayout {
 public:
  explicit IpNeighbours(std::string_view text) : text_(text) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    TextLines lines(text_);
    std::string_view line;
    std::vector<Word> words;
    while (lines.next(line)) {
      if (line.size() > kMaxRecordBytes) return LayoutEnd::Past(Bound::RecordBytes);
      SplitWords(line, words);
      if (words.empty()) continue;
      const std::string_view address = WordText(line, words[0]);
      if (IsNeighbour(line, words) && address.find(':') != std::string_view::npos) continue;  // IPv6
      if (IsNeighbour(line, words) && IsIpv4Address(address)) cells(line, words, visitor);
      if (!visitor.endRecord(lines.number())) return {LayoutEnd::How::Stopped};
    }
    return {};
  }

  std::vector<std::string> columnNames() const override { return {std::begin(kColumns), std::end(kColumns)}; }
  RecordKind kind() const override { return RecordKind::Events; }
  std::string_view wordsUtf8() const override { return "ARP 表"; }

 private:
  // A key given twice keeps its first value.
  static void cells(std::string_view line, const std::vector<Word>& words, RecordVisitor& visitor) {
    bool given[std::size(kColumns)] = {};
    const auto give = [&](int column, std::string_view value) {
      if (!given[column]) visitor.cell(column, value);
      given[column] = true;
    };
    give(kDst, WordText(line, words[0]));
    for (std::size_t i = 1; i < words.size(); ++i) {
      const std::string_view word = WordText(line, words[i]);
      const auto key = std::find(std::begin(kColumns), std::end(kColumns), word);
      if (key != std::end(kColumns) && *key != "dst" && *key != "state" && i + 1 < words.size())
        give(static_cast<int>(key - std::begin(kColumns)), WordText(line, words[++i]));
      else if (IsState(word))
        give(kState, word);
    }
  }

  std::string_view text_;
};

}  // namespace

bool ClaimsIpNeighbours(std::string_view sampleUtf8) {
  TextLines lines(sampleUtf8);
  std::string_view line;
  std::vector<Word> words;
  bool lladdr = false;
  while (lines.next(line)) {
    SplitWords(line, words);
    if (words.empty()) continue;
    if (!IsNeighbour(line, words)) return false;
    for (const Word& word : words) lladdr |= WordText(line, word) == "lladdr";
  }
  return lladdr;
}

std::unique_ptr<TableLayout> MakeIpNeighboursLayout(std::string_view textUtf8) {
  return std::make_unique<IpNeighbours>(textUtf8);
}

}  // namespace venbrook
