# The SCPI instrument over records bound to the simulated bank (GoogleTest; no Qt, so it also
# runs under ThreadSanitizer).
file(GLOB instrument_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Instrument*.cpp)
ddstarn_gtest(instrument_tests SOURCES ${instrument_test_sources} LIBS ddstarn_instrument DDSTarnDll)
