# Helpers that give every test, benchmark and fuzz target the same shape.

include_guard(GLOBAL)

# The platform whose files each subsystem builds: its platform functions are
# listed in one header and defined in one file per platform, selected here:
#   TOLVAR_PLATFORM  posix | windows | web   where all three differ
#                    (<name>_${TOLVAR_PLATFORM}.cpp)
#   TOLVAR_OS        posix | windows         the C library and system calls;
#                    the browser build's (Emscripten's) are POSIX
#   TOLVAR_HOST      desktop | web           who owns the window and the
#                    frame loop: the program, or the browser's page
if(EMSCRIPTEN)
  set(TOLVAR_PLATFORM web)
  set(TOLVAR_OS posix)
  set(TOLVAR_HOST web)
elseif(WIN32)
  set(TOLVAR_PLATFORM windows)
  set(TOLVAR_OS windows)
  set(TOLVAR_HOST desktop)
else()
  set(TOLVAR_PLATFORM posix)
  set(TOLVAR_OS posix)
  set(TOLVAR_HOST desktop)
endif()

# tolvar_add_subdirectories(): add every direct sub-folder holding a
# CMakeLists.txt, so each subsystem owns its own test/bench folder.
function(tolvar_add_subdirectories)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# tolvar_test(name LABELS l... SOURCES s... LIBS l... [DISPLAY] [SERIAL]
#             [ENV k=v...] [TIMEOUT s])
# One GoogleTest executable = one ctest entry. DISPLAY marks tests that need
# an X server (the test command provides one); SERIAL ones never overlap
# another SERIAL test, for tests that depend on window focus.
function(tolvar_test name)
  cmake_parse_arguments(T "DISPLAY;SERIAL" "TIMEOUT" "LABELS;SOURCES;LIBS;ENV" ${ARGN})
  if(WIN32 AND name IN_LIST TOLVAR_WINDOWS_SKIPPED_TESTS)
    return()
  endif()
  if(EMSCRIPTEN AND name IN_LIST TOLVAR_WEB_SKIPPED_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  if(WIN32)
    add_dependencies(windows_tests ${name})
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set(args)
  if(EMSCRIPTEN)
    add_dependencies(web_tests ${name})
    # The cases Node cannot run, as a negative GoogleTest filter.
    set(skipped ${TOLVAR_WEB_SKIPPED_CASES})
    list(FILTER skipped INCLUDE REGEX "^${name}/")
    list(TRANSFORM skipped REPLACE "^${name}/" "")
    if(skipped)
      list(JOIN skipped ":" skipped)
      set(args --gtest_filter=-${skipped})
    endif()
  endif()
  add_test(NAME ${name} COMMAND ${name} ${args})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT ${T_TIMEOUT}
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK x11_focus)
  endif()
endfunction()

# tolvar_bench(name SOURCES s... LIBS l...): a Google Benchmark program,
# never part of ctest.
function(tolvar_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# tolvar_fuzz(name LABELS l SOURCES s... LIBS l...): an LLVMFuzzerTestOneInput
# target. Normally linked with the replay driver and registered in ctest to
# replay fuzz/corpus/<name>/; with TOLVAR_LIBFUZZER it is a real fuzzer.
function(tolvar_fuzz name)
  cmake_parse_arguments(F "" "" "LABELS;SOURCES;LIBS" ${ARGN})
  set(target fuzz_${name})
  set(corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
  if(TOLVAR_LIBFUZZER)
    add_executable(${target} ${F_SOURCES})
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${target} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/driver/replay_main.cpp)
    add_test(NAME ${target} COMMAND ${target} ${corpus})
    set_tests_properties(${target} PROPERTIES LABELS "${F_LABELS};fuzz" TIMEOUT 300)
  endif()
  target_link_libraries(${target} PRIVATE ${F_LIBS})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()

# tolvar_program_test(name PROGRAM target SOURCES s... [TIMEOUT s] [ENV k=v...]):
# an end-to-end test (label e2e) of a real program in a real window on the
# test's own X server, driven by real X input through the host tests'
# helpers. PROBE_APP names the program; sound goes to OpenAL's null output.
function(tolvar_program_test name)
  cmake_parse_arguments(P "" "PROGRAM;TIMEOUT" "SOURCES;ENV" ${ARGN})
  if(NOT P_TIMEOUT)
    set(P_TIMEOUT 180)
  endif()
  tolvar_test(${name} LABELS e2e DISPLAY SERIAL TIMEOUT ${P_TIMEOUT}
    SOURCES ${P_SOURCES} ${PROJECT_SOURCE_DIR}/tests/host/private_display.cpp
    LIBS host_test_support
    ENV "PROBE_APP=$<TARGET_FILE:${P_PROGRAM}>" ALSOFT_DRIVERS=null ${P_ENV})
  add_dependencies(${name} ${P_PROGRAM} game_data)
endfunction()
