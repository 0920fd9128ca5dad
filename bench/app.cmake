# Application: process start to first window shown and back to exit, against a bare Qt window
# program; peak memory with one device.
if(DDSTARN_GUI)
  add_executable(BareQtWindow ${CMAKE_CURRENT_SOURCE_DIR}/BareQtWindow.cpp)
  target_link_libraries(BareQtWindow PRIVATE Qt6::Widgets)
  ddstarn_warnings(BareQtWindow)

  add_executable(AppStartupBench ${CMAKE_CURRENT_SOURCE_DIR}/AppStartup.cpp)
  target_link_libraries(AppStartupBench PRIVATE benchmark::benchmark)
  target_compile_definitions(AppStartupBench PRIVATE
    DDSTARN_PROGRAM="$<TARGET_FILE:DDSTarnUSB>"
    DDSTARN_BARE_WINDOW="$<TARGET_FILE:BareQtWindow>")
  add_dependencies(AppStartupBench DDSTarnUSB BareQtWindow)
  ddstarn_warnings(AppStartupBench)
endif()
