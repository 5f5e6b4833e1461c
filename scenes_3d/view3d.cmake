# The software three-dimensional view of the wire-frame programs: camera,
# near-plane clipping, projection and wire spheres; headless but for the
# library's DrawSegment, which tests replace.
add_library(scenes_view3d STATIC view3d.cpp)
target_include_directories(scenes_view3d PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(scenes_view3d PUBLIC scenes_vec3 program_kit)
tavrel_add_tests(ONLY "^view3d_" scenes_view3d tavrel_internal)  # headless pages
