# Qt Test for the application, main frame, documents and tabs: the real program in-process,
# with the simulated generator bank behind it; and re-texting over the language manager only.
if(DDSTARN_GUI)
  foreach(name AppStartup AppTabs AppCommands AppFrameWindow)
    ddstarn_qt_test(${name} ddstarn_view ddstarn_app DDSTarnDll)
  endforeach()
  ddstarn_qt_test(AppWindowTexts ddstarn_widgets ddstarn_i18n)
endif()
