# venbrook::sqlite3 — the SQLite library the program links.
#   native build:  the system library (Debian's libsqlite3-dev)
#   Windows build: the 3.40.1 amalgamation, compiled in statically. It is made
#                  from Debian's sqlite3 source package by scripts/setup.sh and
#                  lives in .cache/ (never committed).

if(WIN32)
  set(VENBROOK_SQLITE_DIR "${CMAKE_SOURCE_DIR}/.cache/sqlite-amalgamation"
      CACHE PATH "Folder holding the SQLite amalgamation (sqlite3.c, sqlite3.h)")
  set(_venbrook_sqlite_version 3.40.1)

  if(NOT EXISTS "${VENBROOK_SQLITE_DIR}/sqlite3.c" OR NOT EXISTS "${VENBROOK_SQLITE_DIR}/sqlite3.h")
    message(FATAL_ERROR
      "The SQLite amalgamation is missing from ${VENBROOK_SQLITE_DIR}.\n"
      "Run scripts/setup.sh to prepare it.")
  endif()
  file(STRINGS "${VENBROOK_SQLITE_DIR}/sqlite3.h" _venbrook_sqlite_define
       REGEX "^#define SQLITE_VERSION[ \t]+\"")
  string(REGEX REPLACE ".*\"([0-9.]+)\".*" "\\1" _venbrook_sqlite_found "${_venbrook_sqlite_define}")
  if(NOT _venbrook_sqlite_found STREQUAL _venbrook_sqlite_version)
    message(FATAL_ERROR
      "${VENBROOK_SQLITE_DIR}/sqlite3.h is SQLite '${_venbrook_sqlite_found}', "
      "expected ${_venbrook_sqlite_version}. Remove that folder and run scripts/setup.sh.")
  endif()

  add_library(venbrook_sqlite3 STATIC "${VENBROOK_SQLITE_DIR}/sqlite3.c")
  target_include_directories(venbrook_sqlite3 SYSTEM PUBLIC "${VENBROOK_SQLITE_DIR}")
  target_compile_definitions(venbrook_sqlite3 PRIVATE
    SQLITE_THREADSAFE=1
    SQLITE_DQS=0
    SQLITE_DEFAULT_MEMSTATUS=0
    SQLITE_OMIT_LOAD_EXTENSION)
  target_compile_options(venbrook_sqlite3 PRIVATE -w -g0)   # no debug info: SQLite is not debugged here, and it builds faster
  message(STATUS "SQLite: amalgamation ${_venbrook_sqlite_found} from ${VENBROOK_SQLITE_DIR}")
else()
  find_package(SQLite3 REQUIRED)
  add_library(venbrook_sqlite3 INTERFACE)
  target_link_libraries(venbrook_sqlite3 INTERFACE SQLite::SQLite3)
  message(STATUS "SQLite: system library ${SQLite3_VERSION}")
endif()

add_library(venbrook::sqlite3 ALIAS venbrook_sqlite3)
unset(_venbrook_sqlite_define)
unset(_venbrook_sqlite_found)
unset(_venbrook_sqlite_version)
