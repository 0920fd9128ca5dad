# Qt Test for the Sweep and digital I/O dialogs, opened on the real program over the simulated bank.
if(DDSTARN_GUI)
  ddstarn_qt_test(DialogsSweepDio ddstarn_view ddstarn_app DDSTarnDll)
endif()
