#include "commands/database_location.h"

#include <utility>

#include "model/file_name.h"
#include "model/text_codec.h"
#include "sources/profile_file.h"

namespace venbrook {
namespace {

constexpr std::string_view kSection = "config";
constexpr std::string_view kKey = "data";

}  // namespace

std::string ProgramDirectoryOf(std::string_view programFileName) {
  return std::string(FolderOf(programFileName));
}

std::string DatabaseFilter() {
  return Gbk("所有数据库(*.db)|*.db|云更新(lwdiskless.db)|lwdiskless.db|网维大师(barserver.db)|barserver.db");
}

DatabaseLocation::DatabaseLocation(PathBox& box, FileChooser& chooser, std::string programDirectory,
                                   std::function<std::string()> desktopFolder,
                                   std::function<void()> loadDatabase)
    : box_(box),
      chooser_(chooser),
      settingsPath_(std::move(programDirectory) + "\\config.ini"),
      desktopFolder_(std::move(desktopFolder)),
      loadDatabase_(std::move(loadDatabase)) {}

void DatabaseLocation::LoadConfiguredDatabase() {
  const std::string saved = ReadIniValue(settingsPath_, kSection, kKey, kSettingBufferBytes);
  setPathBox(saved);
  if (saved.empty()) {
    ChooseDatabase();
  } else {
    loadDatabase_();
  }
}

void DatabaseLocation::ChooseDatabase() {
  OpenFileRequest request{DatabaseFilter(), desktopFolder_(), lastChosen_};
  if (!request.initialFolder.empty() && !EndsWithBackslash(request.initialFolder)) request.initialFolder += '\\';
  const std::optional<std::string> chosen = chooser_.chooseFile(request);
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

void DatabaseLocation::setPathBox(std::string_view text) {
  box_.showPathText(text);
  StorePathAndLoad();
}

void DatabaseLocation::storePath(std::string_view path) {
  // A read-only program folder is not reported: the box keeps the path.
  WriteIniValue(settingsPath_, kSection, kKey, path);
}

}  // namespace venbrook
