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

# The screen reader's view from outside the process: the program under a private X server and
# D-Bus session, its accessibility tree walked over AT-SPI with pyatspi.
if(DDSTARN_GUI)
  find_program(DDSTARN_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  if(DDSTARN_PYTHON3)
    add_test(NAME DesktopAtSpi
             COMMAND ${DDSTARN_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/access_atspi.py
                     $<TARGET_FILE:DDSTarnUSB>)
    # 77: xvfb-run, D-Bus, at-spi2-core or pyatspi missing (scripts/setup.sh installs them).
    set_tests_properties(DesktopAtSpi PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
  endif()
endif()
