#pragma once
// What each event of the main window does, free of Win32 so that every
// command runs the same in the native tests.
#include "commands/database_location.h"
#include "commands/export_rows.h"
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

  // Commands.
  void LoadDatabase();
  void reloadAfterCheckingPath();
  void selectAll() { list_.selectAll(); }
  void invertSelection() { list_.invertSelection(); }
  void deleteSelected();
  void refreshTotalCounter();
  void refreshSelectedCounter();

  DatabaseLocation& location() { return location_; }

 private:
  WindowPort& window_;
  MachineList& list_;
  SourceConnection& connection_;
  ExportPlace exportPlace_;
  DatabaseLocation location_;
};

}  // namespace venbrook
