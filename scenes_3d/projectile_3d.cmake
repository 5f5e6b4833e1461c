# projectile_3d: a ball thrown inside a wire cube.
add_library(scenes_throw3d STATIC throw_3d.cpp)
target_include_directories(scenes_throw3d PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(scenes_throw3d PUBLIC scenes_vec3 program_kit)
add_library(scenes_throw3d_frame STATIC projectile_3d_frame.cpp)
target_link_libraries(scenes_throw3d_frame PUBLIC scenes_throw3d scenes_view3d)
tavrel_add_program(projectile_3d SOURCES projectile_3d_main.cpp
  LIBS scenes_throw3d_frame TEST projectile_3d_xtest.cpp)
tavrel_add_tests(ONLY "^throw_3d_" scenes_throw3d_frame)
tavrel_bench_libs(terrain_bench scenes_throw3d_frame)
