# Device view, through the tests' harness (which needs Qt Test): ViewLatency times a typed
# frequency to the simulated generator's buffer with four devices open; ScaleDevices measures the
# whole program idle with 1, 8 and 20 device windows (CPU against bare sleep loops, memory per
# added device, display frame time).
if(DDSTARN_GUI)
  foreach(name ViewLatency ScaleDevices)
    add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
    target_link_libraries(${name} PRIVATE ddstarn_view ddstarn_app DDSTarnDll
                          benchmark::benchmark Qt6::Widgets Qt6::Test)
    target_compile_definitions(${name} PRIVATE DDSTARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    ddstarn_warnings(${name})
  endforeach()
endif()
