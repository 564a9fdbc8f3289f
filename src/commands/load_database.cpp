#include "commands/load_database.h"

#include "model/gbk_text.h"
#include "model/text_codec.h"

namespace venbrook {

std::string TotalCounterText(int count) { return Gbk(" 总数:") + DecimalText(count); }
std::string SelectedCounterText(int count) { return Gbk(" 已选中:") + DecimalText(count); }

namespace {

ReadResult ReadWithTypedNames(SourceConnection& connection, MachineList& list, LoadView& view, TypedNaming* typed) {
  const Path path = view.pathText();
  const RenameRule rule = view.renameRule();
  MachineList::HeldNotifications held(list);
  ReadResult result = ReadMachines(connection, path, rule, list);
  if (typed != nullptr && result.outcome == LoadOutcome::Loaded) typed->applyAfterLoad(list, rule);
  return result;
}

}  // namespace

ReadResult LoadDatabase(SourceConnection& connection, MachineList& list, LoadView& view, TypedNaming* typed) {
  ReadResult result = ReadWithTypedNames(connection, list, view, typed);
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
