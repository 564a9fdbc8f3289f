# The release build (presets windows-release and windows-x86-release, made
# into zips by scripts/package.sh). With VENBROOK_RELEASE on:
#   - the output does not depend on where the source and build folders lie
#     (-ffile-prefix-map: no absolute path reaches __FILE__ or the debug
#     information), nor on when it was built (the PE time stamp is 0);
#   - venbrook_release_program() strips the program after linking and keeps
#     its debug information in <package name>.debug in the same folder,
#     named by a .gnu_debuglink section in the program (gdb finds it there).
# Two builds of the same sources in two folders give the same bytes
# (scripts/check_reproducible.sh proves it in the test run).
option(VENBROOK_RELEASE "Build the release: reproducible, program stripped, debug information beside it" OFF)

if(VENBROOK_RELEASE)
  # .cache may be a link to a cache several work trees share: the compiler
  # sees the libraries' sources at its real path, which is mapped as well.
  get_filename_component(_venbrook_cache "${CMAKE_SOURCE_DIR}/.cache" REALPATH)
  if(NOT _venbrook_cache STREQUAL "${CMAKE_SOURCE_DIR}/.cache")
    add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${_venbrook_cache}=./.cache>")
  endif()
  unset(_venbrook_cache)
  # The build folder last: GCC tries the maps from the last one given, and the
  # build folder usually lies inside the source folder.
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=./build>")
  if(WIN32)
    # Time stamp 0 in the PE header instead of the time of linking.
    add_link_options(LINKER:--no-insert-timestamp)
  endif()
endif()

# The package's name, as scripts/package.sh names the zip and the debug file:
# Venbrook-<version>-win64 or Venbrook-<version>-win32.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VENBROOK_PACKAGE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-win64")
else()
  set(VENBROOK_PACKAGE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}-win32")
endif()

# venbrook_release_program(<target>): in the release build, the program is
# stripped right after it is linked, so the file the build leaves is the file
# that ships; its debug information goes to <package name>.debug beside it
# (the target must not set its own RUNTIME_OUTPUT_DIRECTORY).
# objcopy writes the time into the PE header it rewrites unless
# SOURCE_DATE_EPOCH is set: set to 0, it keeps the linker's 0.
# Writes <build>/venbrook-package.txt, what scripts/package.sh reads.
function(venbrook_release_program target)
  if(NOT VENBROOK_RELEASE)
    return()
  endif()
  if(NOT CMAKE_OBJCOPY)
    message(FATAL_ERROR "venbrook_release_program: no objcopy found (CMAKE_OBJCOPY)")
  endif()
  # --add-gnu-debuglink records the file's name (not its folder) and checksum.
  set(debug_file "${CMAKE_CURRENT_BINARY_DIR}/${VENBROOK_PACKAGE_NAME}.debug")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
            ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${debug_file}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
            ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${debug_file} $<TARGET_FILE:${target}>
    BYPRODUCTS ${debug_file}
    COMMENT "Stripping ${target}; its debug information goes to ${VENBROOK_PACKAGE_NAME}.debug"
    VERBATIM)
  file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/venbrook-package.txt" CONTENT
"name=${VENBROOK_PACKAGE_NAME}
version=${PROJECT_VERSION}
program=$<TARGET_FILE:${target}>
debug=${debug_file}
")
endfunction()
