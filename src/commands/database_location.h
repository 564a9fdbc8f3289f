#pragma once
#include <functional>
#include <string>
#include "commands/window_port.h"

namespace venbrook {

// Keeps the path box and config.ini in step and loads whenever the path may
// have changed.
//
// The load of the stored path at start is guarded: a mark beside
// config.ini (settings/start_marker.h) is there while it runs. When the
// program ended inside that load, the next start does not load the file by
// itself: the box shows its path, config.ini keeps it, the list stays
// empty and the source label says why and how to retry. Until the operator
// retries (重载), edits the path or chooses a file, the rename boxes load
// nothing either: each of their keystrokes would load the file again.
class DatabaseLocation {
 public:
  static constexpr std::size_t kSettingBufferBytes = 10240;

  DatabaseLocation(PathBox& box, FileChooser& chooser, LoadView& view, const Path& programDirectory,
                   std::function<Path()> desktopFolder, std::function<void()> loadDatabase);

  void LoadConfiguredDatabase();
  void ChooseDatabase();
  void StorePathAndLoad();  // the path box's content-changed event
  // 重载: the load the operator asks for, the guard's retry.
  void Reload();

  // Whether the guard holds start's load back: loads the operator did not
  // ask for by the path wait.
  bool holdingBack() const { return holdingBack_; }

  // Sets the box's text and raises its content-changed event once.
  void setPathBox(const Path& path);

  const Path& settingsPath() const { return settingsPath_; }

 private:
  void storePath(const Path& path);
  // Every load goes here, the guard let go of: the first that returns
  // removes the mark a start that ended inside its load left.
  void load();
  void letGo() { holdingBack_ = false; }

  PathBox& box_;
  FileChooser& chooser_;
  LoadView& view_;
  Path settingsPath_;
  Path startMarker_;
  std::function<Path()> desktopFolder_;
  std::function<void()> loadDatabase_;
  Path lastChosen_;
  bool holdingBack_ = false;
  bool markLeft_ = false;  // the mark of a start load that never returned is still there
};

// The program's own folder: its file name cut before the last separator.
Path ProgramDirectoryOf(const Path& programFileName);

}  // namespace venbrook
