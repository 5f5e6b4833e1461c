# terrain_balls_gl and terrain_balls_wire: balls on a height field.
add_library(scenes_terrain STATIC terrain_sim.cpp)
target_include_directories(scenes_terrain PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(scenes_terrain PUBLIC scenes_vec3 program_kit)

tavrel_add_tests(ONLY "^terrain_sim_" scenes_terrain)

add_library(scenes_terrain_frames STATIC terrain_wire_frame.cpp terrain_gl_frame.cpp)
target_link_libraries(scenes_terrain_frames PUBLIC scenes_terrain scenes_view3d sphere_lists)
tavrel_add_program(terrain_balls_wire SOURCES terrain_balls_wire_main.cpp
  LIBS scenes_terrain_frames TEST terrain_balls_wire_xtest.cpp)
tavrel_add_program(terrain_balls_gl SOURCES terrain_balls_gl_main.cpp
  LIBS scenes_terrain_frames TEST terrain_balls_gl_xtest.cpp)
tavrel_bench_libs(terrain_bench scenes_terrain_frames)
tavrel_add_tests(ONLY "^terrain_frames_" scenes_terrain_frames tavrel_internal)  # headless pages
