# Helpers that turn folders into targets, so that new files need no CMake edits.

# Sources of one folder for this build: plain files everywhere, *_win32.cpp on
# Windows only, *_posix.cpp natively only.
function(blobsmith_sources out dir)
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(picked)
  foreach(f ${all})
    get_filename_component(name ${f} NAME_WE)
    if(name MATCHES "_win32(_test)?$")
      if(WIN32)
        list(APPEND picked ${f})
      endif()
    elseif(name MATCHES "_posix(_test)?$")
      if(NOT WIN32)
        list(APPEND picked ${f})
      endif()
    else()
      list(APPEND picked ${f})
    endif()
  endforeach()
  set(${out} ${picked} PARENT_SCOPE)
endfunction()

# blobsmith_subsystem(sub [floor...]): the library of src/<sub> over the
# libraries of the floors below it that it uses.
function(blobsmith_subsystem sub)
  blobsmith_sources(srcs ${CMAKE_SOURCE_DIR}/src/${sub})
  if(NOT srcs)
    # An empty folder still gives a target for the floors above it.
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(blobsmith_${sub} STATIC ${srcs})
  target_include_directories(blobsmith_${sub} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(blobsmith_${sub} PUBLIC Threads::Threads)
  foreach(below ${ARGN})
    target_link_libraries(blobsmith_${sub} PUBLIC blobsmith_${below})
  endforeach()
endfunction()

# One test executable per folder of tests/<kind>/<sub>; ctest runs each as one
# test (under Wine one process per executable keeps the run short).
function(blobsmith_test_folder kind dir)
  blobsmith_sources(srcs ${dir})
  if(NOT srcs)
    return()
  endif()
  get_filename_component(sub ${dir} NAME)
  set(target ${kind}_${sub}_tests)
  add_executable(${target} ${srcs})
  # The tests of a floor link its library (and so the floors below), nothing above.
  target_link_libraries(${target} PRIVATE blobsmith_${sub} blobsmith_gtest)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${dir})
  # Paths the tests find their data and sibling programs by; Wine sees the
  # Linux file system as drive Z:.
  set(data_dir ${CMAKE_SOURCE_DIR}/tests/data)
  set(bin_dir ${CMAKE_BINARY_DIR}/bin)
  set(links_dir ${CMAKE_BINARY_DIR}/test-links)
  if(WIN32)
    string(REPLACE "/" "\\\\" data_dir "Z:${data_dir}")
    string(REPLACE "/" "\\\\" bin_dir "Z:${bin_dir}")
    string(REPLACE "/" "\\\\" links_dir "Z:${links_dir}")
  endif()
  target_compile_definitions(${target} PRIVATE
    BLOBSMITH_TEST_DATA="${data_dir}" BLOBSMITH_BIN_DIR="${bin_dir}" BLOBSMITH_TEST_LINKS="${links_dir}")
  # Results as XML in one folder, where scripts/list-skipped.sh finds the
  # skipped tests (ctest counts a suite with skips as passed).
  set(results_dir ${CMAKE_BINARY_DIR}/test-results/)
  if(WIN32)
    set(results_dir "Z:${results_dir}")
  endif()
  # Through gtest-run.sh, which also fails a suite that ends before its
  # closing count; under Wine it calls the emulator itself.
  set(runner ${CMAKE_SOURCE_DIR}/scripts/gtest-run.sh)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(APPEND runner ${CMAKE_CROSSCOMPILING_EMULATOR})
  endif()
  add_test(NAME ${target} COMMAND ${runner} $<TARGET_FILE:${target}> --gtest_brief=1 --gtest_output=xml:${results_dir})
  # The suite's time limit (tests/CMakeLists.txt); under Wine, wine-run.sh
  # ends the program a little earlier, so that no Wine process outlives it.
  set(limit ${BLOBSMITH_TEST_TIMEOUT})
  if(DEFINED BLOBSMITH_TEST_TIMEOUT_${target})
    set(limit ${BLOBSMITH_TEST_TIMEOUT_${target}})
  endif()
  # A zone with summer time, so that dates a season away from today are
  # converted with their own offset, not with today's (the machines run UTC).
  set(environment "TZ=Europe/Berlin")
  if(WIN32)
    math(EXPR wine_limit "${limit} - 5")
    list(APPEND environment "BLOBSMITH_WINE_TIMEOUT=${wine_limit}")
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine_prefix)
  endif()
  set_tests_properties(${target} PROPERTIES TIMEOUT ${limit} LABELS "${kind}" ENVIRONMENT "${environment}")
endfunction()
