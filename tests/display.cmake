# Waveform display: picture, zoom, point drawing, Points Edit, report and clipboard.
if(DDSTARN_GUI AND TARGET DDSTarnDll)
  foreach(name DisplayDrawing DisplayEditing DisplayReport)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
      add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
      # The simulated library resolves the engine's DDS* calls, so it comes after the engine.
      target_link_libraries(${name} PRIVATE ddstarn_view ddstarn_app Qt6::Test ddstarn_engine DDSTarnDll)
      ddstarn_warnings(${name})
      add_test(NAME ${name} COMMAND ${name})
      set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    endif()
  endforeach()
endif()
