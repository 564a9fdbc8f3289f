#pragma once
// The content reader of routers' and DHCP servers' files (router_files.h):
// the file read whole, as a text list is.
#include <string_view>

#include "sources/machine_source.h"

namespace venbrook {

bool ClaimsRouterFile(std::string_view firstBytes);
ReadResult ReadRouterFile(const ReadRequest& request);

}  // namespace venbrook
