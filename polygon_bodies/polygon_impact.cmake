# polygon_impact: jittered convex polygons with vertex contacts in a box.
# poly_sim is the headless simulation with its key and mouse handling;
# poly_frame adds the drawing, the frame loop and the program body.
add_library(poly_sim STATIC
  ${CMAKE_CURRENT_LIST_DIR}/poly_bodies.cpp
  ${CMAKE_CURRENT_LIST_DIR}/poly_contacts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/poly_controls.cpp)
target_include_directories(poly_sim PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(poly_sim PUBLIC program_kit)

add_library(poly_frame STATIC ${CMAKE_CURRENT_LIST_DIR}/poly_frame.cpp)
target_link_libraries(poly_frame PUBLIC poly_sim)

tavrel_add_program(polygon_impact
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/polygon_impact_main.cpp
  LIBS poly_frame
  TEST ${CMAKE_CURRENT_LIST_DIR}/polygon_impact_xtest.cpp)
tavrel_add_tests(ONLY "^poly_(bodies|contacts|controls|over_time)_test$" poly_sim)
if(TEST poly_over_time_test)
  # 100,000 frames: about half a minute under the sanitizers.
  set_tests_properties(poly_over_time_test PROPERTIES TIMEOUT 900)
endif()

tavrel_bench_libs(poly_impact_bench poly_frame)
