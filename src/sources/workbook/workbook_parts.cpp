#include "sources/workbook/workbook_parts.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "sources/workbook/cell_text.h"
#include "sources/workbook/xml_stream.h"

namespace venbrook {
namespace {

constexpr std::string_view kWorkbookPart = "xl/workbook.xml";
constexpr std::string_view kWorkbookRelationships = "xl/_rels/workbook.xml.rels";

std::string_view Value(const XmlAttributes& attributes, std::string_view name) {
  const char* value = attributes.find(name);
  return value ? value : std::string_view{};
}

bool IsTrue(std::string_view value) { return value == "1" || value == "true"; }

int Number(std::string_view text, int otherwise) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size() ? number : otherwise;
}

// A relationship's type ends in the kind of part it leads to, in the
// transitional and in the strict namespace alike.
bool TypeIs(std::string_view type, std::string_view kind) {
  return type.size() > kind.size() && type.ends_with(kind) && type[type.size() - kind.size() - 1] == '/';
}

// xl/workbook.xml: each sheet's name, relationship and state; the date system.
class WorkbookHandler : public XmlHandler {
 public:
  struct Sheet {
    std::string name, relationship;
    bool hidden;
  };
  void start(std::string_view name, const XmlAttributes& attributes) override {
    if (name == "sheet")
      sheets.push_back({std::string(Value(attributes, "name")), std::string(Value(attributes, "id")),
                        !Value(attributes, "state").empty() && Value(attributes, "state") != "visible"});
    else if (name == "workbookPr")
      system1904 = IsTrue(Value(attributes, "date1904"));
  }
  void end(std::string_view) override {}
  void text(std::string_view) override {}

  std::vector<Sheet> sheets;
  bool system1904 = false;
};

// xl/_rels/workbook.xml.rels: where each relationship leads.
class RelationshipsHandler : public XmlHandler {
 public:
  void start(std::string_view name, const XmlAttributes& attributes) override {
    if (name != "Relationship" || Value(attributes, "TargetMode") == "External") return;
    const std::string part = PartOfTarget(Value(attributes, "Target"));
    const std::string_view type = Value(attributes, "Type");
    if (TypeIs(type, "worksheet")) worksheets[std::string(Value(attributes, "Id"))] = part;
    else if (TypeIs(type, "sharedStrings")) sharedStrings = part;
    else if (TypeIs(type, "styles")) styles = part;
  }
  void end(std::string_view) override {}
  void text(std::string_view) override {}

  std::map<std::string, std::string> worksheets;  // by relationship id
  std::string sharedStrings, styles;
};

// xl/sharedStrings.xml: <si> holds <t>, or runs <r> each holding a <t>;
// phonetic runs (<rPh>, the reading of Japanese text) are no part of it.
class SharedStringsHandler : public XmlHandler {
 public:
  explicit SharedStringsHandler(SharedStrings& strings) : strings_(strings) {}
  bool tooLong() const { return tooLong_; }
  void start(std::string_view name, const XmlAttributes&) override {
    if (name == "si") inString_ = true, text_.clear();
    else if (name == "rPh") ++phonetic_;
    else if (name == "t") inText_ = inString_ && phonetic_ == 0;
  }
  void end(std::string_view name) override {
    if (name == "t") inText_ = false;
    else if (name == "rPh") --phonetic_;
    else if (name == "si" && inString_) {
      CleanCellText(text_);
      strings_.add(text_);
      inString_ = false;
    }
  }
  void text(std::string_view piece) override {
    if (!inText_) return;
    if (text_.size() + piece.size() > kMaxRecordBytes) {
      tooLong_ = true;
      return stop();
    }
    text_ += piece;
  }

 private:
  SharedStrings& strings_;
  std::string text_;
  bool inString_ = false, inText_ = false, tooLong_ = false;
  int phonetic_ = 0;
};

// xl/styles.xml: the custom number formats, then the cell formats (<xf> in
// <cellXfs>; those in <cellStyleXfs> are the named styles', which no cell
// refers to directly).
class StylesHandler : public XmlHandler {
 public:
  explicit StylesHandler(DateStyles& styles) : styles_(styles) {}
  void start(std::string_view name, const XmlAttributes& attributes) override {
    if (name == "numFmt") {
      dateFormats_[Number(Value(attributes, "numFmtId"), -1)] = IsDateFormatCode(Value(attributes, "formatCode"));
    } else if (name == "cellXfs") {
      inCellFormats_ = true;
    } else if (name == "xf" && inCellFormats_) {
      const int id = Number(Value(attributes, "numFmtId"), 0);
      const auto custom = dateFormats_.find(id);
      styles_.add(custom != dateFormats_.end() ? custom->second : IsBuiltInDateFormat(id));
    }
  }
  void end(std::string_view name) override {
    if (name == "cellXfs") inCellFormats_ = false;
  }
  void text(std::string_view) override {}

 private:
  DateStyles& styles_;
  std::map<int, bool> dateFormats_;
  bool inCellFormats_ = false;
};

PartRead Outcome(EntryRead read) {
  switch (read) {
    case EntryRead::Read: return PartRead::Read;
    case EntryRead::Missing: return PartRead::Missing;
    case EntryRead::TooLarge: return PartRead::TooLarge;
    case EntryRead::Damaged:
    case EntryRead::Stopped: break;
  }
  return PartRead::Damaged;
}

}  // namespace

std::string PartOfTarget(std::string_view target) {
  std::vector<std::string_view> segments;
  if (!target.starts_with('/')) segments.push_back("xl");
  while (!target.empty()) {
    const std::size_t slash = target.find('/');
    const std::string_view segment = target.substr(0, slash);
    target = slash == std::string_view::npos ? std::string_view{} : target.substr(slash + 1);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
  }
  std::string part;
  for (const std::string_view segment : segments) {
    if (!part.empty()) part += '/';
    part += segment;
  }
  return part;
}

PartRead ReadXmlPart(ZipArchive& archive, std::string_view part, InflateBudget& budget, XmlHandler& handler) {
  XmlStream xml(handler);
  const EntryRead read = archive.read(part, budget, [&](std::string_view piece) { return xml.feed(piece); });
  if (read != EntryRead::Read) return Outcome(read);
  return xml.finish() ? PartRead::Read : PartRead::Damaged;
}

PartRead ReadWorkbookIndex(ZipArchive& archive, InflateBudget& budget, WorkbookIndex& index) {
  WorkbookHandler workbook;
  RelationshipsHandler relationships;
  PartRead read = ReadXmlPart(archive, kWorkbookPart, budget, workbook);
  if (read == PartRead::Read) read = ReadXmlPart(archive, kWorkbookRelationships, budget, relationships);
  // A workbook without either part is damaged, not one without sheets.
  if (read != PartRead::Read) return read == PartRead::Missing ? PartRead::Damaged : read;

  index.system1904 = workbook.system1904;
  index.sharedStringsPart = relationships.sharedStrings;
  index.stylesPart = relationships.styles;
  for (const WorkbookHandler::Sheet& sheet : workbook.sheets) {
    const auto part = relationships.worksheets.find(sheet.relationship);
    if (part == relationships.worksheets.end()) continue;  // a chart sheet, a dialog sheet
    index.sheets.push_back({sheet.name, part->second, sheet.hidden});
  }
  std::stable_partition(index.sheets.begin(), index.sheets.end(), [](const SheetEntry& s) { return !s.hidden; });
  return PartRead::Read;
}

PartRead ReadSharedStrings(ZipArchive& archive, std::string_view part, InflateBudget& budget, SharedStrings& strings) {
  if (part.empty()) return PartRead::Read;
  strings.reserveFor(std::min(archive.declaredSize(part), budget.bytesLeft));
  SharedStringsHandler handler(strings);
  const PartRead read = ReadXmlPart(archive, part, budget, handler);
  return handler.tooLong() ? PartRead(PartRead::TooLarge, Bound::RecordBytes) : read;
}

PartRead ReadDateStyles(ZipArchive& archive, std::string_view part, InflateBudget& budget, DateStyles& styles) {
  if (part.empty()) return PartRead::Read;
  StylesHandler handler(styles);
  return ReadXmlPart(archive, part, budget, handler);
}

}  // namespace venbrook
