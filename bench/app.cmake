# Application: start to first window shown and back to exit, against a bare Qt window; peak
# memory with one device.
if(DDSTARN_GUI AND TARGET DDSTarnDll AND EXISTS ${PROJECT_SOURCE_DIR}/hwsim/SimControl.h)
  add_executable(AppStartupBench ${CMAKE_CURRENT_SOURCE_DIR}/AppStartup.cpp)
  target_link_libraries(AppStartupBench PRIVATE ddstarn_view ddstarn_app DDSTarnDll
                        benchmark::benchmark Qt6::Widgets)
  ddstarn_warnings(AppStartupBench)
endif()
