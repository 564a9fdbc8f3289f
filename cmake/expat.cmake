# venbrook::expat — the XML parser of a workbook's parts.
#   native build:  the system library (Debian's libexpat1-dev)
#   Windows build: expat 2.5.0 compiled in from Debian's expat source package,
#                  put in .cache/expat-2.5.0 by scripts/setup.sh (never
#                  committed). Built without DTD support (no XML_DTD): no
#                  parameter entities and no external entities exist in it at
#                  all; the reader refuses any document type declaration in
#                  both builds (sources/workbook/xml_parts.cpp).

if(WIN32)
  set(VENBROOK_EXPAT_DIR "${CMAKE_SOURCE_DIR}/.cache/expat-2.5.0/expat/lib"
      CACHE PATH "Folder holding expat's library sources (xmlparse.c, expat.h)")
  set(_venbrook_expat_version 2.5.0)
  if(NOT EXISTS "${VENBROOK_EXPAT_DIR}/xmlparse.c" OR NOT EXISTS "${VENBROOK_EXPAT_DIR}/expat.h")
    message(FATAL_ERROR
      "expat's sources are missing from ${VENBROOK_EXPAT_DIR}.\n"
      "Run scripts/setup.sh to prepare them.")
  endif()
  file(STRINGS "${VENBROOK_EXPAT_DIR}/expat.h" _venbrook_expat_defines REGEX "^#define XML_(MAJOR|MINOR|MICRO)_VERSION ")
  string(REGEX REPLACE "[^;]*VERSION ([0-9]+)" "\\1" _venbrook_expat_found "${_venbrook_expat_defines}")
  string(REPLACE ";" "." _venbrook_expat_found "${_venbrook_expat_found}")
  if(NOT _venbrook_expat_found STREQUAL _venbrook_expat_version)
    message(FATAL_ERROR
      "${VENBROOK_EXPAT_DIR}/expat.h is expat '${_venbrook_expat_found}', "
      "expected ${_venbrook_expat_version}. Remove that folder and run scripts/setup.sh.")
  endif()

  # What expat's own configure step would write for Windows, with DTD support
  # left out.
  set(_venbrook_expat_config "${CMAKE_BINARY_DIR}/_deps/expat/expat_config.h")
  file(WRITE "${_venbrook_expat_config}.in"
    "/* Made by cmake/expat.cmake */\n"
    "#define BYTEORDER 1234\n"
    "#define XML_CONTEXT_BYTES 1024\n")
  configure_file("${_venbrook_expat_config}.in" "${_venbrook_expat_config}" COPYONLY)

  add_library(venbrook_expat STATIC
    "${VENBROOK_EXPAT_DIR}/xmlparse.c" "${VENBROOK_EXPAT_DIR}/xmlrole.c" "${VENBROOK_EXPAT_DIR}/xmltok.c")
  target_include_directories(venbrook_expat PRIVATE "${CMAKE_BINARY_DIR}/_deps/expat")
  target_include_directories(venbrook_expat SYSTEM PUBLIC "${VENBROOK_EXPAT_DIR}")
  target_compile_definitions(venbrook_expat PUBLIC XML_STATIC)
  target_compile_options(venbrook_expat PRIVATE -w -g0)   # as SQLite: not debugged here
  message(STATUS "expat: ${_venbrook_expat_found} from ${VENBROOK_EXPAT_DIR}")
  unset(_venbrook_expat_config)
  unset(_venbrook_expat_defines)
  unset(_venbrook_expat_found)
  unset(_venbrook_expat_version)
else()
  find_package(EXPAT REQUIRED)
  add_library(venbrook_expat INTERFACE)
  target_link_libraries(venbrook_expat INTERFACE EXPAT::EXPAT)
  message(STATUS "expat: system library ${EXPAT_VERSION_STRING}")
endif()
add_library(venbrook::expat ALIAS venbrook_expat)
