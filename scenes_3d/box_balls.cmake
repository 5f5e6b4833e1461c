# The box-ball event simulation, its scenes and controls (headless), and the
# programs box_balls_gl and box_balls_wire drawn on them.
add_library(scenes_box_balls STATIC box_balls.cpp box_scenes.cpp box_balls_controls.cpp)
target_include_directories(scenes_box_balls PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(scenes_box_balls PUBLIC scenes_vec3 scenes_view3d program_kit)

add_library(box_balls_gl_frame STATIC box_balls_gl_frame.cpp)
target_link_libraries(box_balls_gl_frame PUBLIC scenes_box_balls sphere_lists)
add_library(box_balls_wire_frame STATIC box_balls_wire_frame.cpp)
target_link_libraries(box_balls_wire_frame PUBLIC scenes_box_balls scenes_view3d)

tavrel_add_program(box_balls_gl SOURCES box_balls_gl_main.cpp LIBS box_balls_gl_frame
  TEST box_balls_gl_xtest.cpp)
tavrel_add_program(box_balls_wire SOURCES box_balls_wire_main.cpp LIBS box_balls_wire_frame
  TEST box_balls_wire_xtest.cpp)
tavrel_add_tests(ONLY "^box_" box_balls_wire_frame box_balls_gl_frame)

tavrel_bench_libs(box_balls_bench box_balls_wire_frame box_balls_gl_frame)
