# Tests live beside what they test: NAME_test.cpp runs headless, NAME_xtest.cpp
# runs against a private Xvfb server started for it by tools/with_xvfb.sh.
# Each file is its own executable, so X tests can run in parallel, each with
# a server of its own.
set(TAVREL_WITH_XVFB ${CMAKE_SOURCE_DIR}/tools/with_xvfb.sh)
# A window test that finds no OpenGL skips with this reason; ctest then
# shows it as skipped rather than passed, so a run without OpenGL is seen.
set(TAVREL_NO_GL_SKIP "no OpenGL here")

# tavrel_add_tests([ONLY <regex>] [EXCEPT <regex>] <libs>...): ONLY and EXCEPT
# pick tests by name, for folders whose tests need different libraries (two
# definitions of one routine cannot share an executable).
function(tavrel_add_tests)
  if(NOT GTest_FOUND)
    return()
  endif()
  cmake_parse_arguments(PICK "" "ONLY;EXCEPT" "" ${ARGN})
  file(GLOB unit_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB x_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_xtest.cpp)
  foreach(src IN LISTS unit_tests x_tests)
    get_filename_component(name ${src} NAME_WE)
    if(PICK_ONLY AND NOT name MATCHES "${PICK_ONLY}")
      continue()
    endif()
    if(PICK_EXCEPT AND name MATCHES "${PICK_EXCEPT}")
      continue()
    endif()
    if(TARGET ${name})  # a program's end-to-end test, declared with the program
      continue()
    endif()
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${PICK_UNPARSED_ARGUMENTS} GTest::gtest GTest::gtest_main)
    # test_support/long_runs.h: long runs do a tenth of their steps under the
    # sanitizers.
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/graph_window)
    target_compile_definitions(${name} PRIVATE TAVREL_SHORTENED_RUNS=$<BOOL:${TAVREL_SANITIZE}>)
    if(src MATCHES "_xtest\\.cpp$")
      add_test(NAME ${name} COMMAND ${TAVREL_WITH_XVFB} $<TARGET_FILE:${name}>)
      set_tests_properties(${name} PROPERTIES LABELS x11 TIMEOUT 300
        SKIP_REGULAR_EXPRESSION "${TAVREL_NO_GL_SKIP}")
    else()
      add_test(NAME ${name} COMMAND ${name})
      set_tests_properties(${name} PROPERTIES TIMEOUT 300)
      # The long runs start first: a fresh build has no timings to order by,
      # and one of them started last would hold up the whole run.
      file(STRINGS ${src} long_runs REGEX "LongRun\\(" LIMIT_COUNT 1)
      if(long_runs)
        set_tests_properties(${name} PROPERTIES COST 1000)
      endif()
    endif()
  endforeach()
endfunction()
