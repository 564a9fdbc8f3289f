#include "sources/blocks/dnsmasq_conf.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "model/blanks.h"
#include "sources/blocks/adapter_facts.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {
namespace {

enum Column { kMac, kIp, kName, kClientId };

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The line without its comment: from a '#' at its start or after a blank,
// outside double quotes.
std::string_view WithoutComment(std::string_view line) {
  bool quoted = false;
  for (std::size_t at = 0; at < line.size(); ++at) {
    if (line[at] == '"') quoted = !quoted;
    if (!quoted && line[at] == '#' && (at == 0 || IsBlank(line[at - 1]))) return TrimBlanks(line.substr(0, at));
  }
  return TrimBlanks(line);
}

// "dhcp-host=…", "domain-needed": an option's name and its value.
bool ReadOption(std::string_view line, std::string_view& name, std::string_view& value) {
  const std::size_t equals = line.find('=');
  name = line.substr(0, equals);
  value = equals == std::string_view::npos ? std::string_view{} : line.substr(equals + 1);
  if (name.empty() || name[0] < 'a' || name[0] > 'z') return false;
  for (const char c : name)
    if (!((c >= 'a' && c <= 'z') || IsDigit(c) || c == '-')) return false;
  return true;
}

// "00:20:e0:3b:13:*": a MAC with wildcards, which dnsmasq matches to many.
bool IsWildcardMac(std::string_view field) {
  if (field.find('*') == std::string_view::npos) return false;
  int groups = 1;
  std::size_t inGroup = 0;
  for (const char c : field) {
    if (c == ':' || c == '-') {
      if (inGroup == 0) return false;
      ++groups, inGroup = 0;
    } else if (IsHexDigit(c) || c == '*') {
      if (++inGroup > 2) return false;
    } else {
      return false;
    }
  }
  return groups == 6 && inGroup > 0;
}

// "3600", "45m", "12h", "1d", "2w", "infinite".
bool IsLeaseTime(std::string_view field) {
  if (field == "infinite") return true;
  if (!field.empty() && std::string_view("smhdw").find(field.back()) != std::string_view::npos) field.remove_suffix(1);
  return IsAllDigits(field);
}

bool IsIpField(std::string_view field) {
  return IsIpv4Address(field) || (field.size() > 2 && field.front() == '[' && field.back() == ']');
}

struct Host {
  std::vector<std::string_view> macs;
  std::string_view ip, name, clientId;
};

Host ReadHost(std::string_view value) {
  Host host;
  for (std::size_t start = 0; start <= value.size();) {
    const std::size_t comma = std::min(value.find(',', start), value.size());
    const std::string_view field = TrimBlanks(value.substr(start, comma - start));
    start = comma + 1;
    if (field.empty() || field == "ignore" || field.starts_with("set:") || field.starts_with("tag:") ||
        field.starts_with("net:"))
      continue;
    if (field.starts_with("id:")) {
      if (field != "id:*" && host.clientId.empty()) host.clientId = field.substr(3);
    } else if (IsMacValue(field) || IsWildcardMac(field)) {
      host.macs.push_back(field);
    } else if (IsIpField(field)) {
      if (host.ip.empty()) host.ip = field;
    } else if (!IsLeaseTime(field) && host.name.empty()) {
      host.name = field;
    }
  }
  return host;
}

}  // namespace

LayoutEnd DnsmasqConfLayout::forEachRecord(RecordVisitor& visitor) {
  TextLines lines(text_);
  std::string_view line, name, value;
  while (lines.next(line)) {
    if (line.size() > kMaxRecordBytes) return LayoutEnd::Past(Bound::RecordBytes);
    if (!ReadOption(WithoutComment(line), name, value) || name != "dhcp-host") continue;
    const Host host = ReadHost(value);
    const auto handOver = [&](std::string_view mac) {
      const std::pair<Column, std::string_view> cells[] = {
          {kMac, mac}, {kIp, host.ip}, {kName, host.name}, {kClientId, host.clientId}};
      for (const auto& [column, cell] : cells)
        if (!cell.empty()) visitor.cell(column, cell);
      return visitor.endRecord(lines.number());
    };
    if (host.macs.empty() && !(host.name.empty() && host.ip.empty() && host.clientId.empty()) && !handOver({}))
      return {LayoutEnd::How::Stopped};
    for (const std::string_view mac : host.macs)
      if (!handOver(mac)) return {LayoutEnd::How::Stopped};
  }
  return {};
}

bool LooksLikeDnsmasqConf(std::string_view sampleUtf8) {
  TextLines lines(sampleUtf8);
  std::string_view line, name, value;
  bool hosts = false;
  while (lines.next(line)) {
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.starts_with('#')) {
      hosts = hosts || TrimBlanks(trimmed.substr(1)).starts_with("dhcp-host=");
      continue;
    }
    const std::string_view option = WithoutComment(trimmed);
    if (option.empty()) continue;
    if (!ReadOption(option, name, value)) return false;
    hosts = hosts || name == "dhcp-host";
  }
  return hosts;
}

std::unique_ptr<TableLayout> MakeDnsmasqConfLayout(std::string_view textUtf8) {
  return std::make_unique<DnsmasqConfLayout>(textUtf8);
}

}  // namespace venbrook
