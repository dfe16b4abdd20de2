# Precompiled common headers cut the build's CPU time roughly in half; switch off with -DLUMENO_PCH=OFF.
option(LUMENO_PCH "Precompile the common Qt and standard headers per target" ON)
function(lumeno_precompile target)
  if(LUMENO_PCH)
    target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/Precompiled.h)
  endif()
endfunction()

# lumeno_add_library(<area> SOURCES ... DEPS ...): one static library per area, named lumeno_<area>.
function(lumeno_add_library area)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(lumeno_${area} STATIC ${ARG_SOURCES})
  target_include_directories(lumeno_${area} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(lumeno_${area} PUBLIC ${ARG_DEPS})
  lumeno_precompile(lumeno_${area})
endfunction()

# lumeno_add_test(<area> SOURCES ... DEPS ...): one GoogleTest executable per area, run offscreen by CTest.
function(lumeno_add_test area)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  set(target lumeno_${area}_tests)
  add_executable(${target} ${ARG_SOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} lumeno_testsupport GTest::gtest GTest::gmock Qt6::Test)
  target_compile_definitions(${target} PRIVATE LUMENO_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  lumeno_precompile(${target})
  add_test(NAME ${area} COMMAND ${target})
  set_tests_properties(${area} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LUMENO_RUNNING_TESTS=1"
    LABELS unit
    TIMEOUT 600)
  # Built on their own, without the desktop suites, by the target lumeno_unit_tests.
  set_property(GLOBAL APPEND PROPERTY LUMENO_UNIT_TESTS ${target})
endfunction()

# lumeno_add_benchmark(<name> SOURCES ... DEPS ...)
function(lumeno_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(bench_${name} ${ARG_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
endfunction()
