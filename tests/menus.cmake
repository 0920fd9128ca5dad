# Qt Test for the drop-down menus as drawn and the frame's keys past a panel field: the real
# program in-process.
if(DDSTARN_GUI)
  ddstarn_qt_test(AppMenus ddstarn_view ddstarn_app DDSTarnDll)
endif()
