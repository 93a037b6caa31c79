# The browser build's own parts, included by the top-level CMakeLists.txt
# when building with Emscripten (scripts/build-web):
#   - C++ exceptions are WebAssembly exceptions (the runtime throws its
#     language's exceptions); levels keep the desktop's float arithmetic
#     (game/CMakeLists.txt);
#   - the third-party libraries come from scripts/web-deps: GoogleTest, stb,
#     and pkg-config files that name Emscripten's own GLFW and OpenAL;
#   - the data folder is the native asset generator's (TOLVAR_NATIVE_DATA),
#     preloaded into the page's file system at /data;
#   - target web_page fills TOLVAR_WEB_PAGE (build/web): index.html with
#     its page.js and page.css, skitterwind.js, skitterwind.wasm,
#     skitterwind.data and the icon;
#   - the suites that run under Node are listed (TOLVAR_WEB_TEST_DIRS,
#     TOLVAR_WEB_SKIPPED_TESTS); ctest runs them with Node.
include_guard(GLOBAL)

set(TOLVAR_WEB_DEPS "" CACHE PATH "Prefix of the browser build's third-party libraries (scripts/web-deps)")
set(TOLVAR_NATIVE_DATA "" CACHE PATH "The data folder made by the native build's asset generator")
set(TOLVAR_WEB_PAGE "" CACHE PATH "Folder the page is assembled in")
if(NOT EXISTS ${TOLVAR_NATIVE_DATA}/vexo_font.png)
  message(FATAL_ERROR "TOLVAR_NATIVE_DATA must name the native build's data folder (bin/data)")
endif()
if(NOT EXISTS ${TOLVAR_WEB_DEPS}/lib/libstb.a)
  message(FATAL_ERROR "TOLVAR_WEB_DEPS must name the prefix scripts/web-deps printed")
endif()

add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions -sALLOW_MEMORY_GROWTH=1)

# pkg-config and find_package look in the prefix (and Emscripten's sysroot).
set(ENV{PKG_CONFIG_LIBDIR} ${TOLVAR_WEB_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
list(APPEND CMAKE_FIND_ROOT_PATH ${TOLVAR_WEB_DEPS})
list(APPEND CMAKE_PREFIX_PATH ${TOLVAR_WEB_DEPS})

# OpenGL 1.x is Emscripten's emulation of the fixed-function interface
# over WebGL: client-side arrays, quads, matrices, blending, scissor and the
# alpha test all draw there.
add_library(OpenGL::GL INTERFACE IMPORTED)
set_target_properties(OpenGL::GL PROPERTIES INTERFACE_LINK_OPTIONS "-sLEGACY_GL_EMULATION=1;-lGL")

# Node runs the test programs. Its own fetch would try to fetch the .wasm
# file as a URL; without it Emscripten reads the file.
find_program(TOLVAR_NODE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVAR_NODE};--no-experimental-fetch)

# The data folder beside the programs, as the desktop's tests and tools
# expect it; the page preloads the native one itself.
add_custom_target(game_data)

# ---- Tests ---------------------------------------------------------------------
# The test folders built for the web, and the tests in them that need what
# Node does not have (a window, OpenGL, sound, sockets, processes), each
# with its reason (README.md, "Browser", lists them). Whole programs are
# left out (TOLVAR_WEB_SKIPPED_TESTS) or single cases, as "program/Suite.Case"
# (TOLVAR_WEB_SKIPPED_CASES, a GoogleTest filter). Target web_tests builds
# every test that runs, and the levels tool.
set(TOLVAR_WEB_TEST_DIRS
  runtime_core runtime_io input net game_support game_play game_menu game_end graphics)
# Folders left out: audio (sox and oggenc make its files, OpenAL plays
# them), host, game_shell, e2e, game_e2e, game_title_e2e, game_whole_e2e
# (a window, X input and POSIX processes), replays (the replay tool and the
# real host), assets (the native generator), package and windows (other
# targets), web (the page in a browser).
set(TOLVAR_WEB_SKIPPED_TESTS
  # a window and OpenGL through the host or the render device
  game_menu_title_test game_end_host_test game_end_stats_host_test game_autoplay_test
  graphics_device_test graphics_texture_retry_test
  # death tests (fork) and POSIX child processes, which Node's wasm has not
  runtime_gc_verify_test runtime_io_errors runtime_io_databuffer graphics_fatal_test
  # sockets to the tests' own peers: the browser build has no sockets
  net_socket net_connect_close net_thread net_async net_http net_http_stress net_http_peer
  game_end_stats_test
)
set(TOLVAR_WEB_SKIPPED_CASES
  # std::thread: the browser build runs on one thread
  runtime_gc_test/PermanentRepTest.EmptyStringsMayBeCopiedOnAnyThread
  runtime_gc_test/ExternalBytesTest.ConcurrentAdditionsAreExact
  # the program's own file (/proc/self/exe) and forked copies of it
  runtime_io_datapath/ApplicationFolder.IsTheFolderOfThisProgram
  runtime_io_datapath/ApplicationFolder.DataFilesOpenUnderAnyFolderName
  runtime_io_datapath/OpenFile.EmptyMappedPathOrBadNameFailsToOpen
  # forked children, an unprivileged user and a killed process
  runtime_io_files/InWorkFolder.SaveIntoAnUnwritableFolderFailsAndKeepsTheOldFile
  runtime_io_files/InWorkFolder.ReadOnlyFolderWithAWritableStateFileRewritesItInPlace
  runtime_io_files/InWorkFolder.ReadOnlyStateFileIsLeftAlone
  runtime_io_files/InWorkFolder.ShortWriteFailsAndKeepsTheOldFile
  runtime_io_files/InWorkFolder.StateFileSurvivesAKillDuringSaves
  runtime_io_files/InWorkFolder.TemporariesOfEndedProcessesAreRemoved
)
# The tests run on Emscripten's in-memory file system (/tmp included): with
# Node's real one (-sNODERAWFS) GoogleTest cannot capture standard output.
# A test that reads files from the source tree embeds them at their own
# paths (tests/graphics).
add_custom_target(web_tests)

# ---- The page ------------------------------------------------------------------
# Added once the program exists (game/CMakeLists.txt defines it).
function(tolvar_web_page)
  set(page ${TOLVAR_WEB_PAGE})
  set(src ${PROJECT_SOURCE_DIR}/web)
  target_link_options(skitterwind PRIVATE
    -lidbfs.js -sFORCE_FILESYSTEM=1
    --preload-file ${TOLVAR_NATIVE_DATA}@/data
    --pre-js ${src}/pre.js
    -sEXPORTED_RUNTIME_METHODS=FS,ccall)
  set_property(TARGET skitterwind APPEND PROPERTY LINK_DEPENDS ${src}/pre.js ${TOLVAR_NATIVE_DATA}/vexo_font.png)
  add_custom_command(
    OUTPUT ${page}/index.html
    COMMAND ${CMAKE_COMMAND} -E make_directory ${page}
    COMMAND ${CMAKE_COMMAND} -E copy ${src}/index.html ${src}/page.js ${src}/page.css
            $<TARGET_FILE_DIR:skitterwind>/skitterwind.js $<TARGET_FILE_DIR:skitterwind>/skitterwind.wasm
            $<TARGET_FILE_DIR:skitterwind>/skitterwind.data ${page}/
    COMMAND ${CMAKE_COMMAND} -E copy ${TOLVAR_NATIVE_DATA}/skitterwind-icon-64.png ${page}/icon.png
    DEPENDS skitterwind ${src}/index.html ${src}/page.js ${src}/page.css
    COMMENT "Assembling the page in ${page}"
    VERBATIM)
  add_custom_target(web_page ALL DEPENDS ${page}/index.html)
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL tolvar_web_page)
