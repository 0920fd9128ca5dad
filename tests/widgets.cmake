# Qt Test for the panel controls and numeric fields, run without a display.
if(DDSTARN_GUI)
  foreach(name WidgetsControls WidgetsFields)
    ddstarn_qt_test(${name} ddstarn_widgets)
  endforeach()
endif()
