#pragma once
#include <string>
#include <string_view>

#include "model/machine_list.h"
#include "model/rename_rule.h"
#include "sources/source_connection.h"

namespace venbrook {

// What a load reads from the window and reports to it.
class LoadView {
 public:
  virtual std::string pathText() const = 0;
  virtual RenameRule renameRule() const = 0;
  virtual void setCaption(std::string_view text) = 0;
  virtual void setStatusText(int part, std::string_view text) = 0;

 protected:
  ~LoadView() = default;
};

enum class LoadOutcome {
  Ignored,     // the file name names neither product: nothing changed
  OpenFailed,  // caption says so; list and counters as before
  Loaded,      // list rebuilt (possibly empty), total counter set
};

// Rebuilds the machine list from the database the path box names, each row
// renamed by the rule the rename boxes hold now.
LoadOutcome LoadDatabase(SourceConnection& connection, MachineList& list, LoadView& view);

std::string TotalCounterText(int count);
std::string SelectedCounterText(int count);

}  // namespace venbrook
