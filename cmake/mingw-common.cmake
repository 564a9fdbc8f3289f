# Shared part of toolchain-mingw64.cmake and toolchain-mingw32.cmake; those set
# VENBROOK_MINGW_TRIPLE first.
set(CMAKE_C_COMPILER   ${VENBROOK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VENBROOK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${VENBROOK_MINGW_TRIPLE}-windres)
set(CMAKE_AR           ${VENBROOK_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       ${VENBROOK_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${VENBROOK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: no libgcc, libstdc++ or winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

get_filename_component(_venbrook_wine_run "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_venbrook_wine_run}")
unset(_venbrook_wine_run)
