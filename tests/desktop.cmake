# Qt Test for the program among the desktop's files and helpers: dropped and named CSV files,
# what a screen reader learns in the program's process (names, roles, states, values, events,
# Tab order), and telling simulated generators from real ones. The status test runs a second
# time with a tiny stand-in for a real driver library.
if(DDSTARN_GUI)
  foreach(name DesktopApp DesktopAccess DesktopStatus)
    ddstarn_qt_test(${name} ddstarn_view ddstarn_app DDSTarnDll)
  endforeach()
  add_dependencies(DesktopStatus ddstarn_tiny_driver)
  add_test(NAME DesktopStatusRealDriver COMMAND DesktopStatus)
  set_tests_properties(DesktopStatusRealDriver PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;DDSTARN_DRIVER=$<TARGET_FILE:ddstarn_tiny_driver>")
endif()
