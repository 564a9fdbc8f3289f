#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "commands/window_port.h"

namespace venbrook {

// Keeps the path box and config.ini in step and loads whenever the path may
// have changed.
class DatabaseLocation {
 public:
  static constexpr std::size_t kSettingBufferBytes = 10240;

  DatabaseLocation(PathBox& box, FileChooser& chooser, std::string programDirectory,
                   std::function<std::string()> desktopFolder, std::function<void()> loadDatabase);

  void LoadConfiguredDatabase();
  void ChooseDatabase();
  void StorePathAndLoad();  // the path box's content-changed event

  // Sets the box's text and raises its content-changed event once.
  void setPathBox(std::string_view text);

  const std::string& settingsPath() const { return settingsPath_; }

 private:
  void storePath(std::string_view path);

  PathBox& box_;
  FileChooser& chooser_;
  std::string settingsPath_;
  std::function<std::string()> desktopFolder_;
  std::function<void()> loadDatabase_;
  std::string lastChosen_;
};

// The program's own folder: its file name cut before the last backslash.
std::string ProgramDirectoryOf(std::string_view programFileName);

}  // namespace venbrook
