# Benchtop-style remote clients end to end: the headless program driven by pymeasure's generator
# drivers over PyVISA, with a preloaded tap that shows the test what reached the simulated unit.
if(DDSTARN_GUI)
  add_library(ddstarn_download_tap SHARED ${CMAKE_CURRENT_SOURCE_DIR}/DownloadTap.cpp)
  target_link_libraries(ddstarn_download_tap PRIVATE ${CMAKE_DL_LIBS})
  ddstarn_warnings(ddstarn_download_tap)

  find_program(DDSTARN_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(DDSTARN_PYTHON3)
    add_test(NAME BenchtopEndToEnd
             COMMAND ${DDSTARN_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/benchtop_e2e.py
                     $<TARGET_FILE:DDSTarnUSB> $<TARGET_FILE:ddstarn_download_tap>)
    # 77: pymeasure or PyVISA is not installed (scripts/setup.sh installs them).
    set_tests_properties(BenchtopEndToEnd PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
                         RESOURCE_LOCK rpcbind)
  endif()
endif()
