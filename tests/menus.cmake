# Qt Test for the drop-down menus as drawn, the frame's keys past a panel field and the language
# list read again when its menu opens: the real program in-process.
if(DDSTARN_GUI)
  ddstarn_qt_test(AppMenus ddstarn_view ddstarn_app DDSTarnDll)
endif()
