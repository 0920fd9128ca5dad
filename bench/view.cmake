# Device view: typed frequency to the simulated generator's buffer, four devices open.
if(DDSTARN_GUI)
  add_executable(ViewLatency ${CMAKE_CURRENT_SOURCE_DIR}/ViewLatency.cpp)
  target_link_libraries(ViewLatency PRIVATE ddstarn_view ddstarn_app DDSTarnDll
                        benchmark::benchmark Qt6::Widgets)
  ddstarn_warnings(ViewLatency)
endif()
