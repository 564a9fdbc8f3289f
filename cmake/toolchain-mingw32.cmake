# Cross build for 32-bit Windows with Debian's MinGW-w64 (posix threads).
# Running its programs needs a 32-bit Wine (wine32:i386), which the project
# machines do not have: scripts/wine-run.sh refuses 32-bit programs there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VENBROOK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
