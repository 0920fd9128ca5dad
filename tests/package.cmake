# Where the program finds its files (ddstarn_i18n); its command line; the Debian package
# unpacked into a scratch root and started from there (main build only, label "package"); the
# RUNPATH of the built and the packaged programs.
ddstarn_gtest(ProgramPathsTests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ProgramPathsLayouts.cpp LIBS ddstarn_i18n)

if(DDSTARN_GUI)
  ddstarn_qt_test(CommandLineParse ddstarn_app)
  add_test(NAME PackageUnpacked
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package_unpacked.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(PackageUnpacked PROPERTIES LABELS package TIMEOUT 300)
  # No program or library of the build tree takes libraries from the current folder.
  add_test(NAME BuildRunpath COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/runpath_check.sh
                                     $<TARGET_FILE:DDSTarnUSB> ${CMAKE_BINARY_DIR})
endif()
