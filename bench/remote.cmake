# Remote control: SCPI round trips on loopback against a bare Qt echo server in the same run,
# and SOUR:FREQ;*OPC? with a simulated unit once the instrument library is in the build.
if(DDSTARN_GUI)
  add_executable(RemoteRoundTrip ${CMAKE_CURRENT_SOURCE_DIR}/RemoteRoundTrip.cpp)
  target_link_libraries(RemoteRoundTrip PRIVATE ddstarn_remote DDSTarnDll benchmark::benchmark)
  if(TARGET ddstarn_instrument)
    target_compile_definitions(RemoteRoundTrip PRIVATE DDSTARN_BENCH_INSTRUMENT)
  endif()
  ddstarn_warnings(RemoteRoundTrip)
endif()
# The headless program under load: 16 clients, one flooding and never reading, one sending
# 1 MiB messages; a plain program (it times whole runs of a child process).
if(DDSTARN_GUI)
  add_executable(RemoteLoad ${CMAKE_CURRENT_SOURCE_DIR}/RemoteLoad.cpp)
  target_compile_definitions(RemoteLoad PRIVATE DDSTARN_PROGRAM="$<TARGET_FILE:DDSTarnUSB>")
  add_dependencies(RemoteLoad DDSTarnUSB)
  target_link_libraries(RemoteLoad PRIVATE Threads::Threads)
  ddstarn_warnings(RemoteLoad)
endif()
