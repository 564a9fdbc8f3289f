#pragma once
#include "export/message_sink.h"
#include "sources/database_location.h"
#include "sources/load_database.h"

namespace venbrook {

enum class MenuCommand { None, Export, Reload, SelectAll, Invert, Delete };

// Everything the commands need of the main window. The Win32 window is the
// real one; tests drive the commands through a recording one as well.
class WindowPort : public LoadView, public PathBox, public MessageSink, public FileChooser {
 public:
  // The path box's text, for the load and the path commands alike.
  std::string pathText() const override = 0;

  // Pops up the list's menu at the cursor, 3 pixels right and down, and
  // returns the item chosen.
  virtual MenuCommand popUpMenu() = 0;

 protected:
  ~WindowPort() = default;
};

enum Modifier : int { kCtrl = 1, kShift = 2, kAlt = 4 };
constexpr int kVirtualKeyA = 0x41;

}  // namespace venbrook
