#include "commands/load_database.h"

#include "model/gbk_text.h"
#include "model/text_codec.h"

namespace venbrook {

std::string TotalCounterText(int count) { return Gbk(" 总数:") + DecimalText(count); }
std::string SelectedCounterText(int count) { return Gbk(" 已选中:") + DecimalText(count); }

LoadOutcome LoadDatabase(SourceConnection& connection, MachineList& list, LoadView& view) {
  const Path path = view.pathText();
  const LoadOutcome outcome = ReadMachines(connection, path, view.renameRule(), list);
  switch (outcome) {
    case LoadOutcome::Ignored: break;
    case LoadOutcome::OpenFailed: view.setCaption(Gbk("数据库连接失败")); break;
    case LoadOutcome::Loaded: view.setStatusText(0, TotalCounterText(list.count())); break;
  }
  return outcome;
}

}  // namespace venbrook
