#include "commands/database_location.h"

#include <utility>

#include "model/text_codec.h"
#include "settings/profile_file.h"
#include "settings/start_marker.h"
#include "sources/machine_source.h"

namespace venbrook {
namespace {

constexpr std::string_view kSection = "config";
constexpr std::string_view kKey = "data";

// "未载入：上次打开 〈file〉 时程序意外退出，这次没有自动载入，可按“重载”再试",
// the file's name shown exactly (a path of a name alone, relative to the
// program's folder, is its name).
MessageText EndedInsideStartLoadWords(const Path& file) {
  const std::string_view name = file.fileName().empty() ? std::string_view(file.utf8()) : file.fileName();
  return MessageText(Gbk("未载入：上次打开 "), Path::FromUtf8(name),
                     Gbk(" 时程序意外退出，这次没有自动载入，可按“重载”再试"));
}

}  // namespace

Path ProgramDirectoryOf(const Path& programFileName) { return programFileName.folder(); }

DatabaseLocation::DatabaseLocation(PathBox& box, FileChooser& chooser, LoadView& view, const Path& programDirectory,
                                   std::function<Path()> desktopFolder, std::function<void()> loadDatabase)
    : box_(box),
      chooser_(chooser),
      view_(view),
      settingsPath_(programDirectory.child("config.ini")),
      startMarker_(StartMarkerFile(programDirectory)),
      desktopFolder_(std::move(desktopFolder)),
      loadDatabase_(std::move(loadDatabase)) {}

void DatabaseLocation::LoadConfiguredDatabase() {
  const Path saved = ReadIniPath(settingsPath_, kSection, kKey, kSettingBufferBytes);
  const std::optional<Path> unreturned = UnreturnedStartLoad(startMarker_);
  if (!saved.empty() && unreturned == saved) {
    holdingBack_ = markLeft_ = true;
    box_.showPathText(saved);
    storePath(saved);
    view_.setSourceText(EndedInsideStartLoadWords(saved));
    return;
  }
  if (saved.empty()) {
    if (unreturned) ClearStartMark(startMarker_);  // a file config.ini no longer names
    setPathBox(saved);
    ChooseDatabase();
    return;
  }
  // Marked until both loads have returned; a start that ends inside either
  // leaves the mark for the next.
  MarkStartLoad(startMarker_, saved);
  setPathBox(saved);  // stores the path back and loads it: the first load
  load();             // start-up's own load, whatever the box's change did: the same list
  ClearStartMark(startMarker_);
}

void DatabaseLocation::ChooseDatabase() {
  OpenFileRequest request{SourceFilter(), desktopFolder_(), lastChosen_};
  if (!request.initialFolder.empty()) request.initialFolder = request.initialFolder.asFolder();
  const std::optional<Path> chosen = chooser_.chooseFile(request);
  if (!chosen) return;
  lastChosen_ = *chosen;
  setPathBox(*chosen);  // the first store and load, by the box's change
  storePath(*chosen);   // then the choice's own, whatever the change did: config.ini
  load();               // holds the choice even if the first save was lost
}

void DatabaseLocation::StorePathAndLoad() {
  letGo();
  storePath(box_.pathText());
  load();
}

void DatabaseLocation::Reload() {
  letGo();
  load();
}

void DatabaseLocation::load() {
  loadDatabase_();
  if (markLeft_) {  // every load lets go of the guard first
    ClearStartMark(startMarker_);
    markLeft_ = false;
  }
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
