#include "export/export_rows.h"

#include <vector>

#include "export/format_date_time.h"
#include "export/whole_lines.h"
#include "model/gbk_text.h"
#include "model/text_codec.h"
#include "platform/os.h"
#include "sources/file_name.h"

namespace venbrook {
namespace {

// A CR or LF inside a field would split one machine into two lines of the
// import file, so each becomes a space.
void AppendField(std::string& out, std::string_view field) {
  const std::size_t start = out.size();
  out.append(field);
  for (std::size_t i = start; i < out.size(); ++i)
    if (out[i] == '\r' || out[i] == '\n') out[i] = ' ';
}

void AppendLine(std::string& out, const MachineList& list, int row) {
  AppendField(out, list.cellText(row, kMacColumn));
  out += ' ';
  AppendField(out, list.cellText(row, kNewNameColumn));
  out += "\r\n";
}

template <typename Rows>
std::string LinesOf(const MachineList& list, const Rows& rows) {
  std::size_t bytes = 0;
  for (int row : rows)
    bytes += list.cellText(row, kMacColumn).size() + list.cellText(row, kNewNameColumn).size() + 3;
  std::string lines;
  lines.reserve(bytes);
  for (int row : rows) AppendLine(lines, list, row);
  return lines;
}

struct AllRows {
  int n;
  struct Iterator {
    int row;
    int operator*() const { return row; }
    Iterator& operator++() { return ++row, *this; }
    bool operator!=(const Iterator& other) const { return row != other.row; }
  };
  Iterator begin() const { return {0}; }
  Iterator end() const { return {n}; }
};

void WriteAndReport(const std::string& path, const std::string& lines, long long rowCount, MessageSink& messages) {
  const os::AppendResult result = os::AppendLines(path, lines);
  if (result.opened && result.bytesKept == lines.size()) {
    messages.showMessage(Gbk("成功导出") + DecimalText(rowCount) + Gbk("条数据至文件：") + path,
                         MessageIcon::Information);
    return;
  }
  const long long written = static_cast<long long>(LineCount(std::string_view(lines).substr(0, result.bytesKept)));
  messages.showMessage(Gbk("导出失败，只写入了") + DecimalText(written) + Gbk("条数据（共") +
                           DecimalText(rowCount) + Gbk("条）至文件：") + path,
                       MessageIcon::Error);
}

}  // namespace

ExportPlace DesktopNow() { return {os::DesktopFolder, os::LocalNowAsAutomationDate}; }

std::string ExportPath(const ExportPlace& place) {
  std::string path = place.desktopFolder();
  if (!EndsWithBackslash(path)) path += '\\';
  path += FormatDateTime(place.now(), "yyyyMd", "hhmmss", true);
  path += ".txt";
  return path;
}

void ExportRows(const MachineList& list, MessageSink& messages, const ExportPlace& place) {
  if (list.selectedCount() > 0) {
    ExportSelectedRows(list, messages, place);
    return;
  }
  const int n = list.count();
  if (n <= 0) {
    messages.showMessage(Gbk("没有可导出的数据"), MessageIcon::Error);
    return;
  }
  const std::string path = ExportPath(place);
  WriteAndReport(path, LinesOf(list, AllRows{n}), n, messages);
}

void ExportSelectedRows(const MachineList& list, MessageSink& messages, const ExportPlace& place) {
  const int k = list.selectedCount();
  const std::vector<int> rows = list.selectedRows();
  const std::string path = ExportPath(place);
  if (list.firstSelected() == -1) {
    messages.showMessage(Gbk("没有选中任何数据"), MessageIcon::Information);
    return;
  }
  WriteAndReport(path, LinesOf(list, rows), k, messages);
}

}  // namespace venbrook
