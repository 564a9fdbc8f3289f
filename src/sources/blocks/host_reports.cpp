#include "sources/blocks/host_reports.h"

#include "model/blanks.h"
#include "sources/blocks/record_cells.h"
#include "sources/read_bounds.h"
#include "sources/text/text_lines.h"

namespace venbrook {
namespace {

constexpr int kNameColumn = 0, kMacColumn = 1;

// The value without the remark in brackets a tool adds after it: the
// address after a host's name, the vendor after a MAC.
std::string_view BeforeRemark(std::string_view value) {
  value = TrimBlanks(value);
  const std::size_t open = value.find(" (");
  return open != std::string_view::npos && value.ends_with(')') ? value.substr(0, open) : value;
}

// What one line says of the host being reported.
struct HostLine {
  enum class Says : std::uint8_t { Nothing, NewHost, Name, Mac } says = Says::Nothing;
  std::string_view value;
};

HostLine ReadNmapLine(std::string_view line) {
  constexpr std::string_view kReport = "Nmap scan report for ", kMac = "MAC Address: ";
  if (line.starts_with(kReport)) return {HostLine::Says::NewHost, BeforeRemark(line.substr(kReport.size()))};
  if (line.starts_with(kMac)) return {HostLine::Says::Mac, BeforeRemark(line.substr(kMac.size()))};
  return {};
}

HostLine ReadNbtstatLine(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  for (const std::string_view mac : {std::string_view("MAC Address = "), std::string_view("MAC 地址 = ")})
    if (trimmed.starts_with(mac)) return {HostLine::Says::Mac, TrimBlanks(trimmed.substr(mac.size()))};
  if (trimmed.find("NetBIOS Remote Machine Name Table") != std::string_view::npos ||
      trimmed.find("NetBIOS 远程计算机名称表") != std::string_view::npos)
    return {HostLine::Says::NewHost, {}};
  // "A01            <00>  UNIQUE      Registered"
  const std::size_t suffix = trimmed.find("<00>");
  if (suffix == std::string_view::npos) return {};
  const std::string_view type = TrimBlanks(trimmed.substr(suffix + 4));
  if (!type.starts_with("UNIQUE") && !type.starts_with("唯一")) return {};
  return {HostLine::Says::Name, TrimBlanks(trimmed.substr(0, suffix))};
}

class HostReportLayout final : public TableLayout {
 public:
  HostReportLayout(std::string_view text, HostLine (*read)(std::string_view), std::string_view nameKey,
                   std::string_view words)
      : text_(text), read_(read), nameKey_(nameKey), words_(words) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    TextLines lines(text_);
    std::string_view line;
    RecordCells cells;
    bool named = false, hasMac = false;
    int first = 0;
    // A host is handed over once it has its MAC; one without is no record.
    const auto handOver = [&] {
      const bool goOn = !hasMac || cells.handTo(visitor, first);
      cells.clear();
      named = hasMac = false;
      first = 0;
      return goOn;
    };
    while (lines.next(line)) {
      if (line.size() > kMaxRecordBytes) return LayoutEnd::Past(Bound::RecordBytes);
      const HostLine says = read_(line);
      if (says.says == HostLine::Says::Nothing) continue;
      if (says.says == HostLine::Says::NewHost) {
        if (!handOver()) return {LayoutEnd::How::Stopped};
        first = lines.number();
      }
      if (first == 0) first = lines.number();
      if (says.says == HostLine::Says::Mac) {
        // The MAC ends the host: its name comes before it in both tools.
        if (!cells.add(kMacColumn, says.value)) return LayoutEnd::Past(Bound::RecordBytes);
        hasMac = true;
        if (!handOver()) return {LayoutEnd::How::Stopped};
      } else if (!says.value.empty() && !named) {
        if (!cells.add(kNameColumn, says.value)) return LayoutEnd::Past(Bound::RecordBytes);
        named = true;
      }
    }
    return {};
  }

  std::vector<std::string> columnNames() const override { return {std::string(nameKey_), "MAC Address"}; }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return RecordKind::Events; }
  std::string_view wordsUtf8() const override { return words_; }

 private:
  std::string_view text_;
  HostLine (*read_)(std::string_view);
  std::string_view nameKey_, words_;
};

// The sample shows a host opened and a MAC given in the tool's words.
bool SampleSays(std::string_view sampleUtf8, HostLine (*read)(std::string_view)) {
  TextLines lines(sampleUtf8);
  std::string_view line;
  bool host = false;
  while (lines.next(line)) {
    const HostLine says = read(line);
    host = host || says.says == HostLine::Says::NewHost;
    if (host && says.says == HostLine::Says::Mac) return true;
  }
  return false;
}

}  // namespace

bool LooksLikeNmapReport(std::string_view sampleUtf8) { return SampleSays(sampleUtf8, ReadNmapLine); }

std::unique_ptr<TableLayout> MakeNmapReportLayout(std::string_view textUtf8) {
  return std::make_unique<HostReportLayout>(textUtf8, ReadNmapLine, "host", "nmap 扫描结果");
}

bool LooksLikeNbtstat(std::string_view sampleUtf8) { return SampleSays(sampleUtf8, ReadNbtstatLine); }

std::unique_ptr<TableLayout> MakeNbtstatLayout(std::string_view textUtf8) {
  return std::make_unique<HostReportLayout>(textUtf8, ReadNbtstatLine, "Name", "nbtstat 名称表");
}

}  // namespace venbrook
