# Device control: the rules every way in calls (GoogleTest; also run under ThreadSanitizer).
file(GLOB control_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Control*.cpp)
add_executable(control_tests ${control_test_sources})
target_link_libraries(control_tests PRIVATE ddstarn_control ddstarn_engine ddstarn_fake_dll GTest::gtest_main)
ddstarn_warnings(control_tests)
gtest_discover_tests(control_tests DISCOVERY_TIMEOUT 30)
