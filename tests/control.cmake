# Device control: the rules every way in calls (GoogleTest; also run under ThreadSanitizer).
file(GLOB control_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Control*.cpp)
ddstarn_gtest(control_tests SOURCES ${control_test_sources} LIBS ddstarn_control ddstarn_engine ddstarn_fake_dll)
