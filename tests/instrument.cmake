# The SCPI instrument over records bound to the simulated bank (GoogleTest; no Qt, so it also
# runs under ThreadSanitizer).
file(GLOB instrument_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Instrument*.cpp)
add_executable(instrument_tests ${instrument_test_sources})
target_link_libraries(instrument_tests PRIVATE ddstarn_instrument DDSTarnDll GTest::gtest_main)
ddstarn_warnings(instrument_tests)
gtest_discover_tests(instrument_tests DISCOVERY_TIMEOUT 30)
