# Qt Test for the application, main frame, documents and tabs: the real program in-process,
# with the simulated generator bank behind it.
if(DDSTARN_GUI AND TARGET DDSTarnDll AND EXISTS ${PROJECT_SOURCE_DIR}/hwsim/SimControl.h)
  foreach(name AppStartup AppTabs AppCommands)
    add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
    target_link_libraries(${name} PRIVATE ddstarn_view ddstarn_app DDSTarnDll Qt6::Test)
    target_compile_definitions(${name} PRIVATE DDSTARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    ddstarn_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endforeach()
endif()

# Re-texting by control id and menu position: widgets over the language manager only.
if(DDSTARN_GUI)
  add_executable(AppWindowTexts ${CMAKE_CURRENT_SOURCE_DIR}/AppWindowTexts.cpp)
  target_link_libraries(AppWindowTexts PRIVATE ddstarn_widgets ddstarn_i18n Qt6::Test)
  ddstarn_warnings(AppWindowTexts)
  add_test(NAME AppWindowTexts COMMAND AppWindowTexts)
  set_tests_properties(AppWindowTexts PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
