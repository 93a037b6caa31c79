# The Windows build's own parts, included by the top-level CMakeLists.txt
# when cross-compiling with cmake/mingw-w64.cmake:
#   - every program is linked statically (GLFW, libstdc++, libgcc,
#     winpthreads): the only DLL beside the program is OpenAL Soft's;
#   - the data folder is a copy of the one the native asset generator made
#     (TOLVAR_NATIVE_DATA), since the generator is a build tool, not part of
#     the game;
#   - OpenAL32.dll is copied beside the programs, so that the game and the
#     tests start from the build folder as they do from the zip;
#   - target windows_zip packs Skitterwind-win64.zip: the folder Skitterwind/
#     with skitterwind.exe, OpenAL32.dll, data/, README.txt and licenses/.
#   - the test suites that cannot run on Windows are left out, each with its
#     reason (TOLVAR_WINDOWS_TEST_DIRS, TOLVAR_WINDOWS_SKIPPED_TESTS).
include_guard(GLOBAL)

set(TOLVAR_WINDOWS_DEPS "" CACHE PATH "Prefix of the Windows third-party libraries (scripts/windows-deps)")
set(TOLVAR_NATIVE_DATA "" CACHE PATH "The data folder made by the native build's asset generator")
if(NOT EXISTS ${TOLVAR_NATIVE_DATA}/vexo_font.png)
  message(FATAL_ERROR "TOLVAR_NATIVE_DATA must name the native build's data folder (bin/data)")
endif()

add_link_options(-static)
# windows.h without its min/max macros and without the old winsock.h, which
# would clash with winsock2.h (net/socket_types_windows.h).
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN)
# M_PI and its kin from <cmath>, as glibc gives them.
add_compile_definitions(_USE_MATH_DEFINES)
# MinGW's GCC inlines the exit-time destructor of the empty arrays' shared
# representation and then warns about elements it cannot see are none
# (length 0): a false positive that GCC on Linux does not report.
add_compile_options(-Wno-array-bounds)
# OpenGL constants past version 1.1 (see the header there).
include_directories(BEFORE SYSTEM ${CMAKE_CURRENT_LIST_DIR}/windows/include)

# The game is a windowed (GUI-subsystem) program, stripped for the zip.
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL target_link_options skitterwind PRIVATE -mwindows -s)

# ---- Data and the OpenAL DLL beside the programs ------------------------------
find_file(TOLVAR_OPENAL_DLL OpenAL32.dll PATHS ${TOLVAR_WINDOWS_DEPS}/bin NO_DEFAULT_PATH REQUIRED)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/data.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${TOLVAR_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TOLVAR_NATIVE_DATA} ${TOLVAR_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${TOLVAR_OPENAL_DLL} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/data.stamp
  DEPENDS ${TOLVAR_NATIVE_DATA}/vexo_font.png ${TOLVAR_OPENAL_DLL}
  COMMENT "Copying the native build's game data and OpenAL32.dll"
  VERBATIM)
add_custom_target(game_data ALL DEPENDS ${CMAKE_BINARY_DIR}/data.stamp)

# ---- Tests ---------------------------------------------------------------------
# The test folders built for Windows, and the tests in them that cannot run
# there, each with its reason (README.md, "Windows", lists them). Target
# windows_tests builds every test that runs.
set(TOLVAR_WINDOWS_TEST_DIRS
  runtime_core runtime_io input net game_support game_play game_menu game_shell game_end graphics audio
  windows)
# Folders left out: host, e2e, game_e2e, game_title_e2e, game_whole_e2e
# (driven through Xlib and POSIX processes), assets (the native generator).
set(TOLVAR_WINDOWS_SKIPPED_TESTS
  # fork() and POSIX processes, signals and file modes drive these tests
  runtime_io_errors runtime_io_files runtime_io_datapath runtime_gc_verify_test
  net_connect_close net_http_peer graphics_fatal_test
  # POSIX temporary folders, environment and file times in their helpers
  audio_files audio_device audio_sources audio_mix audio_no_device audio_exit
  # POSIX sockets in the tests' own peers and probes
  net_socket net_thread net_async net_http net_http_stress game_end_stats_test
  game_end_stats_host_test
  # they use the developer tools, which are built for Linux only
  game_levels_tool_test game_levels_json_parses game_autoplay_test
)
add_custom_target(windows_tests)

# ---- The zip -------------------------------------------------------------------
set(TOLVAR_ZIP_STAGE ${CMAKE_BINARY_DIR}/zip-stage)
set(TOLVAR_ZIP ${CMAKE_BINARY_DIR}/Skitterwind-win64.zip)
add_custom_command(
  OUTPUT ${TOLVAR_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${TOLVAR_ZIP_STAGE} ${TOLVAR_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TOLVAR_ZIP_STAGE}/Skitterwind
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:skitterwind> ${TOLVAR_OPENAL_DLL}
          ${PROJECT_SOURCE_DIR}/dist/windows/README.txt ${TOLVAR_ZIP_STAGE}/Skitterwind/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TOLVAR_DATA_DIR} ${TOLVAR_ZIP_STAGE}/Skitterwind/data
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TOLVAR_WINDOWS_DEPS}/licenses ${TOLVAR_ZIP_STAGE}/Skitterwind/licenses
  COMMAND ${CMAKE_COMMAND} -E chdir ${TOLVAR_ZIP_STAGE} ${CMAKE_COMMAND} -E tar cf ${TOLVAR_ZIP} --format=zip Skitterwind
  DEPENDS skitterwind game_data ${PROJECT_SOURCE_DIR}/dist/windows/README.txt
  COMMENT "Packing ${TOLVAR_ZIP}"
  VERBATIM)
add_custom_target(windows_zip DEPENDS ${TOLVAR_ZIP})
