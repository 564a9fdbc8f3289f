#include "sources/columns/column_judge.h"

#include <algorithm>

#include "model/mac_address.h"
#include "model/text_codec.h"

namespace venbrook {
namespace {

// Distinctness is judged over a column's first values: enough to tell names
// from a repeated word, without holding a hash per row of a large list.
constexpr std::size_t kDistinctSample = 4096;

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

// A MAC that shows itself as one: a bare twelve digits only with a letter.
bool LooksLikeMac(std::string_view value) {
  const MacAddress mac = ParseMac(value);
  return mac.valid() && (mac.shape != MacShape::Bare || mac.hasHexLetter);
}

int Rank(HeaderRole role) {
  switch (role) {
    case HeaderRole::Name: return 0;
    case HeaderRole::NameLike: return 1;
    default: return 2;
  }
}

std::size_t UniqueCount(std::vector<std::uint64_t> hashes) {
  std::sort(hashes.begin(), hashes.end());
  return static_cast<std::size_t>(std::unique(hashes.begin(), hashes.end()) - hashes.begin());
}

}  // namespace


ColumnJudge::ColumnJudge(CellText text) : text_(text), headerDecided_(false) {}

ColumnJudge::ColumnJudge(std::vector<std::string> headerUtf8)
    : text_(CellText::Utf8), headerDecided_(true), tableHeader_(true), header_(std::move(headerUtf8)) {
  for (const std::string& name : header_) headerRoles_.push_back(ClassifyHeader(name));
}

void ColumnJudge::addCell(std::string_view value) {
  if (tableHeader_) {
    tallyCell(rowCells_++, value);
    return;
  }
  if (headerDecided_) {
    if (row_.size() <= static_cast<std::size_t>(rowCells_)) row_.emplace_back();
    row_[rowCells_++].assign(value);
    rowHasMac_ = rowHasMac_ || ParseMac(value).valid();
    return;
  }
  if (pending_.size() <= static_cast<std::size_t>(rowsOffered_)) pending_.emplace_back();
  pending_.back().emplace_back(value);
  pendingHasMac_ = pendingHasMac_ || LooksLikeMac(value);
}

void ColumnJudge::endRow() {
  if (tableHeader_) {
    rowCells_ = 0;
    ++dataRows_;
    return;
  }
  if (headerDecided_) {
    if (rowHasMac_) {
      for (int cell = 0; cell < rowCells_; ++cell) tallyCell(cell, row_[cell]);
      ++dataRows_;
    }
    rowCells_ = 0;
    rowHasMac_ = false;
    return;
  }
  if (pending_.size() <= static_cast<std::size_t>(rowsOffered_)) pending_.emplace_back();
  ++rowsOffered_;
  if (pendingHasMac_ || rowsOffered_ >= kHeaderSearchRows) decideHeader();
}

// The header is the last row, above the first that holds a MAC, whose cells
// hold no value of a list and name a MAC, an address or a machine's name: a title, a comment or
// PowerShell's "#TYPE" line above it is no header.
void ColumnJudge::decideHeader() {
  headerDecided_ = true;
  const auto isValue = [](const std::string& cell) {
    const std::string_view value = TrimBlanks(cell);
    return IsMacText(value) || IsIpv4Address(value) || IsDateOrTime(value);
  };
  std::size_t firstMacRow = pending_.size();
  for (std::size_t row = 0; row < pending_.size(); ++row)
    if (std::any_of(pending_[row].begin(), pending_[row].end(), [](const std::string& c) { return LooksLikeMac(c); })) {
      firstMacRow = row;
      break;
    }
  for (std::size_t row = 0; row < firstMacRow; ++row) {
    const std::vector<std::string>& cells = pending_[row];
    if (std::any_of(cells.begin(), cells.end(), isValue)) continue;
    std::vector<std::string> names;
    bool namesSomething = false;
    for (const std::string& cell : cells) {
      names.push_back(text_ == CellText::Gbk ? GbkToUtf8(cell) : cell);
      const HeaderRole role = ClassifyHeader(names.back());
      namesSomething = namesSomething || (role != HeaderRole::None && role != HeaderRole::NotName);
    }
    if (!namesSomething) continue;
    headerRow_ = static_cast<int>(row);
    header_ = std::move(names);
  }
  for (const std::string& name : header_) headerRoles_.push_back(ClassifyHeader(name));
  std::vector<std::vector<std::string>> rows = std::move(pending_);
  pending_.clear();
  for (std::size_t row = headerRow_ + 1; row < rows.size(); ++row) {
    for (const std::string& cell : rows[row]) addCell(cell);
    endRow();
  }
}

void ColumnJudge::tallyCell(int column, std::string_view value) {
  value = TrimBlanks(value);
  if (value.empty()) return;
  if (tallies_.size() <= static_cast<std::size_t>(column)) tallies_.resize(column + 1);
  Tally& tally = tallies_[column];
  ++tally.filled;
  const MacAddress mac = ParseMac(value);
  std::uint64_t hash;
  if (mac.valid()) {
    ++(mac.shape == MacShape::Bare ? tally.bare : tally.macs);
    tally.bareLetter = tally.bareLetter || (mac.shape == MacShape::Bare && mac.hasHexLetter);
    ++tally.notNames;
    hash = static_cast<std::uint64_t>(mac.number);  // one machine, whatever its form
  } else {
    // Addresses, dates and times all begin with a digit; most names do not.
    const bool digitFirst = value.front() >= '0' && value.front() <= '9';
    if (digitFirst && (IsIpv4Address(value) || IsDateOrTime(value))) ++tally.notNames;
    if (digitFirst && IsAllDigits(value)) ++tally.integers;
    hash = tally.hashes.size() < kDistinctSample ? Fnv1a(value) : 0;
  }
  if (tally.hashes.size() < kDistinctSample) tally.hashes.push_back(hash);
}

HeaderRole ColumnJudge::roleOf(int column) const {
  return column < static_cast<int>(headerRoles_.size()) ? headerRoles_[column] : HeaderRole::None;
}

// At least 90 % of its values are MACs; a column of bare twelve digits only
// when one holds a letter or its header says MAC. A column named an IP
// address holds none. (A DHCP server calls its MAC column "ClientId" or
// "Unique ID": an id's name does not keep MACs out.)
bool ColumnJudge::holdsMacs(int column) const {
  const HeaderRole role = roleOf(column);
  if (role == HeaderRole::Address || column >= static_cast<int>(tallies_.size())) return false;
  const Tally& tally = tallies_[column];
  const std::int64_t macs = tally.macs + (tally.bareLetter || role == HeaderRole::Mac ? tally.bare : 0);
  return macs > 0 && macs * 10 >= tally.filled * 9;
}

// Values that look like a café's machine names: filled in more than half the rows, at
// least 90 % of them neither MACs, addresses, dates nor times, and mostly
// distinct (a repeated status, zone or interface is none). A column of bare
// numbers (a row number, a time stamp) only when its header names it.
bool ColumnJudge::holdsNames(int column) const {
  const HeaderRole role = roleOf(column);
  if (role == HeaderRole::Mac || role == HeaderRole::Address || role == HeaderRole::NotName ||
      column >= static_cast<int>(tallies_.size()))
    return false;
  const Tally& tally = tallies_[column];
  if (tally.filled == 0 || tally.filled * 2 <= dataRows_) return false;
  if ((tally.filled - tally.notNames) * 10 < tally.filled * 9) return false;
  if (tally.integers == tally.filled && role == HeaderRole::None) return false;
  return UniqueCount(tally.hashes) * 10 >= tally.hashes.size() * 9;
}

ColumnChoice ColumnJudge::decide() {
  if (!headerDecided_) decideHeader();
  ColumnChoice choice;
  choice.headerRow = headerRow_;
  const int columns = static_cast<int>(tallies_.size());
  for (int column = 0; column < columns; ++column) {
    if (!holdsMacs(column)) continue;
    if (choice.mac < 0) choice.mac = column;
    if (roleOf(column) == HeaderRole::Mac) {
      if (roleOf(choice.mac) != HeaderRole::Mac) choice.mac = column;
    }
  }
  if (choice.mac < 0) return choice;
  int bestRank = 3;
  for (int column = 0; column < columns; ++column) {
    if (column == choice.mac || !holdsNames(column)) continue;
    const int rank = Rank(roleOf(column));
    if (rank < bestRank) bestRank = rank, choice.name = column;
  }
  macColumn_ = choice.mac;
  return choice;
}

std::string ColumnJudge::columnWordsUtf8(int column) const {
  if (column >= 0 && column < static_cast<int>(header_.size())) {
    const std::string_view name = TrimBlanks(header_[column]);
    if (!name.empty()) return std::string(name);
  }
  return "第 " + std::to_string(column + 1) + " 列";
}

bool ColumnJudge::macsDistinct() const {
  if (macColumn_ < 0) return false;
  const std::vector<std::uint64_t>& hashes = tallies_[macColumn_].hashes;
  return UniqueCount(hashes) == hashes.size();
}

}  // namespace venbrook
