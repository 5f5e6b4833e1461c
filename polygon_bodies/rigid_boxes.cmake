# The rigid-box engine and its two programs: box_scenarios (fixed floors and
# ramps, five scenarios) and polygon_drag (101 random polygons).
add_library(rigid_engine STATIC ${CMAKE_CURRENT_LIST_DIR}/rigid_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rigid_outline.cpp ${CMAKE_CURRENT_LIST_DIR}/rigid_scenarios.cpp)
target_include_directories(rigid_engine PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(rigid_engine PUBLIC program_kit)

# Each program's state is its own (both have a SelectedBody and a FramePage).
add_library(rigid_scenes STATIC ${CMAKE_CURRENT_LIST_DIR}/rigid_scenes.cpp)
target_link_libraries(rigid_scenes PUBLIC rigid_engine)
add_library(rigid_crowd STATIC ${CMAKE_CURRENT_LIST_DIR}/rigid_crowd.cpp)
target_link_libraries(rigid_crowd PUBLIC rigid_engine)

tavrel_add_program(box_scenarios SOURCES ${CMAKE_CURRENT_LIST_DIR}/box_scenarios_main.cpp
  LIBS rigid_scenes TEST ${CMAKE_CURRENT_LIST_DIR}/rigid_box_scenarios_xtest.cpp)
tavrel_add_program(polygon_drag SOURCES ${CMAKE_CURRENT_LIST_DIR}/polygon_drag_main.cpp
  LIBS rigid_crowd TEST ${CMAKE_CURRENT_LIST_DIR}/rigid_polygon_drag_xtest.cpp)

tavrel_add_tests(ONLY "^rigid_engine_" rigid_engine)
tavrel_add_tests(ONLY "^rigid_scenes_" rigid_scenes)
tavrel_add_tests(ONLY "^rigid_crowd_" rigid_crowd)

tavrel_bench_libs(rigid_step_bench rigid_engine)
tavrel_bench_libs(rigid_scenes_frame_bench rigid_scenes)
tavrel_bench_libs(rigid_crowd_frame_bench rigid_crowd)
