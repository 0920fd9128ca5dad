# The remote command language (GoogleTest; no Qt, so it also runs under ThreadSanitizer).
file(GLOB scpi_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Scpi*.cpp)
ddstarn_gtest(ScpiTests SOURCES ${scpi_test_sources} LIBS ddstarn_scpi)
