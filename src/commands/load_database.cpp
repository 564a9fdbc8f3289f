#include "commands/load_database.h"

#include "model/gbk_text.h"
#include "model/text_codec.h"

namespace venbrook {

std::string TotalCounterText(int count) { return Gbk(" 总数:") + DecimalText(count); }
std::string SelectedCounterText(int count) { return Gbk(" 已选中:") + DecimalText(count); }

ReadResult LoadDatabase(SourceConnection& connection, MachineList& list, LoadView& view) {
  const Path path = view.pathText();
  ReadResult result = ReadMachines(connection, path, view.renameRule(), list);
  switch (result.outcome) {
    case LoadOutcome::Ignored: break;
    case LoadOutcome::OpenFailed: view.setCaption(Gbk("数据库连接失败")); break;
    case LoadOutcome::Loaded:
    case LoadOutcome::ReadFailed:
      view.setStatusText(0, TotalCounterText(list.count()));
      view.setSourceText(result.reason);
      break;
    case LoadOutcome::NoList: view.setSourceText(result.reason); break;
  }
  return result;
}

}  // namespace venbrook
