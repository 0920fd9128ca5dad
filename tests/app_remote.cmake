# Qt Test for the program's side of remote control: the panel following its record, the device
# registry, the Remote Control setting, dialog, menu item and status pane (a stand-in server).
if(DDSTARN_GUI)
  ddstarn_qt_test(AppRemote ddstarn_view ddstarn_app DDSTarnDll)
endif()
