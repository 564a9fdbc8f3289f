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
  if (mac.valid()) return mac.shape != MacShape::Bare || mac.hasHexLetter;
  return ParseClientId(value).valid();
}

// The hashes' distinct values, and the longest run of one of them.
std::pair<int, int> CountRuns(std::vector<std::uint64_t> hashes) {
  std::sort(hashes.begin(), hashes.end());
  int distinct = 0, largest = 0, run = 0;
  for (std::size_t at = 0; at < hashes.size(); ++at) {
    if (at == 0 || hashes[at] != hashes[at - 1]) ++distinct, run = 0;
    largest = std::max(largest, ++run);
  }
  return {distinct, largest};
}

// The most cells in the rows below a header: a header of more cells than
// any of them was split where its names hold blanks ("IP Address  MAC
// Address"), and its words do not stand over their columns.
int MostCells(const std::vector<std::vector<std::string>>& rows, std::size_t from) {
  int most = 0;
  for (std::size_t row = from; row < rows.size(); ++row) {
    int cells = 0;
    for (std::size_t column = 0; column < rows[row].size(); ++column)
      if (!TrimBlanks(rows[row][column]).empty()) cells = static_cast<int>(column) + 1;
    most = std::max(most, cells);
  }
  return most;
}

bool AtLeastNineTenths(std::int64_t part, std::int64_t whole) { return part > 0 && part * 10 >= whole * 9; }
bool AtLeastHalf(std::int64_t part, std::int64_t whole) { return part > 0 && part * 2 >= whole; }

}  // namespace

ColumnJudge::ColumnJudge(CellText text, bool findHeader)
    : text_(text), headerDecided_(!findHeader), everyRow_(!findHeader) {}

void ColumnJudge::addCell(int column, std::string_view value) {
  if (column < 0) return;
  if (!headerDecided_) {
    keepPending(column, value);
    return;
  }
  const auto at = static_cast<std::size_t>(column);
  if (row_.size() <= at) row_.resize(at + 1);
  if (row_[at].empty()) rowColumns_.push_back(column);
  row_[at].assign(value);
  if (!everyRow_ && !rowHasMac_) rowHasMac_ = ParseMac(value).valid() || ParseClientId(value).valid();
}

void ColumnJudge::keepPending(int column, std::string_view value) {
  if (pending_.size() <= static_cast<std::size_t>(rowsOffered_)) pending_.emplace_back();
  std::vector<std::string>& row = pending_.back();
  if (row.size() <= static_cast<std::size_t>(column)) row.resize(static_cast<std::size_t>(column) + 1);
  row[static_cast<std::size_t>(column)].assign(value);
}

void ColumnJudge::endRow() {
  if (headerDecided_) {
    tallyRow();
    return;
  }
  if (pending_.size() <= static_cast<std::size_t>(rowsOffered_)) pending_.emplace_back();
  ++rowsOffered_;
  const std::vector<std::string>& row = pending_.back();
  if (rowsOffered_ >= kHeaderSearchRows || std::any_of(row.begin(), row.end(), LooksLikeMac)) decideHeader();
}

bool RowIsSpareAdapter(std::string_view adapter, const std::vector<std::string_view>& cells) {
  bool notMachine = false;
  bool spare = IsAdapterName(adapter, notMachine) && notMachine;
  for (const std::string_view cell : cells) {
    if (HoldsIpv4(cell)) return false;
    // The adapter's name may say what it is where its description is cut
    // short, or the other way round.
    spare = spare || SaysDisconnected(cell) || (IsAdapterName(cell, notMachine) && notMachine);
  }
  return spare;
}

bool ColumnJudge::spareAdapterRow() const {
  if (adapterColumn_ < 0) return false;
  std::vector<std::string_view> cells;
  for (const int column : rowColumns_) cells.push_back(row_[static_cast<std::size_t>(column)]);
  const auto at = static_cast<std::size_t>(adapterColumn_);
  return RowIsSpareAdapter(at < row_.size() ? std::string_view(row_[at]) : std::string_view{}, cells);
}

void ColumnJudge::tallyRow() {
  if ((rowHasMac_ || (everyRow_ && !rowColumns_.empty())) && !spareAdapterRow()) {
    for (const int column : rowColumns_) tallyCell(column, row_[static_cast<std::size_t>(column)]);
    ++dataRows_;
  }
  for (const int column : rowColumns_) row_[static_cast<std::size_t>(column)].clear();
  rowColumns_.clear();
  rowHasMac_ = false;
}

// The header is the last row, above the first that holds a MAC, whose cells
// hold no value of a list and name a MAC, an address or a machine's name: a
// title, a comment or PowerShell's "#TYPE" line above it is no header.
void ColumnJudge::decideHeader() {
  headerDecided_ = true;
  const auto isValue = [](const std::string& cell) {
    const std::string_view value = TrimBlanks(cell);
    return IsMacText(value) || IsIpv4Address(value) || IsDateOrTime(value);
  };
  std::size_t firstMacRow = pending_.size();
  for (std::size_t row = 0; row < pending_.size(); ++row)
    if (std::any_of(pending_[row].begin(), pending_[row].end(), LooksLikeMac)) {
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
  if (headerRow_ >= 0) {
    int headerCells = 0;
    for (std::size_t column = 0; column < header_.size(); ++column)
      if (!TrimBlanks(header_[column]).empty()) headerCells = static_cast<int>(column) + 1;
    const int most = MostCells(pending_, firstMacRow);
    if (most > 0 && headerCells > most) header_.clear();  // the line stays a header, its words name nothing
  }
  std::vector<std::vector<std::string>> rows = std::move(pending_);
  pending_.clear();
  for (std::size_t row = static_cast<std::size_t>(headerRow_ + 1); row < rows.size(); ++row) {
    for (std::size_t column = 0; column < rows[row].size(); ++column)
      if (!rows[row][column].empty()) addCell(static_cast<int>(column), rows[row][column]);
    endRow();
  }
}

void ColumnJudge::tallyCell(int column, std::string_view value) {
  value = TrimBlanks(value);
  if (value.empty()) return;
  if (tallies_.size() <= static_cast<std::size_t>(column)) tallies_.resize(static_cast<std::size_t>(column) + 1);
  Tally& tally = tallies_[static_cast<std::size_t>(column)];
  ++tally.filled;
  const bool sampled = tally.sampled < static_cast<std::int64_t>(kDistinctSample);
  tally.sampled += sampled;
  const MacAddress mac = ParseMac(value);
  if (mac.valid()) {
    ++(mac.shape == MacShape::Bare ? tally.bare : tally.macs);
    tally.bareLetter = tally.bareLetter || (mac.shape == MacShape::Bare && mac.hasHexLetter);
    // One machine, whatever its form.
    if (sampled) ++tally.notNames, tally.hashes.push_back(static_cast<std::uint64_t>(mac.number));
    return;
  }
  if (const MacAddress id = ParseClientId(value); id.valid()) {
    ++tally.clientIds;
    if (sampled) ++tally.notNames, tally.hashes.push_back(static_cast<std::uint64_t>(id.number));
    return;
  }
  if (!sampled) return;
  if (value.size() == 1 && value[0] >= '0' && value[0] <= '2') ++tally.smallNumbers;
  const ValueWords words = ReadValueWords(value);
  if (words.noName) {
    ++tally.noNames;  // no name, and no hash: distinctness is among the names
    tally.gaps += words.gap;
    return;
  }
  // Dates, times and numbers all begin with a digit; most names do not.
  const bool digitFirst = value.front() >= '0' && value.front() <= '9';
  bool notName = words.state || words.interfaceName || words.adapter || words.directoryName || words.boolean ||
                 value.front() == '\\';  // a device's path
  if (digitFirst && IsDateOrTime(value)) ++tally.dates, notName = true;
  if (digitFirst && IsAllDigits(value)) ++tally.integers;
  tally.states += words.state;
  tally.adapters += words.adapter;
  tally.dnsNames += words.dnsName;
  if (notName) ++tally.notNames;
  tally.hashes.push_back(Fnv1a(value));
}

HeaderRole ColumnJudge::roleOf(int column) const {
  return column >= 0 && column < static_cast<int>(headerRoles_.size()) ? headerRoles_[static_cast<std::size_t>(column)]
                                                                       : HeaderRole::None;
}

void ColumnJudge::countDistinct() {
  distinct_.clear();
  for (const Tally& tally : tallies_) {
    const auto [count, largest] = CountRuns(tally.hashes);
    distinct_.push_back({count, largest});
  }
}

// At least 90 % of its values are MACs, whatever its header says; a column
// of bare twelve digits only when one holds a letter or its header says MAC.
// A word for no value (a scanner's "[n/s]" for a host that did not answer,
// "N/A") is a gap, not a value: gaps are counted among the values looked at
// for words, so a long column may count fewer than it has, never more.
bool ColumnJudge::holdsMacs(int column) const {
  const Tally& tally = tallies_[static_cast<std::size_t>(column)];
  const std::int64_t macs = tally.macs + (tally.bareLetter || roleOf(column) == HeaderRole::Mac ? tally.bare : 0);
  return AtLeastNineTenths(macs, tally.filled - tally.gaps);
}

// At least 90 % of its values are client identifiers (or MACs among them).
bool ColumnJudge::holdsClientIds(int column) const {
  const Tally& tally = tallies_[static_cast<std::size_t>(column)];
  return tally.clientIds > 0 && AtLeastNineTenths(tally.clientIds + tally.macs, tally.filled - tally.gaps);
}

// Values that look like a café's machine names. Leaving aside the values
// that only stand in a name's place ("*", "N/A", an address), at least 90 %
// are neither MACs, dates, times, states, interfaces nor adapters; they
// fill more than half the rows (a tenth where the header names them); and
// they are about as many as the machines (a repeated status, zone or
// vendor is none). A column of bare numbers (a row number, a time stamp)
// only when its header names it.
bool ColumnJudge::holdsNames(int column) const {
  const HeaderRole role = roleOf(column);
  if (role == HeaderRole::Mac || role == HeaderRole::ClientId || role == HeaderRole::NotName ||
      column >= static_cast<int>(tallies_.size()) || column == macColumn_)
    return false;
  const Tally& tally = tallies_[static_cast<std::size_t>(column)];
  const std::int64_t names = tally.sampled - tally.noNames;
  const bool named = role == HeaderRole::Name || role == HeaderRole::NameLike;
  // Filled, placeholders counting: "?" where a name could not be found is
  // a name column with a gap, not a sparse remark.
  if (names <= 0 || names * 10 < tally.sampled) return false;
  if (tally.filled * 2 <= dataRows_ && !(named && tally.filled * 10 >= dataRows_)) return false;
  if (!AtLeastNineTenths(names - tally.notNames, names)) return false;
  if (tally.integers == names && !named) return false;
  const std::int64_t distinct = distinctCount(column);
  if (macColumn_ < 0) return distinct * 10 >= static_cast<std::int64_t>(tally.hashes.size()) * 9;
  // About as many names as machines; where the header names them, a name
  // may stand for a few MACs of one machine (a host's two cards), never for
  // many (a status, a zone).
  const std::int64_t machines =
      std::min<std::int64_t>(static_cast<std::int64_t>(tally.hashes.size()), distinctCount(macColumn_));
  if (distinct * 10 >= machines * 9) return true;
  return named && distinct_[static_cast<std::size_t>(column)].largestRun <= 4 && distinct * 2 >= machines;
}

bool ColumnJudge::columnHoldsNames(int column, std::vector<std::string> columnNamesUtf8) {
  tallyRow();
  countDistinct();
  header_ = std::move(columnNamesUtf8);
  headerRoles_.clear();
  for (const std::string& name : header_) headerRoles_.push_back(ClassifyHeader(name));
  return holdsNames(column);
}

int ColumnJudge::nameRank(int column) const {
  switch (roleOf(column)) {
    case HeaderRole::Name: return 0;
    case HeaderRole::NameLike: return 1;
    case HeaderRole::None: return 2;
    case HeaderRole::Address: return 3;
    default: return 4;  // a remark
  }
}

ColumnChoice ColumnJudge::decide(std::vector<std::string> columnNamesUtf8) {
  if (!headerDecided_) decideHeader();
  tallyRow();
  ColumnChoice choice;
  if (!columnNamesUtf8.empty()) {
    header_ = std::move(columnNamesUtf8);
    headerRow_ = -1;
  }
  choice.headerRow = headerRow_;
  countDistinct();
  headerRoles_.clear();
  for (const std::string& name : header_) headerRoles_.push_back(ClassifyHeader(name));
  const int columns = static_cast<int>(tallies_.size());

  // The MACs: the column with the most machines; its header's word decides
  // between equals, then the leftmost. Client identifiers only where no
  // column holds MACs themselves.
  int bestMachines = -1;
  for (int column = 0; column < columns; ++column) {
    if (!holdsMacs(column)) continue;
    const int machines = distinctCount(column);
    const bool better = machines > bestMachines ||
                        (machines == bestMachines && roleOf(column) == HeaderRole::Mac && roleOf(choice.mac) != HeaderRole::Mac);
    if (better) bestMachines = machines, choice.mac = column;
  }
  for (int column = 0; column < columns; ++column) {
    if (column == choice.mac || !holdsClientIds(column)) continue;
    if (choice.mac < 0) choice.mac = column, choice.macIsClientId = true;
    else if (choice.clientId < 0) choice.clientId = column;
  }
  if (choice.mac < 0) return choice;
  macColumn_ = choice.mac;

  int bestRank = 5;
  for (int column = 0; column < columns; ++column) {
    if (!holdsNames(column)) continue;
    const int rank = nameRank(column);
    if (rank < bestRank) bestRank = rank, choice.name = column;
  }
  // A record that holds a host's short name and its DNS name is named by
  // the short one.
  const auto isDnsColumn = [&](int column) {
    const Tally& tally = tallies_[static_cast<std::size_t>(column)];
    return AtLeastHalf(tally.dnsNames, tally.sampled - tally.noNames);
  };
  if (choice.name >= 0 && isDnsColumn(choice.name))
    for (int column = 0; column < columns; ++column)
      if (column != choice.name && holdsNames(column) && nameRank(column) <= 2 && !isDnsColumn(column)) {
        choice.name = column;
        break;
      }

  // A second column its header calls names (an alias beside a host name)
  // names a row the first leaves without one.
  for (int column = 0, elseRank = 2; choice.name >= 0 && column < columns; ++column)
    if (column != choice.name && holdsNames(column) && nameRank(column) < elseRank)
      elseRank = nameRank(column), choice.nameElse = column;

  bool datesBeside = false;
  for (int column = 0; column < columns; ++column) {
    if (column == choice.mac || column == choice.name || column == choice.nameElse) continue;
    const Tally& tally = tallies_[static_cast<std::size_t>(column)];
    if (AtLeastHalf(tally.states, tally.sampled) &&
        (choice.state < 0 || tally.states > tallies_[static_cast<std::size_t>(choice.state)].states))
      choice.state = column;
    if (AtLeastHalf(tally.adapters, tally.sampled) && choice.adapter < 0) choice.adapter = column;
    const bool timeNamed = column < static_cast<int>(header_.size()) && HeaderNamesTime(header_[static_cast<std::size_t>(column)]);
    datesBeside = datesBeside || AtLeastNineTenths(tally.dates, tally.sampled) || (timeNamed && tally.filled > 0);
  }
  // Kea's lease file writes its states as numbers.
  for (int column = 0; choice.state < 0 && column < columns; ++column) {
    const Tally& tally = tallies_[static_cast<std::size_t>(column)];
    if (column < static_cast<int>(header_.size()) && TrimBlanks(header_[static_cast<std::size_t>(column)]) == "state" &&
        tally.sampled > 0 && tally.smallNumbers == tally.sampled)
      choice.state = column, choice.stateNumbers = true;
  }
  choice.timed = datesBeside || choice.state >= 0;
  choice.sightings = !macsDistinct() && choice.timed;
  return choice;
}

std::string ColumnJudge::columnWordsUtf8(int column) const {
  if (column >= 0 && column < static_cast<int>(header_.size())) {
    const std::string_view name = TrimBlanks(header_[static_cast<std::size_t>(column)]);
    if (!name.empty()) return std::string(name);
  }
  return "第 " + std::to_string(column + 1) + " 列";
}

bool ColumnJudge::macsDistinct() const {
  if (macColumn_ < 0) return false;
  return distinct_[static_cast<std::size_t>(macColumn_)].largestRun <= 1;
}

}  // namespace venbrook
