# Wave parameter and Period Number dialogs: alone over a device record, and opened by the
# program's document with the simulated generator behind it.
if(DDSTARN_GUI)
  ddstarn_qt_test(DialogsWave ddstarn_view ddstarn_app DDSTarnDll)
endif()
