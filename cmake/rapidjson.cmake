# venbrook::rapidjson — the JSON reader of structured text files (header-only).
#   native build:  the system headers (Debian's rapidjson-dev, /usr/include)
#   Windows build: the same headers copied by scripts/setup.sh into
#                  .cache/rapidjson-1.1.0/include (never committed), so the
#                  cross compiler is never shown the host's /usr/include.

if(WIN32)
  set(VENBROOK_RAPIDJSON_DIR "${CMAKE_SOURCE_DIR}/.cache/rapidjson-1.1.0/include"
      CACHE PATH "Folder holding RapidJSON's headers (rapidjson/reader.h)")
  set(_venbrook_rapidjson_header "${VENBROOK_RAPIDJSON_DIR}/rapidjson/rapidjson.h")
else()
  find_path(VENBROOK_RAPIDJSON_DIR rapidjson/reader.h)
  set(_venbrook_rapidjson_header "${VENBROOK_RAPIDJSON_DIR}/rapidjson/rapidjson.h")
endif()
if(NOT VENBROOK_RAPIDJSON_DIR OR NOT EXISTS "${_venbrook_rapidjson_header}")
  message(FATAL_ERROR
    "RapidJSON's headers are missing (looked for rapidjson/rapidjson.h in '${VENBROOK_RAPIDJSON_DIR}').\n"
    "Run scripts/setup.sh to prepare them.")
endif()
file(STRINGS "${_venbrook_rapidjson_header}" _venbrook_rapidjson_defines
     REGEX "^#define RAPIDJSON_(MAJOR|MINOR|PATCH)_VERSION ")
string(REGEX REPLACE "[^;]*VERSION ([0-9]+)" "\\1" _venbrook_rapidjson_found "${_venbrook_rapidjson_defines}")
string(REPLACE ";" "." _venbrook_rapidjson_found "${_venbrook_rapidjson_found}")

add_library(venbrook_rapidjson INTERFACE)
# SYSTEM: its own warnings are not ours to fix.
target_include_directories(venbrook_rapidjson SYSTEM INTERFACE "${VENBROOK_RAPIDJSON_DIR}")
message(STATUS "RapidJSON: ${_venbrook_rapidjson_found} from ${VENBROOK_RAPIDJSON_DIR}")
add_library(venbrook::rapidjson ALIAS venbrook_rapidjson)
unset(_venbrook_rapidjson_defines)
unset(_venbrook_rapidjson_found)
unset(_venbrook_rapidjson_header)
