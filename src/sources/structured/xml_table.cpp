#include "sources/structured/xml_table.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "model/blanks.h"
#include "sources/read_bounds.h"
#include "sources/structured/record_hints.h"
#include "sources/workbook/xml_stream.h"

namespace venbrook {
namespace {

struct KnownRoot {
  std::string_view root;
  std::string_view wordsUtf8;
  bool scan;
};

constexpr KnownRoot kKnownRoots[] = {
    {"nmaprun", "nmap 扫描结果", true},
    {"scanning_report", "Angry IP Scanner 扫描结果", true},
    {"pfsense", "pfSense 配置文件", false},
    {"opnsense", "OPNsense 配置文件", false},
    {"DHCPServer", "Windows DHCP 服务器导出", false},
};

const KnownRoot* KnownRootNamed(std::string_view root) {
  for (const KnownRoot& known : kKnownRoots)
    if (known.root == root) return &known;
  return nullptr;
}

// A MAC with blanks around it is no longer than this.
constexpr std::size_t kTextKept = 40;

// Element names a document may have: a record's keys and as many more
// around the records. More is no list, and the names are refused as a
// record's would be.
constexpr std::size_t kMaxNames = 2 * kMaxRecordCells;

class RecordFinder final : public XmlHandler {
 public:
  void start(std::string_view name, const XmlAttributes& attributes) override {
    if (frames_.size() >= kMaxDepth) throw XmlStop{LayoutEnd::Past(Bound::Depth)};
    const int id = intern(name);
    const std::uint64_t parent = frames_.empty() ? 0 : frames_.back().serial;
    if (frames_.empty()) root_.assign(name);
    Name& named = names_[id];
    if (parent != 0) named.anyRepeated |= countSibling(named.anyParent, named.anySiblings, parent);

    Frame frame;
    frame.name = id;
    frame.serial = ++serial_;
    frame.parent = parent;
    frame.namesSighting = NamesASighting(name);
    attributes.forEach([&](std::string_view attribute, std::string_view value) {
      ++frame.values;
      frame.macInAttribute |= ReadsAsMac(value);
      frame.sighting |= NamesASighting(attribute);
    });
    frame.holdsMac = frame.macInAttribute;
    frames_.push_back(frame);
  }

  void text(std::string_view piece) override {
    Frame& frame = frames_.back();
    frame.textFilled |= !TrimBlanksAndLineEnds(piece).empty();
    if (frame.textLength + piece.size() > kTextKept) {
      frame.textLong = true;
      return;
    }
    std::copy(piece.begin(), piece.end(), frame.text + frame.textLength);
    frame.textLength += piece.size();
  }

  void end(std::string_view) override {
    Frame frame = frames_.back();
    frames_.pop_back();
    if (frame.textFilled) {
      ++frame.values;
      frame.macInText = !frame.textLong && ReadsAsMac(TrimBlanksAndLineEnds({frame.text, frame.textLength}));
      frame.holdsMac |= frame.macInText;
    }
    if (frame.holdsMac) holdsMac(frame);
    if (!frames_.empty()) {
      Frame& parent = frames_.back();
      parent.holdsMac |= frame.holdsMac;
      parent.values += frame.values;
      parent.sighting |= frame.sighting || frame.namesSighting;
    }
  }

  XmlTable choose() {
    XmlTable table;
    table.root = root_;
    int chosen = -1;
    for (int id = 0; id < static_cast<int>(names_.size()); ++id)
      if (names_[id].repeated && (chosen < 0 || before(names_[id], names_[chosen]))) chosen = id;
    if (chosen < 0 && first_.element >= 0)
      chosen = first_.inAttribute && !names_[first_.element].anyRepeated ? first_.element
               : first_.parent >= 0                                      ? first_.parent
                                                                         : first_.element;
    if (chosen < 0) return table;
    table.record = spelling_[chosen];
    const KnownRoot* known = KnownRootNamed(root_);
    const bool sighting = (known && known->scan) || NamesLeases(table.record) || names_[chosen].firstHolderSighting;
    table.kind = sighting ? RecordKind::Events : RecordKind::List;
    return table;
  }

 private:
  struct Name {
    std::int64_t holders = 0;  // occurrences holding a MAC
    std::int64_t values = 0;   // attributes and texts in them
    int depth = INT_MAX;       // the shallowest of them
    bool repeated = false;     // two of them under one parent
    bool anyRepeated = false;  // two occurrences under one parent, MAC or not
    bool firstHolderSighting = false;
    std::uint64_t macParent = 0, anyParent = 0;  // the parent of the last (MAC-holding) occurrence
    int macSiblings = 0, anySiblings = 0;        // under that parent
  };
  struct Frame {
    int name = 0;
    std::uint64_t serial = 0, parent = 0;
    std::int64_t values = 0;
    bool holdsMac = false, macInAttribute = false, macInText = false;
    bool sighting = false, namesSighting = false;
    bool textFilled = false, textLong = false;
    std::size_t textLength = 0;
    char text[kTextKept];
  };
  struct FirstMac {
    int element = -1, parent = -1;
    bool inAttribute = false;
  };
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
  };

  int intern(std::string_view name) {
    const auto found = ids_.find(name);
    if (found != ids_.end()) return found->second;
    if (names_.size() >= kMaxNames) throw XmlStop{LayoutEnd::Past(Bound::RecordCells)};
    const int id = static_cast<int>(names_.size());
    spelling_.emplace_back(name);
    ids_.emplace(spelling_.back(), id);
    names_.emplace_back();
    return id;
  }

  // Counts an occurrence under `parent`; true at the second under one.
  static bool countSibling(std::uint64_t& lastParent, int& siblings, std::uint64_t parent) {
    if (lastParent != parent) {
      lastParent = parent;
      siblings = 0;
    }
    return ++siblings >= 2;
  }

  void holdsMac(const Frame& frame) {
    Name& named = names_[frame.name];
    if (named.holders++ == 0) named.firstHolderSighting = frame.sighting;
    named.values += frame.values;
    named.depth = std::min(named.depth, static_cast<int>(frames_.size()));
    if (frame.parent != 0) named.repeated |= countSibling(named.macParent, named.macSiblings, frame.parent);
    if (first_.element < 0 && (frame.macInAttribute || frame.macInText)) {
      first_.element = frame.name;
      first_.parent = frames_.empty() ? -1 : frames_.back().name;
      first_.inAttribute = frame.macInAttribute && !frame.macInText;
    }
  }

  static bool before(const Name& a, const Name& b) {
    if (a.holders != b.holders) return a.holders > b.holders;
    if (a.values != b.values) return a.values > b.values;
    return a.depth < b.depth;  // else the first met
  }

  std::unordered_map<std::string, int, Hash, std::equal_to<>> ids_;
  std::vector<std::string> spelling_;
  std::vector<Name> names_;
  std::vector<Frame> frames_;
  std::uint64_t serial_ = 0;
  std::string root_;
  FirstMac first_;
};

}  // namespace

XmlTable FindXmlTable(std::string_view text) {
  RecordFinder finder;
  XmlStream xml(finder, DoctypeRule::BareNameOnly, XmlBytes::Utf8);
  try {
    if (!xml.feed(text) || !xml.finish()) {
      XmlTable damaged;
      damaged.end.how = LayoutEnd::How::Damaged;
      return damaged;
    }
  } catch (const XmlStop& stop) {
    XmlTable stopped;
    stopped.end = stop.end;
    return stopped;
  }
  return finder.choose();
}

std::string_view XmlWordsUtf8(std::string_view root) {
  const KnownRoot* known = KnownRootNamed(root);
  return known ? known->wordsUtf8 : "XML 文件";
}

}  // namespace venbrook
