# Remote control: the SCPI server over loopback (Qt Test), the headless program's devices
# (GoogleTest over the simulated bank), and the headless program driven with PyVISA end to end
# over the raw socket and VXI-11, and over plain sockets for its file commands.
if(DDSTARN_GUI)
  ddstarn_qt_test(RemoteServer ddstarn_remote)
  ddstarn_gtest(RemoteVxi11 SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RemoteVxi11.cpp LIBS ddstarn_remote)
  ddstarn_gtest(RemoteHost SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RemoteHost.cpp LIBS ddstarn_remote DDSTarnDll)

  find_program(DDSTARN_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(DDSTARN_PYTHON3)
    add_test(NAME RemoteEndToEnd
             COMMAND ${DDSTARN_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/remote_e2e.py
                     $<TARGET_FILE:DDSTarnUSB>)
    # 77: PyVISA is not installed (scripts/setup.sh installs it).
    # The file commands confined to the waveform folder, with plain sockets; run as root it
    # also runs the program as nobody (setpriv) to see the folder's permissions hold.
    add_test(NAME RemoteFilesEndToEnd
             COMMAND ${DDSTARN_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/remote_files_e2e.py
                     $<TARGET_FILE:DDSTarnUSB>)
    set_tests_properties(RemoteFilesEndToEnd PROPERTIES TIMEOUT 60 RESOURCE_LOCK rpcbind)
    # The same checks over VXI-11 (PyVISA's TCPIP INSTR), lxi-tools, and the core channel's
    # calls one by one. Every headless program registers with the one rpcbind of the machine,
    # so these runs never overlap; 77: no rpcbind answers (scripts/test.sh starts one).
    add_test(NAME Vxi11EndToEnd
             COMMAND ${DDSTARN_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/vxi11_e2e.py
                     $<TARGET_FILE:DDSTarnUSB>)
    set_tests_properties(RemoteEndToEnd Vxi11EndToEnd PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
                         RESOURCE_LOCK rpcbind)
    # DNS-SD and the VXI-11 broadcast inside namespaces the test makes (root; 77 otherwise).
    add_test(NAME DiscoveryNamespace
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/discovery_ns.sh $<TARGET_FILE:DDSTarnUSB>)
    set_tests_properties(DiscoveryNamespace PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
  endif()
endif()
