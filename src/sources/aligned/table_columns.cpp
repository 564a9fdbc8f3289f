#include "sources/aligned/table_columns.h"

#include <algorithm>
#include <limits>

namespace venbrook {
namespace {

constexpr std::uint32_t kWideGap = 2;  // blank columns that part two columns by themselves

std::uint32_t Overlap(const Span& span, const Word& word) {
  const std::uint32_t left = std::max(span.left, word.left), right = std::min(span.right, word.right);
  return right > left ? right - left : 0;
}

// Appends `span`, merged with the last one when they touch or overlap.
void Append(std::vector<Span>& spans, Span span) {
  if (!spans.empty() && span.left <= spans.back().right) spans.back().right = std::max(spans.back().right, span.right);
  else spans.push_back(span);
}

// A text with each run of blanks made one blank.
void AppendSqueezed(std::string_view text, std::string& out) {
  bool blank = false;
  for (const char c : text) {
    const bool isBlank = c == ' ' || c == '\t';
    if (!isBlank) out += c;
    else if (!blank) out += ' ';
    blank = isBlank;
  }
}

}  // namespace

void AddToRuns(const std::vector<Word>& words, std::vector<Span>& runs) {
  std::vector<Span> merged;
  merged.reserve(runs.size() + words.size());
  std::size_t r = 0, w = 0;
  while (r < runs.size() || w < words.size()) {
    if (w == words.size() || (r < runs.size() && runs[r].left <= words[w].left)) Append(merged, runs[r++]);
    else Append(merged, {words[w].left, words[w].right}), ++w;
  }
  runs.swap(merged);
}

int ColumnsCovered(const std::vector<Span>& runs, const std::vector<Word>& words) {
  std::vector<Span> columns;  // the runs joined as the line's own words part them
  std::size_t w = 0;
  for (const Span& run : runs) {
    while (w < words.size() && words[w].left < run.left) ++w;
    const bool parted = columns.empty() || run.left - columns.back().right >= kWideGap ||
                        (w < words.size() && words[w].left < run.right);
    if (parted) columns.push_back(run);
    else columns.back().right = run.right;
  }
  int covered = 0;
  std::size_t c = 0, last = std::numeric_limits<std::size_t>::max();
  for (const Word& word : words) {
    while (c < columns.size() && columns[c].right <= word.left) ++c;
    std::size_t under = 0;
    for (std::size_t k = c; k < columns.size() && columns[k].left < word.right; ++k) ++under;
    if (under > 1) return -1;
    if (under == 1 && c != last) ++covered, last = c;
  }
  return covered;
}

bool TableColumns::build(const std::vector<Span>& runs, const std::vector<HeadingLine>& heading,
                         const std::vector<Word>& rule, std::size_t maxColumns) {
  spans_.clear();
  names_.clear();
  joinData(runs, heading, rule);
  if (spans_.size() > maxColumns) return spans_.clear(), false;
  std::vector<Span> all;
  std::vector<Span> extra = headingOnlySpans(heading);
  std::merge(spans_.begin(), spans_.end(), extra.begin(), extra.end(), std::back_inserter(all),
             [](const Span& a, const Span& b) { return a.left < b.left; });
  spans_.clear();
  for (const Span& span : all) Append(spans_, span);
  if (spans_.size() > maxColumns) return spans_.clear(), false;
  nameColumns(heading);
  return true;
}

void TableColumns::joinData(const std::vector<Span>& runs, const std::vector<HeadingLine>& heading,
                            const std::vector<Word>& rule) {
  std::vector<std::uint32_t> starts;
  for (const HeadingLine& line : heading)
    for (const Word& word : *line.words) starts.push_back(word.left);
  for (const Word& dash : rule) starts.push_back(dash.left);
  std::sort(starts.begin(), starts.end());
  std::size_t d = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (i == 0) {
      spans_.push_back(runs[0]);
      continue;
    }
    const Span& before = runs[i - 1];
    while (d < rule.size() && rule[d].right <= before.left) ++d;
    const bool oneDash = d < rule.size() && rule[d].left < before.right && Overlap(runs[i], rule[d]) > 0;
    const auto start = std::lower_bound(starts.begin(), starts.end(), runs[i].left);
    const bool parted = runs[i].left - before.right >= kWideGap || (start != starts.end() && *start < runs[i].right);
    if (parted && !oneDash) spans_.push_back(runs[i]);
    else spans_.back().right = runs[i].right;
  }
}

// The heading's words that stand over no column and join no neighbour:
// each group of them one blank apart is a column without data.
std::vector<Span> TableColumns::headingOnlySpans(const std::vector<HeadingLine>& heading) const {
  std::vector<Span> spans;
  std::vector<int> columns;
  for (const HeadingLine& line : heading) {
    assignHeading(line, columns);
    const std::vector<Word>& words = *line.words;
    for (std::size_t i = 0; i < words.size(); ++i) {
      if (columns[i] >= 0) continue;
      if (i > 0 && columns[i - 1] < 0 && words[i].left - words[i - 1].right == 1) spans.back().right = words[i].right;
      else spans.push_back({words[i].left, words[i].right});
    }
  }
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
  std::vector<Span> merged;
  for (const Span& span : spans) Append(merged, span);
  return merged;
}

void TableColumns::assignHeading(const HeadingLine& line, std::vector<int>& columns) const {
  const std::vector<Word>& words = *line.words;
  columns.assign(words.size(), -1);
  std::size_t c = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    while (c < spans_.size() && spans_[c].right <= words[i].left) ++c;
    std::uint32_t best = 0;
    for (std::size_t k = c; k < spans_.size() && spans_[k].left < words[i].right; ++k)
      if (Overlap(spans_[k], words[i]) > best) best = Overlap(spans_[k], words[i]), columns[i] = static_cast<int>(k);
  }
  for (std::size_t i = 1; i < words.size(); ++i)
    if (columns[i] < 0 && columns[i - 1] >= 0 && words[i].left - words[i - 1].right == 1) columns[i] = columns[i - 1];
  for (std::size_t i = words.size(); i-- > 1;)
    if (columns[i - 1] < 0 && columns[i] >= 0 && words[i].left - words[i - 1].right == 1) columns[i - 1] = columns[i];
}

void TableColumns::nameColumns(const std::vector<HeadingLine>& heading) {
  names_.assign(spans_.size(), {});
  std::vector<int> columns;
  std::string part;
  for (const HeadingLine& line : heading) {
    assignHeading(line, columns);
    const std::vector<Word>& words = *line.words;
    for (std::size_t i = 0; i < words.size();) {
      std::size_t last = i;
      while (last + 1 < words.size() && columns[last + 1] == columns[i]) ++last;
      if (columns[i] >= 0) {
        std::string& name = names_[static_cast<std::size_t>(columns[i])];
        part.clear();
        AppendSqueezed(line.text.substr(words[i].begin, words[last].end - words[i].begin), part);
        if (!name.empty() && !name.ends_with('/') && !name.ends_with('-')) name += ' ';
        name += part;
      }
      i = last + 1;
    }
  }
}

bool TableColumns::fits(const std::vector<Word>& words) const {
  std::size_t c = 0;
  for (const Word& word : words) {
    while (c < spans_.size() && spans_[c].right <= word.left) ++c;
    if (c + 1 < spans_.size() && spans_[c].left < word.right && spans_[c + 1].left < word.right) return false;
  }
  return true;
}

void TableColumns::columnsOf(const std::vector<Word>& words, std::vector<int>& columns) const {
  columns.assign(words.size(), -1);
  if (spans_.empty()) return;
  std::size_t c = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Word& word = words[i];
    while (c < spans_.size() && spans_[c].right <= word.left) ++c;
    std::uint32_t best = 0;
    for (std::size_t k = c; k < spans_.size() && spans_[k].left < word.right; ++k)
      if (Overlap(spans_[k], word) > best) best = Overlap(spans_[k], word), columns[i] = static_cast<int>(k);
    if (columns[i] >= 0) continue;
    const std::uint32_t toLeft = c > 0 ? word.left - spans_[c - 1].right : std::numeric_limits<std::uint32_t>::max();
    const std::uint32_t toRight = c < spans_.size() ? spans_[c].left - word.right : std::numeric_limits<std::uint32_t>::max();
    columns[i] = static_cast<int>(toLeft <= toRight ? c - 1 : c);
  }
}

}  // namespace venbrook
