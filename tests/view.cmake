# Device view: pure panel rules, and the real windows driving the simulated generator.
if(DDSTARN_GUI)
  ddstarn_qt_test(ViewPanelGeometry ddstarn_view ddstarn_engine DDSTarnDll)
  ddstarn_qt_test(ViewPanelEntry ddstarn_view ddstarn_app DDSTarnDll)
endif()
