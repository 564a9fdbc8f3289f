#include "sources/source_kind.h"

#include "model/file_name.h"

namespace venbrook {

const SourceProfile* ProfileForPath(std::string_view path) {
  const std::string_view fileName = FileNameOf(path);
  for (const SourceProfile& profile : kSourceProfiles)
    if (fileName == profile.fileName) return &profile;
  return nullptr;
}

}  // namespace venbrook
