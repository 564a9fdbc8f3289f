#include "commands/database_location.h"

#include <utility>

#include "model/text_codec.h"
#include "sources/machine_source.h"
#include "settings/profile_file.h"

namespace venbrook {
namespace {

constexpr std::string_view kSection = "config";
constexpr std::string_view kKey = "data";

}  // namespace

Path ProgramDirectoryOf(const Path& programFileName) { return programFileName.folder(); }

DatabaseLocation::DatabaseLocation(PathBox& box, FileChooser& chooser, const Path& programDirectory,
                                   std::function<Path()> desktopFolder, std::function<void()> loadDatabase)
    : box_(box),
      chooser_(chooser),
      settingsPath_(programDirectory.child("config.ini")),
      desktopFolder_(std::move(desktopFolder)),
      loadDatabase_(std::move(loadDatabase)) {}

void DatabaseLocation::LoadConfiguredDatabase() {
  const Path saved = ReadIniPath(settingsPath_, kSection, kKey, kSettingBufferBytes);
  setPathBox(saved);  // stores the path back and loads it: the first load
  if (saved.empty()) {
    ChooseDatabase();
  } else {
    loadDatabase_();  // start-up's own load, whatever the box's change did: the same list
  }
}

void DatabaseLocation::ChooseDatabase() {
  OpenFileRequest request{SourceFilter(), desktopFolder_(), lastChosen_};
  if (!request.initialFolder.empty()) request.initialFolder = request.initialFolder.asFolder();
  const std::optional<Path> chosen = chooser_.chooseFile(request);
  if (!chosen) return;
  lastChosen_ = *chosen;
  setPathBox(*chosen);  // the first store and load, by the box's change
  storePath(*chosen);   // then the choice's own, whatever the change did: config.ini
  loadDatabase_();      // holds the choice even if the first save was lost
}

void DatabaseLocation::StorePathAndLoad() {
  storePath(box_.pathText());
  loadDatabase_();
}

void DatabaseLocation::setPathBox(const Path& path) {
  box_.showPathText(path);
  StorePathAndLoad();
}

void DatabaseLocation::storePath(const Path& path) {
  // A read-only program folder is not reported: the box keeps the path.
  WriteIniPath(settingsPath_, kSection, kKey, path);
}

}  // namespace venbrook
