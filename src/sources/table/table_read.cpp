#include "sources/table/table_read.h"

#include <algorithm>
#include <optional>

#include "model/mac_address.h"
#include "platform/code_page_936.h"
#include "sources/table/mac_index.h"

namespace venbrook {
namespace {

// Passes a layout's records on while they keep within the bounds; past
// one, it drops what follows and stops the walk at the record's end, so no
// record larger than a bound ever reaches the judge or the list.
class BoundedVisitor final : public RecordVisitor {
 public:
  explicit BoundedVisitor(RecordVisitor& inner) : inner_(inner) {}

  void cell(int column, std::string_view value) override {
    if (past_) return;
    if (static_cast<std::uint64_t>(column) >= kMaxRecordCells || ++cells_ > kMaxRecordCells) {
      past_ = Bound::RecordCells;
      return;
    }
    bytes_ += value.size();
    if (bytes_ > kMaxRecordBytes) {
      past_ = Bound::RecordBytes;
      return;
    }
    inner_.cell(column, value);
  }

  bool endRecord(int line) override {
    if (!past_ && ++records_ > kMaxRecords) past_ = Bound::Records;
    if (past_) return false;
    cells_ = 0;
    bytes_ = 0;
    return inner_.endRecord(line);
  }

  // How the walk ended, with what this visitor saw.
  std::optional<Bound> past() const { return past_; }

 private:
  RecordVisitor& inner_;
  std::uint64_t cells_ = 0, bytes_ = 0, records_ = 0;
  std::optional<Bound> past_;
};

// The walk, bounded; Loaded when it came to its end.
TableRead::Outcome Walk(TableLayout& layout, RecordVisitor& visitor, Bound& bound) {
  BoundedVisitor bounded(visitor);
  const LayoutEnd end = layout.forEachRecord(bounded);
  if (bounded.past()) {
    bound = *bounded.past();
    return TableRead::Outcome::TooLarge;
  }
  switch (end.how) {
    case LayoutEnd::How::Done:
    case LayoutEnd::How::Stopped: return TableRead::Outcome::Loaded;
    case LayoutEnd::How::Damaged: return TableRead::Outcome::Damaged;
    case LayoutEnd::How::TooLarge: bound = end.bound; return TableRead::Outcome::TooLarge;
  }
  return TableRead::Outcome::Damaged;
}

void Skip(int line, TableRead& read) {
  ++read.skippedLines;
  std::vector<int>& first = read.firstSkipped;
  first.insert(std::upper_bound(first.begin(), first.end(), line), line);
  if (first.size() > 3) first.pop_back();
}

// Hands every record to the judge, and counts them: should no column hold
// MACs, each was a line without a machine.
class JudgeVisitor final : public RecordVisitor {
 public:
  JudgeVisitor(ColumnJudge& judge, TableRead& records) : judge_(judge), records_(records) {}
  void cell(int column, std::string_view value) override { judge_.addCell(column, value); }
  bool endRecord(int line) override {
    judge_.endRow();
    Skip(line, records_);
    return true;
  }

 private:
  ColumnJudge& judge_;
  TableRead& records_;
};

// A name as the list keeps it: one line (a quoted field may hold breaks),
// up to its first NUL as a database's text ends; nothing where a value only
// stands in a name's place.
std::string_view ShownName(std::string_view name, CellText text, std::string& holder) {
  name = name.substr(0, name.find('\0'));
  if (IsNoName(name)) return {};
  if (text == CellText::Gbk && !IsWellFormedCodePage936(name)) return {};
  if (name.find_first_of("\r\n") == std::string_view::npos) return name;
  holder.clear();
  for (const char c : name) {
    const bool lineBreak = c == '\r' || c == '\n';
    if (!lineBreak) holder += c;
    else if (holder.empty() || holder.back() != ' ') holder += ' ';
  }
  return holder;
}

// Each record's MAC and name into the sink, or, for a record of events,
// into one machine per MAC first.
class RowReader final : public RecordVisitor {
 public:
  RowReader(const TableJudgement& judgement, CellText text, RowSink& sink, TableRead& read)
      : choice_(judgement.choice), events_(judgement.events), text_(text), sink_(sink), read_(read) {}

  void cell(int column, std::string_view value) override {
    if (column == choice_.mac) mac_.assign(value);
    else if (column == choice_.name) name_.assign(value);
    else if (column == choice_.clientId) clientId_.assign(value);
    else if (column == choice_.nameElse) nameElse_.assign(value);
    if (column == choice_.state) state_.assign(value);
    if (choice_.adapter < 0) return;
    // A table of adapters: the whole row tells whether it is a machine.
    if (column == choice_.adapter) adapter_.assign(value);
    if (cells_.size() <= used_) cells_.emplace_back();
    cells_[used_++].assign(value);
  }

  bool endRecord(int line) override {
    record(line);
    mac_.clear();
    clientId_.clear();
    name_.clear();
    nameElse_.clear();
    state_.clear();
    adapter_.clear();
    used_ = 0;
    return true;
  }

  // Some row's name came from the second column of names.
  bool tookNameElse() const { return tookNameElse_; }

  // The machines of a record of events, once every record is in.
  void flush() {
    for (const Machine& machine : machines_) {
      if (!machine.inUse) {
        skip(machine.line);
        continue;
      }
      const std::string_view name = std::string_view(names_).substr(machine.nameStart, machine.nameLength);
      sink_.addMachine(name, text_, machine.mac);
      ++read_.rows;
    }
  }

 private:
  struct Machine {
    std::int64_t mac;
    std::size_t nameStart, nameLength;
    int line;
    bool inUse;
  };

  void record(int line) {
    const int index = index_++;
    if (index == choice_.headerRow) return;
    if (index < choice_.headerRow) return skip(line);
    const std::int64_t mac = MacOf();
    if (!IsMachineAddress(mac)) return skip(line);
    if (choice_.adapter >= 0 && spareAdapter()) return skip(line);
    std::string_view name = ShownName(name_, text_, shownName_);
    if (name.empty() && choice_.nameElse >= 0) {
      name = ShownName(nameElse_, text_, shownName_);
      tookNameElse_ = tookNameElse_ || !name.empty();
    }
    const bool ended = stateIsOver();
    if (!events_) {
      // A list's row whose state says it is over (a declined lease) is no machine.
      if (ended) return skip(line);
      sink_.addMachine(name, text_, mac);
      ++read_.rows;
      return;
    }
    const int known = index_by_mac_.findOrAdd(mac, static_cast<int>(machines_.size()));
    if (known == static_cast<int>(machines_.size())) {
      machines_.push_back({mac, names_.size(), name.size(), line, !ended});
      names_ += name;
      return;
    }
    ++read_.merged;
    Machine& machine = machines_[static_cast<std::size_t>(known)];
    machine.inUse = machine.inUse || !ended;
    if (!name.empty()) {  // the latest record that names the machine
      machine.nameStart = names_.size();
      machine.nameLength = name.size();
      names_ += name;
    }
  }

  void skip(int line) { Skip(line, read_); }

  // The record's MAC: a client identifier's where the column holds them
  // (a MAC written as itself among them too), and a client identifier's in
  // another column where the MAC is missing.
  std::int64_t MacOf() const {
    const MacAddress mac = choice_.macIsClientId ? ParseClientId(mac_) : ParseMac(mac_);
    if (mac.valid()) return mac.number;
    if (choice_.macIsClientId) return ParseMac(mac_).number;
    if (choice_.clientId >= 0 && TrimBlanks(mac_).empty()) return ParseClientId(clientId_).number;
    return -1;
  }

  bool spareAdapter() {
    views_.clear();
    for (std::size_t cell = 0; cell < used_; ++cell) views_.emplace_back(cells_[cell]);
    return RowIsSpareAdapter(adapter_, views_);
  }

  bool stateIsOver() const {
    if (choice_.state < 0) return false;
    const std::string_view state = TrimBlanks(state_);
    if (choice_.stateNumbers) return state == "1" || state == "2";
    bool over = false;
    return IsStateWord(state, over) && over;
  }

  const ColumnChoice& choice_;
  const bool events_;
  const CellText text_;
  RowSink& sink_;
  TableRead& read_;
  int index_ = 0;
  bool tookNameElse_ = false;
  std::string mac_, clientId_, name_, nameElse_, state_, adapter_, shownName_;  // reused for every record
  std::vector<std::string> cells_;                        // a table of adapters' rows, whole
  std::size_t used_ = 0;
  std::vector<std::string_view> views_;
  MacIndex index_by_mac_;
  std::vector<Machine> machines_;
  std::string names_;
};

// The judgement made whole from the judge's choice.
TableJudgement Decided(TableJudgement& judgement, const ColumnJudge& judge, const TableLayout& layout) {
  if (judgement.choice.mac < 0) {
    judgement.outcome = TableRead::Outcome::NoList;
    return judgement;
  }
  judgement.events = layout.kind() == RecordKind::Events || judgement.choice.sightings;
  judgement.macsDistinct = judge.macsDistinct();
  judgement.macColumn = judge.columnWordsUtf8(judgement.choice.mac);
  if (judgement.choice.name >= 0) judgement.nameColumn = judge.columnWordsUtf8(judgement.choice.name);
  if (judgement.choice.nameElse >= 0) judgement.nameElseColumn = judge.columnWordsUtf8(judgement.choice.nameElse);
  return judgement;
}

}  // namespace

TableJudgement JudgeTable(TableLayout& layout) {
  TableJudgement judgement;
  ColumnJudge judge(layout.cellText(), !layout.namesColumns());
  JudgeVisitor visitor(judge, judgement.records);
  judgement.outcome = Walk(layout, visitor, judgement.bound);
  if (judgement.outcome != TableRead::Outcome::Loaded) return judgement;
  judgement.choice = judge.decide(layout.columnNames());
  if (judgement.choice.mac >= 0 && judgement.choice.adapter >= 0) {
    // A table of adapters: judged again without the adapters that are no
    // machine, whose names and MACs would otherwise count among the machines'.
    ColumnJudge machines(layout.cellText(), !layout.namesColumns());
    machines.leaveOutSpareAdapters(judgement.choice.adapter);
    TableRead counted;
    JudgeVisitor again(machines, counted);
    judgement.outcome = Walk(layout, again, judgement.bound);
    if (judgement.outcome != TableRead::Outcome::Loaded) return judgement;
    const int adapter = judgement.choice.adapter;
    judgement.choice = machines.decide(layout.columnNames());
    judgement.choice.adapter = adapter;
    return Decided(judgement, machines, layout);
  }
  return Decided(judgement, judge, layout);
}

TableRead ReadTableRows(TableLayout& layout, const TableJudgement& judgement, RowSink& sink) {
  TableRead read;
  read.nameColumn = judgement.nameColumn;
  read.macColumn = judgement.macColumn;
  RowReader reader(judgement, layout.cellText(), sink, read);
  read.outcome = Walk(layout, reader, read.bound);
  if (read.outcome != TableRead::Outcome::Loaded) return read;
  reader.flush();
  if (reader.tookNameElse()) read.nameColumn += "/" + judgement.nameElseColumn;
  if (read.rows == 0) read.outcome = TableRead::Outcome::NoList;
  return read;
}

TableRead ReadTable(TableLayout& layout, RowSink& sink) {
  const TableJudgement judgement = JudgeTable(layout);
  if (judgement.outcome != TableRead::Outcome::Loaded) {
    TableRead read = judgement.records;  // no MAC column: every record was a line without a machine
    read.outcome = judgement.outcome;
    read.bound = judgement.bound;
    return read;
  }
  return ReadTableRows(layout, judgement, sink);
}

}  // namespace venbrook
