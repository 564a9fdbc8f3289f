#include "commands/database_location.h"

#include <utility>

#include "model/text_codec.h"
#include "sources/profile_file.h"

namespace venbrook {
namespace {

constexpr std::string_view kSection = "config";
constexpr std::string_view kKey = "data";

}  // namespace

Path ProgramDirectoryOf(const Path& programFileName) { return programFileName.folder(); }

std::string DatabaseFilter() {
  return Gbk("所有数据库(*.db)|*.db|云更新(lwdiskless.db)|lwdiskless.db|网维大师(barserver.db)|barserver.db");
}

DatabaseLocation::DatabaseLocation(PathBox& box, FileChooser& chooser, const Path& programDirectory,
                                   std::function<Path()> desktopFolder, std::function<void()> loadDatabase)
    : box_(box),
      chooser_(chooser),
      settingsPath_(programDirectory.child("config.ini")),
      desktopFolder_(std::move(desktopFolder)),
      loadDatabase_(std::move(loadDatabase)) {}

void DatabaseLocation::LoadConfiguredDatabase() {
  const Path saved = ReadIniPath(settingsPath_, kSection, kKey, kSettingBufferBytes);
  setPathBox(saved);
  if (saved.empty()) {
    ChooseDatabase();
  } else {
    loadDatabase_();
  }
}

void DatabaseLocation::ChooseDatabase() {
  OpenFileRequest request{DatabaseFilter(), desktopFolder_(), lastChosen_};
  if (!request.initialFolder.empty()) request.initialFolder = request.initialFolder.asFolder();
  const std::optional<Path> chosen = chooser_.chooseFile(request);
  if (!chosen) return;
  lastChosen_ = *chosen;
  setPathBox(*chosen);
  storePath(*chosen);
  loadDatabase_();
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
