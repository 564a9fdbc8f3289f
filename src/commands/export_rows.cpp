#include "commands/export_rows.h"

#include <string>
#include <vector>

#include "model/gbk_text.h"
#include "model/text_codec.h"

namespace venbrook {
namespace {

void Report(const LinesWritten& written, long long rowCount, const Path& path, MessageSink& messages) {
  if (written.complete) {
    messages.showMessage(MessageText(Gbk("成功导出") + DecimalText(rowCount) + Gbk("条数据至文件："), path),
                         MessageIcon::Information);
    return;
  }
  messages.showMessage(MessageText(Gbk("导出失败，只写入了") + DecimalText(written.linesKept) + Gbk("条数据（共") +
                                       DecimalText(rowCount) + Gbk("条）至文件："),
                                   path),
                       MessageIcon::Error);
}

}  // namespace

void ExportRows(const MachineList& list, MessageSink& messages, const ExportPlace& place) {
  if (list.selectedCount() > 0) {
    ExportSelectedRows(list, messages, place);
    return;
  }
  const int n = list.count();
  if (n <= 0) {
    messages.showMessage(MessageText(Gbk("没有可导出的数据")), MessageIcon::Error);
    return;
  }
  const Path path = ExportPath(place);
  Report(WriteExportLines(path, list), n, path, messages);
}

void ExportSelectedRows(const MachineList& list, MessageSink& messages, const ExportPlace& place) {
  const int k = list.selectedCount();
  const std::vector<int> rows = list.selectedRows();
  const Path path = ExportPath(place);
  if (list.firstSelected() == -1) {
    messages.showMessage(MessageText(Gbk("没有选中任何数据")), MessageIcon::Information);
    return;
  }
  Report(WriteExportLines(path, list, rows), k, path, messages);
}

}  // namespace venbrook
