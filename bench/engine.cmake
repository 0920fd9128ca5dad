# Engine: download-buffer synthesis per wave type, and the idle cost of device workers.
add_executable(engine_bench ${CMAKE_CURRENT_SOURCE_DIR}/EngineWaveform.cpp
                            ${CMAKE_CURRENT_SOURCE_DIR}/EngineIdleWorkers.cpp)
target_link_libraries(engine_bench PRIVATE ddstarn_engine DDSTarnDll benchmark::benchmark_main)
ddstarn_warnings(engine_bench)
