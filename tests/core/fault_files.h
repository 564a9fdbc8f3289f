#pragma once
// Helpers of the fault tests: what a folder holds, byte for byte and with
// each file's modification time, so a test can show that nothing changed.
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "support/temp_folder.h"

namespace venbrook::test {

struct FileState {
  std::optional<std::string> bytes;  // none for a folder
  std::filesystem::file_time_type modified;
  bool operator==(const FileState&) const = default;
};

// Every entry of the folder (not below it) by name.
inline std::map<std::string, FileState> FolderState(const std::filesystem::path& folder) {
  std::map<std::string, FileState> state;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const bool file = entry.is_regular_file();
    state[entry.path().filename().string()] = {file ? ReadBytes(entry.path()) : std::nullopt,
                                               std::filesystem::last_write_time(entry.path())};
  }
  return state;
}

inline std::string Names(const std::map<std::string, FileState>& state) {
  std::string names;
  for (const auto& [name, file] : state) names += name + (file.bytes ? " " : "/ ");
  return names;
}

#ifndef _WIN32
// Permission bits stop nobody who runs as root, as the test machines do.
inline bool RunningAsRoot() { return ::geteuid() == 0; }
#endif

// Whether this process may write the file after all (root natively, or Wine
// run by root, ignores read-only marks): then that fault cannot be staged.
inline bool StillWritable(const std::filesystem::path& file) {
  return std::ofstream(file, std::ios::binary | std::ios::app).good();
}

}  // namespace venbrook::test
