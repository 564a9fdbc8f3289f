#include "sources/structured/json_table.h"

#include <vector>

#include "sources/read_bounds.h"
#include "sources/structured/json_reader.h"
#include "sources/structured/record_hints.h"

namespace venbrook {
namespace {

class TableFinder final : public JsonEvents {
 public:
  bool startObject() override { return enter(true); }
  bool startArray() override { return enter(false); }

  bool key(std::string_view key) override {
    key_.assign(key);
    frames_.back().sighting |= NamesASighting(key);
    return true;
  }

  bool value(std::string_view text) override {
    if (frames_.empty()) return true;
    Frame& top = frames_.back();
    if (top.object) {
      top.ownMac |= ReadsAsMac(text);
    } else if (++top.elements == 1 && frames_.size() >= 2 && frames_[frames_.size() - 2].object) {
      // An array of plain values gives its first to the object around it.
      frames_[frames_.size() - 2].ownMac |= ReadsAsMac(text);
    }
    return true;
  }

  bool endObject() override {
    const Frame ended = frames_.back();
    frames_.pop_back();
    if (frames_.empty()) {
      // One of the text's own values (the text a single object, or JSON
      // Lines): when it holds a MAC, no array before it did.
      if (!ended.ownMac) return true;
      found(JsonTable::Where::Values, {}, ended.sighting);
      return false;
    }
    Frame& parent = frames_.back();
    if (parent.object) {
      parent.ownMac |= ended.ownMac;
      parent.sighting |= ended.sighting;
      return true;
    }
    if (!ended.ownMac) return true;
    // The outermost object around it, in an array too, that holds a MAC of
    // its own is the record; else this one.
    std::size_t record = frames_.size();
    for (std::size_t at = frames_.size(); at-- > 1;)
      if (frames_[at].object && !frames_[at - 1].object && frames_[at].ownMac) record = at;
    const Frame& chosen = record == frames_.size() ? ended : frames_[record];
    found(JsonTable::Where::Array, frames_[record - 1].name, chosen.sighting);
    return false;
  }

  bool endArray() override {
    frames_.pop_back();
    return true;
  }

  JsonTable finish(JsonEnd end) {
    switch (end) {
      case JsonEnd::Done: break;
      case JsonEnd::Stopped:
        if (tooDeep_) table_.end = LayoutEnd::Past(Bound::Depth);
        break;
      case JsonEnd::Damaged: table_.end.how = LayoutEnd::How::Damaged; break;
      case JsonEnd::ValueTooLarge: table_.end = LayoutEnd::Past(Bound::RecordBytes); break;
    }
    return table_;
  }

 private:
  struct Frame {
    bool object = false;
    bool ownMac = false;    // an object's own values hold a MAC
    bool sighting = false;  // an object's keys name a time
    int elements = 0;       // an array's elements so far
    std::string name;       // an array's name
  };

  bool enter(bool object) {
    if (frames_.size() >= kMaxDepth) {
      tooDeep_ = true;
      return false;
    }
    Frame frame;
    frame.object = object;
    if (!frames_.empty() && !frames_.back().object) {
      ++frames_.back().elements;
      if (!object) frame.name = frames_.back().name;
    } else if (!frames_.empty() && !object) {
      frame.name = key_;
    }
    frames_.push_back(std::move(frame));
    return true;
  }

  void found(JsonTable::Where where, std::string_view name, bool sighting) {
    table_.where = where;
    table_.name = name;
    table_.kind = sighting || NamesLeases(name) ? RecordKind::Events : RecordKind::List;
  }

  std::vector<Frame> frames_;
  std::string key_;
  bool tooDeep_ = false;
  JsonTable table_;
};

}  // namespace

JsonTable FindJsonTable(std::string_view text) {
  TableFinder finder;
  JsonReader reader(text);
  return finder.finish(reader.read(finder));
}

}  // namespace venbrook
