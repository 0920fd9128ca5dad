# Where the program finds its files (ddstarn_i18n); its command line; the Debian package
# unpacked into a scratch root and started from there (main build only, label "package").
ddstarn_gtest(ProgramPathsTests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ProgramPathsLayouts.cpp LIBS ddstarn_i18n)

if(DDSTARN_GUI)
  ddstarn_qt_test(CommandLineParse ddstarn_app)
  add_test(NAME PackageUnpacked
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package_unpacked.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(PackageUnpacked PROPERTIES LABELS package TIMEOUT 300)
endif()
