# What the unit plays: the played frequency and Arb tables against the simulated bank (GoogleTest).
ddstarn_gtest(played_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/PlayedFrequency.cpp LIBS ddstarn_csv ddstarn_engine DDSTarnDll)

# Undo and redo of the Arb points in the real program (Qt Test).
if(DDSTARN_GUI)
  ddstarn_qt_test(ArbUndo ddstarn_view ddstarn_app DDSTarnDll)
endif()
