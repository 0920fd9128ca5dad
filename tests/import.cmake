# Waveform import and export (ddstarn_media): files written with libsndfile in the test.
add_executable(MediaTests ${CMAKE_CURRENT_SOURCE_DIR}/MediaImport.cpp)
target_link_libraries(MediaTests PRIVATE ddstarn_media ddstarn_engine DDSTarnDll GTest::gtest_main)
ddstarn_warnings(MediaTests)
gtest_discover_tests(MediaTests DISCOVERY_TIMEOUT 30)

# The Edit menu's import and export in the running program, down to the simulated unit.
if(DDSTARN_GUI)
  ddstarn_qt_test(AppWaveFiles ddstarn_view ddstarn_app DDSTarnDll)
endif()
