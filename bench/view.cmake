# Device view: typed frequency to the simulated generator's buffer, four devices open. It opens
# the program through the tests' harness, which needs Qt Test.
if(DDSTARN_GUI)
  add_executable(ViewLatency ${CMAKE_CURRENT_SOURCE_DIR}/ViewLatency.cpp)
  target_link_libraries(ViewLatency PRIVATE ddstarn_view ddstarn_app DDSTarnDll
                        benchmark::benchmark Qt6::Widgets Qt6::Test)
  target_compile_definitions(ViewLatency PRIVATE DDSTARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  ddstarn_warnings(ViewLatency)
endif()

# The whole program idle with 1, 8 and 20 device windows: CPU against bare sleep loops, memory
# per added device, display frame time.
if(DDSTARN_GUI)
  add_executable(ScaleDevices ${CMAKE_CURRENT_SOURCE_DIR}/ScaleDevices.cpp)
  target_link_libraries(ScaleDevices PRIVATE ddstarn_view ddstarn_app DDSTarnDll
                        benchmark::benchmark Qt6::Widgets Qt6::Test)
  target_compile_definitions(ScaleDevices PRIVATE DDSTARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  ddstarn_warnings(ScaleDevices)
endif()
