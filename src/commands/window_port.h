#pragma once
// Every seam the window offers the commands, declared together: the Win32
// window implements them all, and the native tests drive the same commands
// through a recording window. Texts are GBK; paths are `Path`s, which the
// window shows and takes exactly, whatever characters they hold.
#include <optional>
#include <string>
#include <string_view>

#include "commands/numbering.h"
#include "model/message_text.h"
#include "model/rename_rule.h"
#include "platform/path.h"

namespace venbrook {

// What a load reads from the window and reports to it.
class LoadView {
 public:
  virtual Path pathText() const = 0;
  virtual RenameRule renameRule() const = 0;
  virtual void setCaption(std::string_view text) = 0;
  virtual void setStatusText(int part, std::string_view text) = 0;
  // The source label: where the rows came from, or why a file gave none.
  virtual void setSourceText(const MessageText& text) = 0;
  // A load begins, and ends: the window shows it is busy in between (the
  // wait cursor), so that it never looks dead. A view that shows nothing of
  // it needs neither.
  virtual void loadBegins() {}
  virtual void loadEnds() {}

 protected:
  ~LoadView() = default;
};

// The path box: the one holder of the current database path.
class PathBox {
 public:
  virtual Path pathText() const = 0;
  // Shows `path` without raising the box's content-changed event; the
  // caller raises it.
  virtual void showPathText(const Path& path) = 0;

 protected:
  ~PathBox() = default;
};

struct OpenFileRequest {
  std::string filter;   // "shown|pattern|shown|pattern..."
  Path initialFolder;   // ends in a backslash, or empty
  Path fileName;        // preset in the file name field
};

// The open-file dialog; nullopt when cancelled.
class FileChooser {
 public:
  virtual std::optional<Path> chooseFile(const OpenFileRequest& request) = 0;

 protected:
  ~FileChooser() = default;
};

enum class MessageIcon { Information, Error };

// The operator's message box: title "提示：", one OK button, task-modal.
class MessageSink {
 public:
  virtual void showMessage(const MessageText& text, MessageIcon icon) = 0;

 protected:
  ~MessageSink() = default;
};

enum class MenuCommand { None, Export, Reload, SelectAll, Invert, Delete, Rename, Number, RestoreNames };

// The list's pop-up menu.
class PopUpMenu {
 public:
  // Pops the menu up at the cursor, 3 pixels right and down, and returns
  // the command of the item chosen.
  virtual MenuCommand popUpMenu() = 0;

 protected:
  ~PopUpMenu() = default;
};

// Naming rows: the edit box over a row's new name, and the 编号… dialog.
class NameTyping {
 public:
  // Opens the edit box over the new name of the focused row (or, with none
  // focused, of the first selected); nothing without such a row.
  virtual void editFocusedName() = 0;
  // The 编号… dialog, filled with `defaults`; none when cancelled.
  virtual std::optional<Numbering> askNumbering(const Numbering& defaults) = 0;

 protected:
  ~NameTyping() = default;
};

// The whole window, as the commands see it.
class WindowPort : public LoadView,
                   public PathBox,
                   public MessageSink,
                   public FileChooser,
                   public PopUpMenu,
                   public NameTyping {
 public:
  // The path box's text, for the load and the path commands alike.
  Path pathText() const override = 0;

 protected:
  ~WindowPort() = default;
};

enum Modifier : int { kCtrl = 1, kShift = 2, kAlt = 4 };
constexpr int kVirtualKeyA = 0x41;
constexpr int kVirtualKeyF2 = 0x71;

}  // namespace venbrook
