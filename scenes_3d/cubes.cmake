# Thirty rigid cubes in a box: the simulation (headless) and cubes_gl.
add_library(scenes_cubes STATIC ${CMAKE_CURRENT_LIST_DIR}/cube_sim.cpp)
target_link_libraries(scenes_cubes PUBLIC scenes_vec3 program_kit)

# The program's logic and drawing, apart from main so that tests and
# benchmarks run its frame.
add_library(cubes_gl_logic STATIC ${CMAKE_CURRENT_LIST_DIR}/cube_program.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cube_drawing.cpp)
target_link_libraries(cubes_gl_logic PUBLIC scenes_cubes program_kit tavrel_gl)

tavrel_add_program(cubes_gl SOURCES ${CMAKE_CURRENT_LIST_DIR}/cubes_gl_main.cpp
  LIBS cubes_gl_logic TEST ${CMAKE_CURRENT_LIST_DIR}/cubes_gl_xtest.cpp)
tavrel_add_tests(ONLY "^cube_sim" scenes_cubes)
tavrel_add_tests(ONLY "^cube_(program|run)" cubes_gl_logic)

tavrel_bench_libs(cube_sim_bench cubes_gl_logic)
tavrel_bench_libs(cubes_frame_bench cubes_gl_logic)
