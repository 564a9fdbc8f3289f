#include "commands/commands.h"

#include <utility>

#include "commands/list_check_text.h"
#include "commands/load_database.h"
#include "model/text_codec.h"

namespace venbrook {

Commands::Commands(WindowPort& window, MachineList& list, SourceConnection& connection,
                   const Path& programDirectory, ExportPlace exportPlace)
    : window_(window),
      list_(list),
      connection_(connection),
      exportPlace_(std::move(exportPlace)),
      naming_(programDirectory),
      location_(window, window, window, programDirectory, exportPlace_.desktopFolder,
                [this] { LoadDatabase(); }) {}

void Commands::LoadDatabase() { venbrook::LoadDatabase(connection_, list_, window_, &naming_); }

void Commands::listRightClicked() {
  refreshSelectedCounter();
  menuChosen(window_.popUpMenu());
}

void Commands::listDoubleClicked() {
  const int first = list_.firstSelected();
  if (first == -1) return;
  list_.remove(first);
  refreshTotalCounter();
}

bool Commands::listKeyPressed(int virtualKey, int modifiers) {
  if (virtualKey == kVirtualKeyF2 && modifiers == 0) {
    window_.editFocusedName();
    return true;
  }
  if (virtualKey != kVirtualKeyA || modifiers != kCtrl) return false;
  selectAll();
  return true;
}

void Commands::menuChosen(MenuCommand command) {
  switch (command) {
    case MenuCommand::Export: exportChosen(); break;
    case MenuCommand::Reload: reloadAfterCheckingPath(); break;
    case MenuCommand::SelectAll: selectAll(); break;
    case MenuCommand::Invert: invertSelection(); break;
    case MenuCommand::Delete: deleteSelected(); break;
    case MenuCommand::Rename: window_.editFocusedName(); break;
    case MenuCommand::Number: numberRows(); break;
    case MenuCommand::RestoreNames: restoreNames(); break;
    case MenuCommand::None: break;
  }
}

void Commands::reloadAfterCheckingPath() {
  if (window_.pathText().empty()) {
    window_.showMessage(MessageText(Gbk("没有载入数据库，请检查配置的数据库是否正确")), MessageIcon::Information);
    return;
  }
  location_.Reload();
}

void Commands::deleteSelected() {
  if (list_.firstSelected() == -1)
    window_.showMessage(MessageText(Gbk("没有选中数据")), MessageIcon::Information);
  else
    list_.removeSelected();
  refreshTotalCounter();
  refreshSelectedCounter();
}

// An empty list has nothing to number: no dialog.
void Commands::numberRows() {
  const int rows = list_.selectedCount() > 0 ? list_.selectedCount() : list_.count();
  if (rows == 0) return;
  const std::optional<Numbering> chosen = window_.askNumbering(DefaultNumbering(window_.renameRule().prefix, rows));
  if (chosen) naming_.number(list_, *chosen);
}

std::string Commands::typedNamesNote() const { return TypedNamesNote(naming_.names()); }

void Commands::refreshTotalCounter() { window_.setStatusText(0, TotalCounterText(list_.count())); }

void Commands::refreshSelectedCounter() { window_.setStatusText(1, SelectedCounterText(list_.selectedCount())); }

}  // namespace venbrook
