#include "settings/start_marker.h"

#include <string>

#include "platform/os.h"

namespace venbrook {

Path StartMarkerFile(const Path& programDirectory) { return programDirectory.child("config.ini.loading"); }

// The path as UTF-8, which writes any path exactly.
bool MarkStartLoad(const Path& marker, const Path& loading) { return os::ReplaceWholeFile(marker, loading.utf8()); }

std::optional<Path> UnreturnedStartLoad(const Path& marker) {
  const std::optional<std::string> bytes = os::ReadWholeFile(marker);
  if (!bytes) return std::nullopt;
  return Path::FromUtf8(*bytes);
}

void ClearStartMark(const Path& marker) { os::RemoveFile(marker); }

}  // namespace venbrook
