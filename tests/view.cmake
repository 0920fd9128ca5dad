# Device view: pure panel rules, and the real windows driving the simulated generator.
if(DDSTARN_GUI)
  add_executable(ViewPanelGeometry ${CMAKE_CURRENT_SOURCE_DIR}/ViewPanelGeometry.cpp)
  target_link_libraries(ViewPanelGeometry PRIVATE ddstarn_view Qt6::Test)
  ddstarn_warnings(ViewPanelGeometry)
  add_test(NAME ViewPanelGeometry COMMAND ViewPanelGeometry)
  set_tests_properties(ViewPanelGeometry PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()

# The real program in-process, with the simulated generator bank behind it.
if(DDSTARN_GUI AND TARGET DDSTarnDll AND EXISTS ${PROJECT_SOURCE_DIR}/hwsim/SimControl.h)
  add_executable(ViewPanelEntry ${CMAKE_CURRENT_SOURCE_DIR}/ViewPanelEntry.cpp)
  target_link_libraries(ViewPanelEntry PRIVATE ddstarn_view ddstarn_app DDSTarnDll Qt6::Test)
  ddstarn_warnings(ViewPanelEntry)
  add_test(NAME ViewPanelEntry COMMAND ViewPanelEntry)
  set_tests_properties(ViewPanelEntry PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
