# Remote control: the SCPI server over loopback (Qt Test), the headless program's devices
# (GoogleTest over the simulated bank), and the headless program driven with PyVISA end to end
# and over plain sockets for its file commands.
if(DDSTARN_GUI)
  ddstarn_qt_test(RemoteServer ddstarn_remote)
  ddstarn_gtest(RemoteHost SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RemoteHost.cpp LIBS ddstarn_remote DDSTarnDll)

  find_program(DDSTARN_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(DDSTARN_PYTHON3)
    add_test(NAME RemoteEndToEnd
             COMMAND ${DDSTARN_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/remote_e2e.py
                     $<TARGET_FILE:DDSTarnUSB>)
    # 77: PyVISA is not installed (scripts/setup.sh installs it).
    set_tests_properties(RemoteEndToEnd PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
    # The file commands confined to the waveform folder, with plain sockets; run as root it
    # also runs the program as nobody (setpriv) to see the folder's permissions hold.
    add_test(NAME RemoteFilesEndToEnd
             COMMAND ${DDSTARN_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/remote_files_e2e.py
                     $<TARGET_FILE:DDSTarnUSB>)
    set_tests_properties(RemoteFilesEndToEnd PROPERTIES TIMEOUT 60)
  endif()
endif()
