#pragma once
// What each event of the main window does, free of Win32 so that every
// command runs the same in the native tests.
#include "commands/database_location.h"
#include "commands/export_rows.h"
#include "commands/typed_naming.h"
#include "commands/window_port.h"
#include "model/machine_list.h"
#include "sources/sqlite/source_connection.h"

namespace venbrook {

class Commands {
 public:
  Commands(WindowPort& window, MachineList& list, SourceConnection& connection, const Path& programDirectory,
           ExportPlace exportPlace);

  // Events, one each.
  void windowCreated() { location_.LoadConfiguredDatabase(); }
  void changeClicked() { location_.ChooseDatabase(); }
  void pathEdited() { location_.StorePathAndLoad(); }
  // Prefix or replacement; not the find text. Held back with start's load.
  void renameBoxEdited() {
    if (!location_.holdingBack()) LoadDatabase();
  }
  void exportChosen() { ExportRows(list_, window_, exportPlace_); }
  void listLeftClicked() { refreshSelectedCounter(); }
  void listRightClicked();
  void listDoubleClicked();
  bool listKeyPressed(int virtualKey, int modifiers);  // true when handled here
  void menuChosen(MenuCommand command);
  // A name typed into the edit box over a row's new name, kept (GBK).
  TypedNaming::Typed nameTyped(int row, std::string_view name) { return naming_.type(list_, row, name); }

  // Commands.
  void LoadDatabase();
  void reloadAfterCheckingPath();
  void selectAll() { list_.selectAll(); }
  void invertSelection() { list_.invertSelection(); }
  void deleteSelected();
  void numberRows();
  void restoreNames() { naming_.restore(list_); }
  void refreshTotalCounter();
  void refreshSelectedCounter();

  DatabaseLocation& location() { return location_; }
  const TypedNaming& typedNaming() const { return naming_; }
  // Why 机器名.ini does not hold the typed names; empty when it does.
  std::string typedNamesNote() const;

 private:
  WindowPort& window_;
  MachineList& list_;
  SourceConnection& connection_;
  ExportPlace exportPlace_;
  TypedNaming naming_;
  DatabaseLocation location_;
};

}  // namespace venbrook
