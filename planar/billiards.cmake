# The disc billiards: the shared simulation, the two flat programs, the
# textured one and the tool that writes its earth.bmp.
add_library(disc_billiard STATIC ${CMAKE_CURRENT_LIST_DIR}/disc_billiard.cpp)
target_include_directories(disc_billiard PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(disc_billiard PUBLIC program_kit)

add_library(flat_billiards STATIC ${CMAKE_CURRENT_LIST_DIR}/flat_billiards.cpp)
target_link_libraries(flat_billiards PUBLIC disc_billiard)

add_library(bitmap_file STATIC ${CMAKE_CURRENT_LIST_DIR}/bitmap_file.cpp)
target_include_directories(bitmap_file PUBLIC ${CMAKE_CURRENT_LIST_DIR})

add_library(gl_billiard STATIC ${CMAKE_CURRENT_LIST_DIR}/gl_billiard.cpp)
target_link_libraries(gl_billiard PUBLIC disc_billiard bitmap_file sphere_lists)

# The texture is ours: the build writes it beside the programs.
add_executable(earth_bitmap ${CMAKE_CURRENT_LIST_DIR}/earth_bitmap_tool.cpp)
target_link_libraries(earth_bitmap PRIVATE bitmap_file)
set(earth_bmp ${CMAKE_CURRENT_BINARY_DIR}/earth.bmp)
add_custom_command(OUTPUT ${earth_bmp} COMMAND earth_bitmap ${earth_bmp} DEPENDS earth_bitmap
  COMMENT "Writing earth.bmp")
add_custom_target(earth_bmp ALL DEPENDS ${earth_bmp})

set(billiard_x_libs)
if(TARGET tavrel_test_support)
  set(billiard_x_libs tavrel_test_support)
endif()
tavrel_add_program(disc_billiard_flat SOURCES ${CMAKE_CURRENT_LIST_DIR}/disc_billiard_flat_main.cpp
  LIBS flat_billiards TEST ${CMAKE_CURRENT_LIST_DIR}/disc_billiard_flat_xtest.cpp)
tavrel_add_program(rack_billiard SOURCES ${CMAKE_CURRENT_LIST_DIR}/rack_billiard_main.cpp
  LIBS flat_billiards TEST ${CMAKE_CURRENT_LIST_DIR}/rack_billiard_xtest.cpp)
tavrel_add_program(disc_billiard_gl SOURCES ${CMAKE_CURRENT_LIST_DIR}/disc_billiard_gl_main.cpp
  LIBS gl_billiard TEST ${CMAKE_CURRENT_LIST_DIR}/disc_billiard_gl_xtest.cpp
  TEST_LIBS bitmap_file)
add_dependencies(disc_billiard_gl earth_bmp)
if(TARGET disc_billiard_gl_xtest)
  target_compile_definitions(disc_billiard_gl_xtest PRIVATE EARTH_BMP_PATH="${earth_bmp}")
endif()

tavrel_add_tests(ONLY "^(disc_billiard|flat_billiards)_test$" flat_billiards)
tavrel_add_tests(ONLY "^(bitmap_file|bitmap_fuzz)_test$" bitmap_file program_kit)
tavrel_add_tests(ONLY "^gl_billiard_test$" gl_billiard tavrel_internal)  # the library's GL contexts

tavrel_bench_libs(disc_billiard_bench flat_billiards gl_billiard)
if(TARGET bitmap_file_test)
  add_dependencies(bitmap_file_test earth_bmp)
  target_compile_definitions(bitmap_file_test PRIVATE EARTH_BMP_PATH="${earth_bmp}")
endif()
