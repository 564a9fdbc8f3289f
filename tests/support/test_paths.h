#pragma once
// Paths as the tests hand them to the seams and read them back: in GBK, the
// form the tests write paths in, or exactly.
#include <string>

#include "platform/path.h"

namespace venbrook::test {

// A path as a test hands it in: GBK text, or an exact Path. Implicit on
// purpose, so that a queue of answers reads as a list of paths.
struct GivenPath {
  GivenPath(const std::string& gbk) : path(Path::FromGbk(gbk)) {}
  GivenPath(const char* gbk) : path(Path::FromGbk(gbk)) {}
  GivenPath(Path exact) : path(std::move(exact)) {}
  Path path;
};

// An open-file request as the dialog was asked, in GBK.
struct DialogRequest {
  std::string filter;
  std::string initialFolder;
  std::string fileName;
};

}  // namespace venbrook::test
