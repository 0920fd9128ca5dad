# One full waveform-display frame at 700 x 420 pixels, offscreen, per wave type.
if(DDSTARN_GUI)
  add_executable(DisplayFrameBench ${CMAKE_CURRENT_SOURCE_DIR}/DisplayFrame.cpp)
  target_link_libraries(DisplayFrameBench PRIVATE ddstarn_view benchmark::benchmark Qt6::Gui ddstarn_engine DDSTarnDll)
  ddstarn_warnings(DisplayFrameBench)
endif()
