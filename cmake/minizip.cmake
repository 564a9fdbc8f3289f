# venbrook::zlib and venbrook::minizip — the zip container of a workbook.
#   native build:  the system libraries (Debian's zlib1g-dev, libminizip-dev)
#   Windows build: zlib from Debian's libz-mingw-w64-dev (its static libz.a),
#                  minizip 1.1 compiled in from Debian's minizip source package,
#                  the same source libminizip-dev is built from. scripts/setup.sh
#                  puts it in .cache/minizip-1.1 (never committed).
# Headers are included as <unzip.h> and <zip.h> in both builds. The program
# uses the reader (unzip.c); the writer (zip.c) is there for the tests, and a
# static library gives the program only what it calls.

if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
add_library(venbrook::zlib ALIAS ZLIB::ZLIB)

if(WIN32)
  set(VENBROOK_MINIZIP_DIR "${CMAKE_SOURCE_DIR}/.cache/minizip-1.1"
      CACHE PATH "Folder holding minizip's sources (unzip.c, zip.c, ioapi.c)")
  set(_venbrook_minizip_version 1.1)
  if(NOT EXISTS "${VENBROOK_MINIZIP_DIR}/unzip.c" OR NOT EXISTS "${VENBROOK_MINIZIP_DIR}/unzip.h")
    message(FATAL_ERROR
      "minizip's sources are missing from ${VENBROOK_MINIZIP_DIR}.\n"
      "Run scripts/setup.sh to prepare them.")
  endif()
  file(STRINGS "${VENBROOK_MINIZIP_DIR}/unzip.h" _venbrook_minizip_line REGEX "^ *Version [0-9.]+,")
  string(REGEX REPLACE "^ *Version ([0-9.]+),.*" "\\1" _venbrook_minizip_found "${_venbrook_minizip_line}")
  if(NOT _venbrook_minizip_found STREQUAL _venbrook_minizip_version)
    message(FATAL_ERROR
      "${VENBROOK_MINIZIP_DIR}/unzip.h is minizip '${_venbrook_minizip_found}', "
      "expected ${_venbrook_minizip_version}. Remove that folder and run scripts/setup.sh.")
  endif()

  add_library(venbrook_minizip STATIC
    "${VENBROOK_MINIZIP_DIR}/ioapi.c" "${VENBROOK_MINIZIP_DIR}/unzip.c" "${VENBROOK_MINIZIP_DIR}/zip.c")
  target_include_directories(venbrook_minizip SYSTEM PUBLIC "${VENBROOK_MINIZIP_DIR}")
  # No encryption: a workbook that needs a password is no list we can read.
  target_compile_definitions(venbrook_minizip PRIVATE NOCRYPT NOUNCRYPT)
  target_compile_options(venbrook_minizip PRIVATE -w -g0)   # as SQLite: not debugged here
  target_link_libraries(venbrook_minizip PUBLIC ZLIB::ZLIB)
  message(STATUS "minizip: ${_venbrook_minizip_found} from ${VENBROOK_MINIZIP_DIR}; zlib ${ZLIB_VERSION_STRING} ${ZLIB_LIBRARIES}")
  unset(_venbrook_minizip_line)
  unset(_venbrook_minizip_found)
  unset(_venbrook_minizip_version)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(VENBROOK_SYSTEM_MINIZIP REQUIRED IMPORTED_TARGET minizip)
  add_library(venbrook_minizip INTERFACE)
  target_link_libraries(venbrook_minizip INTERFACE PkgConfig::VENBROOK_SYSTEM_MINIZIP ZLIB::ZLIB)
  message(STATUS "minizip: system library; zlib ${ZLIB_VERSION_STRING}")
endif()
add_library(venbrook::minizip ALIAS venbrook_minizip)
