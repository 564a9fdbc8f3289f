# Cross build for 32-bit Windows with Debian's MinGW-w64 (posix threads).
# Its programs run under Debian's 32-bit Wine (wine32:i386), which
# scripts/setup.sh installs beside the 64-bit one; scripts/wine-run.sh refuses
# them on a machine without it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VENBROOK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
