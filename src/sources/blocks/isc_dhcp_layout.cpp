#include "sources/blocks/isc_dhcp_layout.h"

#include <string>
#include <vector>

#include "sources/blocks/isc_tokens.h"
#include "sources/blocks/record_cells.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

std::string Joined(const std::vector<std::string>& words, std::size_t from) {
  std::string joined;
  for (std::size_t i = from; i < words.size(); ++i) {
    if (!joined.empty()) joined += ' ';
    joined += words[i];
  }
  return joined;
}

// A statement's keyword and value: "hardware ethernet" 00:1a:…, "binding
// state" active, "option host-name" A01, "client-hostname" A01.
void KeyAndValue(const std::vector<std::string>& words, std::string& key, std::string& value) {
  const std::string& head = words[0];
  if (head == "hardware" && words.size() >= 3) {
    key = head + ' ' + words[1];
    value = HardwareAddress(words[2]);
    return;
  }
  std::size_t valueFrom = 1;
  if (head == "binding" || head == "next" || head == "rewind") {
    while (valueFrom < words.size() && words[valueFrom - 1] != "state") ++valueFrom;
  } else if ((head == "option" || head == "set" || head == "on") && words.size() >= 2) {
    valueFrom = 2;
  }
  key = words[0];
  for (std::size_t i = 1; i < valueFrom && i < words.size(); ++i) key += ' ' + words[i];
  if (head == "set" && valueFrom < words.size() && words[valueFrom] == "=") ++valueFrom;
  value = Joined(words, valueFrom);
}

bool IsConfigOnlyStatement(std::string_view head) {
  return head == "default-lease-time" || head == "max-lease-time" || head == "ddns-update-style" ||
         head == "log-facility";
}

struct Kinds {
  bool leases = false, config = false;
};

// What the declarations' heads and the statements at the start of a text
// say of the file.
Kinds KindsOf(std::string_view sample) {
  IscTokens tokens(sample);
  IscToken token;
  std::vector<std::string> words;
  Kinds kinds;
  while (tokens.next(token)) {
    switch (token.kind) {
      case IscToken::Word:
      case IscToken::String:
        if (words.size() < 5) words.push_back(token.text);
        break;
      case IscToken::End:
        if (words.size() >= 2 && IsConfigOnlyStatement(words[0])) kinds.config = true;
        words.clear();
        break;
      case IscToken::Open: {
        const std::string_view head = words.empty() ? std::string_view{} : words[0];
        kinds.leases |= head == "lease" && words.size() == 2 && IsIpv4Address(words[1]);
        kinds.config |= (head == "host" && words.size() == 2) || head == "group" || head == "shared-network" ||
                        (head == "subnet" && words.size() == 4 && words[2] == "netmask");
        words.clear();
        break;
      }
      case IscToken::Close:
        words.clear();
        break;
    }
  }
  return kinds;
}

}  // namespace

LayoutEnd IscDhcpLayout::forEachRecord(RecordVisitor& visitor) {
  IscTokens tokens(text_);
  IscToken token;
  RecordCells cells;
  std::vector<std::string> words;
  std::string key, value;
  std::size_t statementBytes = 0;
  int statementLine = 0, depth = 0, openDepth = -1, openLine = 0;
  bool hardware = false;
  LayoutEnd end;
  const auto add = [&](std::string_view name, std::string_view cell) {
    const int column = BoundedColumnOf(keys_, name);
    if (column < 0)
      end = LayoutEnd::Past(Bound::RecordCells);
    else if (!cells.add(column, cell))
      end = LayoutEnd::Past(Bound::RecordBytes);
    return end.how == LayoutEnd::How::Done;
  };
  const auto statementEnds = [&] {
    bool goOn = true;
    if (depth == openDepth && !words.empty()) {
      KeyAndValue(words, key, value);
      hardware = hardware || words[0] == "hardware";
      goOn = add(key, value);
    }
    words.clear();
    statementBytes = 0;
    return goOn;
  };
  // A block without a hardware statement names no machine.
  const auto close = [&] {
    if (openDepth < 0) return true;
    openDepth = -1;
    if (!hardware) {
      cells.clear();
      return true;
    }
    if (!cells.handTo(visitor, openLine)) end = {LayoutEnd::How::Stopped};
    return end.how == LayoutEnd::How::Done;
  };
  while (tokens.next(token)) {
    switch (token.kind) {
      case IscToken::Word:
      case IscToken::String:
        if (words.empty()) statementLine = token.line;
        statementBytes += token.text.size();
        if (statementBytes > kMaxRecordBytes) return LayoutEnd::Past(Bound::RecordBytes);
        words.push_back(token.text);
        break;
      case IscToken::End:
        if (!statementEnds()) return end;
        break;
      case IscToken::Open: {
        const bool lease = words.size() == 2 && words[0] == "lease" && IsIpv4Address(words[1]);
        const bool host = words.size() == 2 && words[0] == "host";
        if ((lease && file_ == IscFile::Leases) || host) {
          if (!close()) return end;
          openDepth = depth + 1;
          openLine = statementLine;
          hardware = false;
          if (!add(words[0], words[1])) return end;
        }
        words.clear();
        statementBytes = 0;
        if (++depth > static_cast<int>(kMaxDepth)) return LayoutEnd::Past(Bound::Depth);
        break;
      }
      case IscToken::Close:
        if (!statementEnds()) return end;
        if (depth == openDepth && !close()) return end;
        if (depth > 0) --depth;
        break;
    }
  }
  if (tokens.tooLong()) return LayoutEnd::Past(Bound::RecordBytes);
  if (!statementEnds() || !close()) return end;
  return {};
}

bool LooksLikeIscLeases(std::string_view sampleUtf8) { return KindsOf(sampleUtf8).leases; }

bool LooksLikeIscConfig(std::string_view sampleUtf8) {
  const Kinds kinds = KindsOf(sampleUtf8);
  return !kinds.leases && kinds.config;
}

std::unique_ptr<TableLayout> MakeIscLeasesLayout(std::string_view textUtf8) {
  return std::make_unique<IscDhcpLayout>(textUtf8, IscFile::Leases);
}

std::unique_ptr<TableLayout> MakeIscConfigLayout(std::string_view textUtf8) {
  return std::make_unique<IscDhcpLayout>(textUtf8, IscFile::Config);
}

}  // namespace venbrook
