# What the unit plays: the played frequency and Arb tables against the simulated bank (GoogleTest).
add_executable(played_tests ${CMAKE_CURRENT_SOURCE_DIR}/PlayedFrequency.cpp)
target_link_libraries(played_tests PRIVATE ddstarn_csv ddstarn_engine DDSTarnDll GTest::gtest_main)
ddstarn_warnings(played_tests)
gtest_discover_tests(played_tests DISCOVERY_TIMEOUT 30)

# Undo and redo of the Arb points in the real program (Qt Test).
if(DDSTARN_GUI)
  ddstarn_qt_test(ArbUndo ddstarn_view ddstarn_app DDSTarnDll)
endif()
