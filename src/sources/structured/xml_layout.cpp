#include "sources/structured/xml_layout.h"

#include <string>
#include <vector>

#include "model/blanks.h"
#include "sources/read_bounds.h"
#include "sources/structured/record_keys.h"
#include "sources/structured/structured_text.h"
#include "sources/structured/xml_table.h"
#include "sources/workbook/xml_stream.h"

namespace venbrook {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// `addrtype`, `type`, `Type`: an attribute that says which of its siblings
// an element is.
bool NamesAType(std::string_view attribute) {
  constexpr std::string_view kType = "type";
  if (attribute.size() < kType.size()) return false;
  const std::string_view tail = attribute.substr(attribute.size() - kType.size());
  for (std::size_t at = 0; at < kType.size(); ++at)
    if (Lower(tail[at]) != kType[at]) return false;
  return true;
}

bool NamesAField(std::string_view attribute) { return attribute == "name" || attribute == "key"; }

// One walk over the text, handing the records to the visitor.
class RecordWalk final : public XmlHandler {
 public:
  RecordWalk(std::string_view record, RecordKeys& keys, RecordKeys& paths, RecordVisitor& visitor)
      : record_(record), keys_(keys), paths_(paths), visitor_(visitor), levels_(kMaxDepth + 1) {}

  void setStream(const XmlStream& stream) { stream_ = &stream; }

  void start(std::string_view name, const XmlAttributes& attributes) override {
    if (++depth_ > kMaxDepth) throw XmlStop{LayoutEnd::Past(Bound::Depth)};
    if (recordDepth_ == 0) {
      if (name == record_) startRecord(attributes);
      return;
    }
    Level& parent = levels_[depth_ - 1];
    if (parent.labelled) giveLabelAsAttribute(parent);
    parent.hasChildren = true;

    Level& level = levels_[depth_];
    level.reset(++serial_, parent.pathEnd);
    const char* typeValue = nullptr;
    std::string_view typeName, onlyName, onlyValue;
    int count = 0;
    attributes.forEach([&](std::string_view attribute, std::string_view value) {
      if (!typeValue && NamesAType(attribute)) {
        typeValue = value.data();
        typeName = attribute;
      }
      onlyName = attribute;
      onlyValue = value;
      ++count;
    });
    path_.resize(parent.pathEnd);
    if (!path_.empty()) path_ += '.';
    path_ += name;
    if (typeValue) (path_ += '[').append(typeValue) += ']';
    numberSibling(parent);
    level.pathEnd = path_.size();
    if (path_.size() > kMaxRecordBytes) throw XmlStop{LayoutEnd::Past(Bound::RecordBytes)};

    if (!typeValue && count == 1 && NamesAField(onlyName)) {
      level.labelled = true;
      level.labelName.assign(onlyName);
      level.labelValue.assign(onlyValue);
      return;
    }
    attributes.forEach([&](std::string_view attribute, std::string_view value) {
      if (typeValue && attribute == typeName && value.data() == typeValue) return;
      giveAt(path_, attribute, value);
    });
  }

  void text(std::string_view piece) override {
    if (recordDepth_ == 0) return;
    std::string& text = levels_[depth_].text;
    if (text.size() + piece.size() > kMaxRecordBytes) throw XmlStop{LayoutEnd::Past(Bound::RecordBytes)};
    text += piece;
  }

  void end(std::string_view name) override {
    if (recordDepth_ == 0) {
      --depth_;
      return;
    }
    Level& level = levels_[depth_];
    const std::string_view text = TrimBlanksAndLineEnds(level.text);
    if (!text.empty()) {
      if (depth_ == recordDepth_) {
        give(name, text);
      } else if (level.labelled && !level.hasChildren) {
        key_.assign(path_, 0, level.pathStart);
        if (!key_.empty()) key_ += '.';
        (((key_ += name) += '[') += level.labelValue) += ']';
        give(key_, text);
        level.labelled = false;
      } else {
        give(path_, text);
      }
    }
    if (level.labelled) giveLabelAsAttribute(level);
    path_.resize(level.pathStart);
    if (depth_-- == recordDepth_) {
      recordDepth_ = 0;
      if (!visitor_.endRecord(line_)) throw XmlStop{{LayoutEnd::How::Stopped}};
    }
  }

 private:
  // What the walk keeps of an open element in a record, one per depth,
  // reused from element to element.
  struct Level {
    std::uint64_t serial = 0;
    std::size_t pathStart = 0, pathEnd = 0;  // the element's part of the path
    bool hasChildren = false;
    bool labelled = false;  // its one attribute `name` or `key`, if a text follows, names it
    std::string text, labelName, labelValue;

    void reset(std::uint64_t newSerial, std::size_t start) {
      serial = newSerial;
      pathStart = pathEnd = start;
      hasChildren = labelled = false;
      text.clear();
    }
  };
  struct Siblings {
    std::uint64_t parent = 0;
    int count = 0;
  };

  void startRecord(const XmlAttributes& attributes) {
    recordDepth_ = depth_;
    line_ = stream_ ? stream_->line() : 0;
    keys_.startRecord();
    paths_.startRecord();
    path_.clear();
    levels_[depth_].reset(++serial_, 0);
    attributes.forEach([&](std::string_view attribute, std::string_view value) { give(attribute, value); });
  }

  // The second and later siblings of one path under one parent get their
  // place after it.
  void numberSibling(const Level& parent) {
    const int path = paths_.columnOf(path_);
    if (path == RecordKeys::kNoColumn) throw XmlStop{LayoutEnd::Past(Bound::RecordCells)};
    if (static_cast<std::size_t>(path) >= siblings_.size()) siblings_.resize(path + 1);
    Siblings& siblings = siblings_[path];
    if (siblings.parent != parent.serial) siblings = {parent.serial, 0};
    if (++siblings.count >= 2) (path_ += '#') += std::to_string(siblings.count);
  }

  void giveLabelAsAttribute(Level& level) {
    level.labelled = false;
    key_.assign(path_, 0, level.pathEnd);
    giveAt(key_, level.labelName, level.labelValue);
  }

  void giveAt(std::string_view path, std::string_view attribute, std::string_view value) {
    key_.assign(path);
    (key_ += '.') += attribute;
    give(key_, value);
  }

  void give(std::string_view key, std::string_view value) {
    if (value.empty()) return;
    if (value.size() > kMaxRecordBytes || key.size() > kMaxRecordBytes) throw XmlStop{LayoutEnd::Past(Bound::RecordBytes)};
    const int column = keys_.columnOf(key);
    if (column == RecordKeys::kNoColumn) throw XmlStop{LayoutEnd::Past(Bound::RecordCells)};
    if (keys_.firstInRecord(column)) visitor_.cell(column, value);
  }

  std::string_view record_;
  RecordKeys& keys_;
  RecordKeys& paths_;
  RecordVisitor& visitor_;
  const XmlStream* stream_ = nullptr;
  std::vector<Level> levels_;
  std::vector<Siblings> siblings_;
  std::string path_, key_;
  std::size_t depth_ = 0, recordDepth_ = 0;  // 0: outside a record
  std::uint64_t serial_ = 0;
  int line_ = 0;
};

class XmlLayout final : public TableLayout {
 public:
  explicit XmlLayout(std::string_view text) : text_(text), table_(FindXmlTable(text)) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    if (table_.end.how != LayoutEnd::How::Done) return table_.end;
    if (table_.record.empty()) return {};
    RecordWalk walk(table_.record, keys_, paths_, visitor);
    XmlStream xml(walk, DoctypeRule::BareNameOnly, XmlBytes::Utf8);
    walk.setStream(xml);
    try {
      if (!xml.feed(text_) || !xml.finish()) return {LayoutEnd::How::Damaged};
    } catch (const XmlStop& stop) {
      return stop.end;
    }
    return {};
  }

  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return table_.kind; }
  std::string_view wordsUtf8() const override { return XmlWordsUtf8(table_.root); }

 private:
  std::string_view text_;
  XmlTable table_;
  RecordKeys keys_;
  RecordKeys paths_;  // the elements' paths, for numbering siblings
};

// Reads as far as it goes, counting the elements closed.
class ClosedElements final : public XmlHandler {
 public:
  void start(std::string_view, const XmlAttributes&) override {}
  void end(std::string_view) override { ++closed; }
  void text(std::string_view) override {}
  int closed = 0;
};

bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

bool ClaimsXml(std::string_view sampleUtf8) {
  const std::string_view text = StartOfContent(sampleUtf8);
  // A text that declares itself XML is read as XML, or refused as damaged.
  if (text.starts_with("<?xml")) return true;
  if (!text.starts_with("<!--") && !text.starts_with("<!DOCTYPE") &&
      !(text.size() >= 2 && text[0] == '<' && IsNameStart(text[1])))
    return false;
  // A switch's prompt (`<HUAWEI>`, `<H3C>`) opens what reads as an element
  // too, but nothing it prints ever closes one.
  ClosedElements elements;
  XmlStream xml(elements, DoctypeRule::BareNameOnly, XmlBytes::Utf8);
  return (xml.feed(text) && elements.closed > 0) || xml.refusedDoctype();
}

std::unique_ptr<TableLayout> MakeXmlLayout(std::string_view textUtf8) {
  return std::make_unique<XmlLayout>(textUtf8);
}

}  // namespace venbrook
