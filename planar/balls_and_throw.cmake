# two_ball_collision and particle_gas (balls meeting at their time of
# impact), ball_heap and projectile_2d.
add_library(planar_mass_balls STATIC mass_balls.cpp ball_heap_sim.cpp throw_2d.cpp)
target_include_directories(planar_mass_balls PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(planar_mass_balls PUBLIC program_kit)

add_library(planar_mass_ball_frames STATIC mass_ball_frames.cpp ball_heap_frame.cpp
  projectile_2d_frame.cpp)
target_link_libraries(planar_mass_ball_frames PUBLIC planar_mass_balls)

tavrel_add_program(two_ball_collision SOURCES two_ball_collision_main.cpp
  LIBS planar_mass_ball_frames TEST two_ball_collision_xtest.cpp)
tavrel_add_program(particle_gas SOURCES particle_gas_main.cpp
  LIBS planar_mass_ball_frames TEST particle_gas_xtest.cpp)
tavrel_add_program(ball_heap SOURCES ball_heap_main.cpp
  LIBS planar_mass_ball_frames TEST ball_heap_xtest.cpp)
tavrel_add_program(projectile_2d SOURCES projectile_2d_main.cpp
  LIBS planar_mass_ball_frames TEST projectile_2d_xtest.cpp)

tavrel_add_tests(ONLY "^(mass_balls|ball_heap_sim|throw_2d)_test$" planar_mass_balls)
tavrel_bench_libs(planar_balls_bench planar_mass_balls)
tavrel_bench_libs(planar_balls_frame_bench planar_mass_ball_frames)
