# Where the program finds its files (ddstarn_i18n); its command line; the Debian package
# unpacked into a scratch root and started from there (main build only, label "package").
add_executable(ProgramPathsTests ${CMAKE_CURRENT_SOURCE_DIR}/ProgramPathsLayouts.cpp)
target_link_libraries(ProgramPathsTests PRIVATE ddstarn_i18n GTest::gtest_main)
ddstarn_warnings(ProgramPathsTests)
gtest_discover_tests(ProgramPathsTests)

if(DDSTARN_GUI)
  ddstarn_qt_test(CommandLineParse ddstarn_app)
  add_test(NAME PackageUnpacked
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package_unpacked.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(PackageUnpacked PROPERTIES LABELS package TIMEOUT 300)
endif()
