# tavrel_add_program(<name> SOURCES <files>... [LIBS <libs>...] [TEST <file>]
#                    [TEST_LIBS <libs>...])
# Declares a program: its executable, linked with the program kit and LIBS,
# and, given TEST, its end-to-end test <name>_xtest run against a private
# Xvfb. The test knows the executable as PROGRAM_PATH and links the program
# test helper (graph_window/test_support/program_test.h) and TEST_LIBS.
# Declare programs before tavrel_add_tests, which then leaves their test
# files to this.
#
# The target `programs` builds every program and what they read at run time,
# without the tests and benchmarks, so a first start need not wait for those.
add_custom_target(programs)
function(tavrel_add_program name)
  cmake_parse_arguments(P "" "TEST" "SOURCES;LIBS;TEST_LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_link_libraries(${name} PRIVATE program_kit ${P_LIBS})
  add_dependencies(programs ${name})
  if(P_TEST AND GTest_FOUND AND TARGET tavrel_test_support)
    get_filename_component(test ${P_TEST} NAME_WE)
    add_executable(${test} ${P_TEST})
    target_link_libraries(${test} PRIVATE tavrel_test_support ${P_TEST_LIBS}
      GTest::gtest GTest::gtest_main)
    target_compile_definitions(${test} PRIVATE PROGRAM_PATH="$<TARGET_FILE:${name}>")
    add_dependencies(${test} ${name})
    add_test(NAME ${test} COMMAND ${TAVREL_WITH_XVFB} $<TARGET_FILE:${test}>)
    set_tests_properties(${test} PROPERTIES LABELS x11 TIMEOUT 300
      SKIP_REGULAR_EXPRESSION "${TAVREL_NO_GL_SKIP}")
  endif()
endfunction()

# tavrel_bench_libs(<bench name> <libs>...): what bench/<bench name>.cpp links
# besides the library.
function(tavrel_bench_libs bench)
  set_property(GLOBAL APPEND PROPERTY TAVREL_BENCH_LIBS_${bench} ${ARGN})
endfunction()
