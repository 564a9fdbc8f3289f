#include "sources/source_kind.h"

namespace venbrook {

const SourceProfile* ProfileForPath(const Path& path) {
  const std::string_view fileName = path.fileName();
  for (const SourceProfile& profile : kSourceProfiles)
    if (fileName == profile.fileName) return &profile;
  return nullptr;
}

}  // namespace venbrook
