# Test helpers shared by every subsystem.
#
# kelvanor_add_gtest(<name> SOURCES ... [LIBS ...] [WINDOWS_ONLY])
#   A GoogleTest program. Natively each test case becomes a CTest test; under Wine the
#   whole program is one CTest test, since every Wine start costs more than the tests.
# kelvanor_add_fuzzer(<name> SOURCES ... [LIBS ...] [SECONDS n] [CORPUS dir] [SEEDS target])
#   A libFuzzer target, built in the fuzz preset only and run for a bounded time by CTest,
#   starting from the seeds in CORPUS and those a target writes at build time (its property
#   SEED_DIRECTORY); what it finds goes to the build tree, not there.

if(KELVANOR_TESTS AND NOT KELVANOR_FUZZ)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
endif()

function(kelvanor_add_gtest name)
  cmake_parse_arguments(T "WINDOWS_ONLY" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KELVANOR_TESTS OR KELVANOR_FUZZ)
    return()
  endif()
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    # The simulated terminal's control window stays shut unless a test opens it itself.
    set_tests_properties(${name} PROPERTIES TIMEOUT 120 ENVIRONMENT ZEMTRAK_SIM_WINDOW=0)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()

set(KELVANOR_FUZZ_MAX_SECONDS 8 CACHE STRING "The longest any one fuzzer runs under CTest, in seconds")

function(kelvanor_add_fuzzer name)
  cmake_parse_arguments(F "" "SECONDS;CORPUS;SEEDS" "SOURCES;LIBS" ${ARGN})
  if(NOT KELVANOR_FUZZ)
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  # The test command runs every fuzzer; a cap keeps that run short, a longer search sets it higher.
  if(F_SECONDS GREATER KELVANOR_FUZZ_MAX_SECONDS)
    set(F_SECONDS ${KELVANOR_FUZZ_MAX_SECONDS})
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set(corpus ${F_CORPUS})
  if(F_SEEDS)
    add_dependencies(${name} ${F_SEEDS})
    get_target_property(seeds ${F_SEEDS} SEED_DIRECTORY)
    list(APPEND corpus ${seeds})
  endif()
  if(corpus)
    # libFuzzer adds new inputs to the first directory it is given.
    list(PREPEND corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  endif()
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${F_SECONDS} -rss_limit_mb=2048 ${corpus})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

# A portable logic library: with the fuzz preset it is built with the fuzzer's
# instrumentation so coverage guides the search.
function(kelvanor_add_logic name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(KELVANOR_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  endif()
endfunction()
