#pragma once
#include <functional>
#include <string>
#include "commands/window_port.h"

namespace venbrook {

// Keeps the path box and config.ini in step and loads whenever the path may
// have changed.
class DatabaseLocation {
 public:
  static constexpr std::size_t kSettingBufferBytes = 10240;

  DatabaseLocation(PathBox& box, FileChooser& chooser, const Path& programDirectory,
                   std::function<Path()> desktopFolder, std::function<void()> loadDatabase);

  void LoadConfiguredDatabase();
  void ChooseDatabase();
  void StorePathAndLoad();  // the path box's content-changed event

  // Sets the box's text and raises its content-changed event once.
  void setPathBox(const Path& path);

  const Path& settingsPath() const { return settingsPath_; }

 private:
  void storePath(const Path& path);

  PathBox& box_;
  FileChooser& chooser_;
  Path settingsPath_;
  std::function<Path()> desktopFolder_;
  std::function<void()> loadDatabase_;
  Path lastChosen_;
};

// The program's own folder: its file name cut before the last separator.
Path ProgramDirectoryOf(const Path& programFileName);

}  // namespace venbrook
