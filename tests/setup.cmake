# Device setups: Save/Open Setup on the running program, the recovery files of a run, and the
# real program killed and started again.
if(DDSTARN_GUI)
  ddstarn_qt_test(AppSetup ddstarn_view ddstarn_app DDSTarnDll)
  target_compile_definitions(AppSetup PRIVATE DDSTARN_PROGRAM="$<TARGET_FILE:DDSTarnUSB>")
  add_dependencies(AppSetup DDSTarnUSB)
  # The program it starts serves SCPI, so it registers VXI-11 with the machine's rpcbind too.
  set_tests_properties(AppSetup PROPERTIES RESOURCE_LOCK rpcbind)
endif()
