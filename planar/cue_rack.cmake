# cue_rack_events: the rack, the cue ball and one-sided walls stepped by events.
add_library(cue_rack STATIC cue_rack.cpp cue_rack_frame.cpp)
target_link_libraries(cue_rack PUBLIC planar_vector_angle)

tavrel_add_program(cue_rack_events SOURCES cue_rack_events_main.cpp LIBS cue_rack
  TEST cue_rack_events_xtest.cpp)
tavrel_add_tests(ONLY "^cue_rack_" cue_rack)

tavrel_bench_libs(cue_rack_bench cue_rack)
