# Qt Test for the help window, opened through the real program's Help > Help Content.
if(DDSTARN_GUI)
  ddstarn_qt_test(AppHelp ddstarn_view ddstarn_app DDSTarnDll)
endif()
