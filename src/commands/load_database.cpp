#include "commands/load_database.h"

#include <new>

#include "model/gbk_text.h"
#include "model/text_codec.h"
#include "sources/source_words.h"

namespace venbrook {
namespace {

// The window is busy from the load's first step to its last, whatever ends it.
class BusyWindow {
 public:
  explicit BusyWindow(LoadView& view) : view_(view) { view_.loadBegins(); }
  ~BusyWindow() { view_.loadEnds(); }
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

 private:
  LoadView& view_;
};

ReadResult ReadWithTypedNames(SourceConnection& connection, const Path& path, MachineList& list, LoadView& view,
                              TypedNaming* typed) {
  const RenameRule rule = view.renameRule();
  MachineList::HeldNotifications held(list);
  ReadResult result = ReadMachines(connection, path, rule, list);
  if (typed != nullptr && result.outcome == LoadOutcome::Loaded) typed->applyAfterLoad(list, rule);
  return result;
}

// Every reader's memory, the file's bytes, the parsers' buffers and the
// rows read so far, is freed as the exception leaves it; what the list
// holds goes here. The catch is the load's one boundary: no reader passes
// the exception through a C library's frames (expat, minizip, zlib and
// SQLite each report running out after their call returns).
ReadResult ReadOrRunOutOfMemory(SourceConnection& connection, const Path& path, MachineList& list, LoadView& view,
                                TypedNaming* typed) {
  try {
    return ReadWithTypedNames(connection, path, list, view, typed);
  } catch (const std::bad_alloc&) {
    list.clearAndRelease();
    connection.close();
    return {LoadOutcome::ReadFailed, 0, TooLargeWords(path.fileName(), Bound::Memory)};
  }
}

}  // namespace

std::string TotalCounterText(int count) { return Gbk(" 总数:") + DecimalText(count); }
std::string SelectedCounterText(int count) { return Gbk(" 已选中:") + DecimalText(count); }

ReadResult LoadDatabase(SourceConnection& connection, MachineList& list, LoadView& view, TypedNaming* typed) {
  const BusyWindow busy(view);
  const Path path = view.pathText();
  ReadResult result = ReadOrRunOutOfMemory(connection, path, list, view, typed);
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
