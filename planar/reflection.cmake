# The angle routine the mirror programs and the rack share, and the two
# mirror programs: dots_and_segments and peg_particles.
add_library(planar_vector_angle STATIC vector_angle.cpp)
target_include_directories(planar_vector_angle PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(planar_vector_angle PUBLIC program_kit)

add_library(dots_segments STATIC dots_segments.cpp dots_segments_frame.cpp)
target_link_libraries(dots_segments PUBLIC planar_vector_angle)
add_library(peg_field STATIC peg_field.cpp peg_particles_frame.cpp)
target_link_libraries(peg_field PUBLIC planar_vector_angle)

tavrel_add_program(dots_and_segments SOURCES dots_and_segments_main.cpp LIBS dots_segments
  TEST dots_and_segments_xtest.cpp)
tavrel_add_program(peg_particles SOURCES peg_particles_main.cpp LIBS peg_field
  TEST peg_particles_xtest.cpp)

tavrel_add_tests(ONLY "^vector_angle_" planar_vector_angle)
tavrel_add_tests(ONLY "^dots_segments_" dots_segments)
tavrel_add_tests(ONLY "^peg_field_" peg_field)

tavrel_bench_libs(dots_segments_bench dots_segments)
tavrel_bench_libs(peg_particles_bench peg_field)
