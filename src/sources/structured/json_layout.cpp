#include "sources/structured/json_layout.h"

#include <algorithm>
#include <vector>

#include "sources/read_bounds.h"
#include "sources/structured/json_reader.h"
#include "sources/structured/json_table.h"
#include "sources/structured/record_keys.h"
#include "sources/structured/structured_text.h"
#include "sources/table/record_tape.h"

namespace venbrook {
namespace {

// One walk over the text, handing the table's records to the visitor.
class RecordWalk final : public JsonEvents {
 public:
  RecordWalk(const JsonTable& table, RecordKeys& keys, const JsonReader& reader, std::string_view text,
             RecordVisitor& visitor)
      : table_(table), keys_(keys), reader_(reader), lines_(text), visitor_(visitor) {
    frames_.reserve(kMaxDepth);
  }

  bool startObject() override {
    if (!roomForDepth()) return false;
    const Frame* top = frames_.empty() ? nullptr : &frames_.back();
    if (!top) return table_.where == JsonTable::Where::Values ? startRecord() : push(Place::Outside);
    switch (top->place) {
      case Place::Record:
      case Place::InRecordObject:
        path_ += '.';
        return push(Place::InRecordObject, path_.size());
      case Place::InRecordArray:
      case Place::Skipped: return push(Place::Skipped);
      case Place::Outside: return !top->object && top->table ? startRecord() : push(Place::Outside);
    }
    return true;
  }

  bool startArray() override {
    if (!roomForDepth()) return false;
    if (frames_.empty()) return push(Place::Outside, 0, false, table_.where == JsonTable::Where::Array && table_.name.empty());
    const Frame& top = frames_.back();
    switch (top.place) {
      case Place::Record:
      case Place::InRecordObject: return push(Place::InRecordArray, path_.size(), false);
      case Place::InRecordArray:
      case Place::Skipped: return push(Place::Skipped);
      case Place::Outside: return push(Place::Outside, 0, false, top.object ? tableKey_ : top.table);
    }
    return true;
  }

  bool key(std::string_view key) override {
    const Frame& top = frames_.back();
    if (top.place == Place::Outside) {
      tableKey_ = table_.where == JsonTable::Where::Array && key == table_.name;
    } else if (top.place != Place::Skipped) {
      path_.resize(top.pathLength);
      path_ += key;
      if (path_.size() > kMaxRecordBytes) return stop(LayoutEnd::Past(Bound::RecordBytes));
    }
    return true;
  }

  bool value(std::string_view text) override {
    if (frames_.empty()) return true;
    Frame& top = frames_.back();
    switch (top.place) {
      case Place::Record:
      case Place::InRecordObject: return give(text);
      case Place::InRecordArray:
        if (top.firstTaken) return true;
        top.firstTaken = true;
        return give(text);
      default: return true;
    }
  }

  bool endObject() override {
    const bool record = frames_.back().place == Place::Record;
    frames_.pop_back();
    if (!record) return true;
    if (!giveRouterOsHostName()) return false;
    if (!visitor_.endRecord(line_)) return stop({LayoutEnd::How::Stopped});
    return true;
  }

  bool endArray() override {
    frames_.pop_back();
    return true;
  }

  LayoutEnd finish(JsonEnd end) const {
    switch (end) {
      case JsonEnd::Done: return {};
      case JsonEnd::Stopped: return stopped_;
      case JsonEnd::Damaged: return {LayoutEnd::How::Damaged};
      case JsonEnd::ValueTooLarge: return LayoutEnd::Past(Bound::RecordBytes);
    }
    return {};
  }

 private:
  enum class Place : std::uint8_t {
    Outside,         // no record around it
    Record,          // the record's own object
    InRecordObject,  // an object nested in a record: its keys join the path
    InRecordArray,   // an array in a record: its first plain value is a cell
    Skipped,         // anything in such an array
  };
  struct Frame {
    Place place;
    bool object = false;
    bool table = false;       // (outside, an array) its objects are records
    bool firstTaken = false;  // (an array in a record) its first value given
    std::size_t pathLength = 0;
  };

  bool push(Place place, std::size_t pathLength = 0, bool object = true, bool table = false) {
    Frame frame{place};
    frame.object = object;
    frame.table = table;
    frame.pathLength = pathLength;
    frames_.push_back(frame);
    return true;
  }

  bool roomForDepth() { return frames_.size() < kMaxDepth || stop(LayoutEnd::Past(Bound::Depth)); }

  bool startRecord() {
    keys_.startRecord();
    path_.clear();
    commentGiven_ = false;
    hostName_.clear();
    // The reader is at the record's opening brace, or just past it.
    line_ = lines_.lineOf(reader_.offset());
    return push(Place::Record);
  }

  bool give(std::string_view text) {
    if (text.empty()) return true;
    if (text.size() > kMaxRecordBytes) return stop(LayoutEnd::Past(Bound::RecordBytes));
    // RouterOS's REST API: an entry's id is "*1", "*2"…
    if (path_ == ".id" && text.starts_with('*')) routerOs_ = true;
    if (routerOs_ && (path_ == "comment" || path_ == "host-name")) return giveRouterOsName(text);
    const int column = keys_.columnOf(path_);
    if (column == RecordKeys::kNoColumn) return stop(LayoutEnd::Past(Bound::RecordCells));
    if (keys_.firstInRecord(column)) visitor_.cell(column, text);
    return true;
  }

  // RouterOS names a lease by the comment its operator wrote, else by the
  // host name the machine sent, whichever order its keys come in: both
  // under host-name, as its prints are read (aligned_layout.h).
  bool giveRouterOsName(std::string_view text) {
    if (path_ == "host-name") {
      hostName_.assign(text);
      return true;
    }
    if (commentGiven_) return true;
    commentGiven_ = true;
    return giveRouterOsColumn(text);
  }
  bool giveRouterOsHostName() { return commentGiven_ || hostName_.empty() || giveRouterOsColumn(hostName_); }
  bool giveRouterOsColumn(std::string_view text) {
    const int column = keys_.columnOf("host-name");
    if (column == RecordKeys::kNoColumn) return stop(LayoutEnd::Past(Bound::RecordCells));
    visitor_.cell(column, text);
    return true;
  }

  bool stop(LayoutEnd why) {
    stopped_ = why;
    return false;
  }

  const JsonTable& table_;
  RecordKeys& keys_;
  const JsonReader& reader_;
  LineCounter lines_;
  RecordVisitor& visitor_;
  std::vector<Frame> frames_;
  std::string path_;  // the key of the value to come, from the record
  bool tableKey_ = false;
  bool routerOs_ = false, commentGiven_ = false;
  std::string hostName_;  // a RouterOS lease's, given at its end unless a comment names it
  int line_ = 0;
  LayoutEnd stopped_{LayoutEnd::How::Stopped};
};

class JsonLayout final : public TableLayout {
 public:
  explicit JsonLayout(std::string_view text) : text_(text), table_(FindJsonTable(text)), tape_(text.size()) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    if (table_.end.how != LayoutEnd::How::Done) return table_.end;
    if (table_.where == JsonTable::Where::None) return {};
    if (tape_.complete()) return tape_.replay(visitor);
    RecordTape::Recorder recorder(tape_, visitor);
    JsonReader reader(text_);
    RecordWalk walk(table_, keys_, reader, text_, recorder);
    return recorder.ended(walk.finish(reader.read(walk)));
  }

  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return table_.kind; }
  std::string_view wordsUtf8() const override { return "JSON 文件"; }

 private:
  std::string_view text_;
  JsonTable table_;
  RecordKeys keys_;
  // The text is parsed once; the walks after the first replay its records.
  RecordTape tape_;
};

// Reads as far as it goes, and counts what says it is JSON: the first
// value opening an object or an array, members (a key and its value); at
// the depth past any list it stops.
class JsonShape final : public JsonEvents {
 public:
  bool startObject() override { return open(); }
  bool startArray() override { return open(); }
  bool endObject() override { return --depth_, true; }
  bool endArray() override { return --depth_, true; }
  bool key(std::string_view) override {
    afterKey_ = true;
    return true;
  }
  bool value(std::string_view) override {
    if (!begun_) begun_ = true;  // a bare value first: no table
    member();
    return true;
  }

  bool opensTable() const { return opensTable_; }
  int members() const { return members_; }

 private:
  bool open() {
    if (!begun_) begun_ = opensTable_ = true;
    member();
    return ++depth_ <= kMaxDepth;
  }
  void member() {
    members_ += afterKey_;
    afterKey_ = false;
  }

  std::size_t depth_ = 0;
  bool begun_ = false, opensTable_ = false, afterKey_ = false;
  int members_ = 0;
};

}  // namespace

bool ClaimsJson(std::string_view sampleUtf8) {
  JsonShape shape;
  JsonReader reader(sampleUtf8);
  const JsonEnd end = reader.read(shape);
  if (!shape.opensTable()) return false;
  switch (end) {
    case JsonEnd::Done:
    case JsonEnd::Stopped:  // nested deeper than any list: claimed, to be refused by its depth
    case JsonEnd::ValueTooLarge: return true;
    // Broken only where the sample is cut, or after a member: a JSON file
    // damaged, which is refused as such rather than read as text.
    case JsonEnd::Damaged: return reader.offset() >= sampleUtf8.size() || shape.members() > 0;
  }
  return false;
}

std::unique_ptr<TableLayout> MakeJsonLayout(std::string_view textUtf8) {
  return std::make_unique<JsonLayout>(textUtf8);
}

}  // namespace venbrook
