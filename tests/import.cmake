# Waveform import and export (ddstarn_media): files written with libsndfile in the test.
ddstarn_gtest(MediaTests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/MediaImport.cpp
              ${CMAKE_CURRENT_SOURCE_DIR}/MediaImportLimits.cpp LIBS ddstarn_media ddstarn_engine DDSTarnDll)

# The Edit menu's import and export in the running program, down to the simulated unit.
if(DDSTARN_GUI)
  ddstarn_qt_test(AppWaveFiles ddstarn_view ddstarn_app DDSTarnDll)
endif()
