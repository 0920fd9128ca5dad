# The remote command language (GoogleTest; no Qt, so it also runs under ThreadSanitizer).
file(GLOB scpi_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Scpi*.cpp)
add_executable(ScpiTests ${scpi_test_sources})
target_link_libraries(ScpiTests PRIVATE ddstarn_scpi GTest::gtest_main)
ddstarn_warnings(ScpiTests)
gtest_discover_tests(ScpiTests)
