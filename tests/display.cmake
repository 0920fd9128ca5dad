# Waveform display: picture, zoom, point drawing, Points Edit, report and clipboard.
if(DDSTARN_GUI)
  foreach(name DisplayDrawing DisplayEditing DisplayReport)
    # The simulated library resolves the engine's DDS* calls, so it comes after the engine.
    ddstarn_qt_test(${name} ddstarn_view ddstarn_app ddstarn_engine DDSTarnDll)
  endforeach()
endif()
