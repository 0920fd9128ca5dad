# Where the program finds its files (ddstarn_i18n); its command line.
add_executable(ProgramPathsTests ${CMAKE_CURRENT_SOURCE_DIR}/ProgramPathsLayouts.cpp)
target_link_libraries(ProgramPathsTests PRIVATE ddstarn_i18n GTest::gtest_main)
ddstarn_warnings(ProgramPathsTests)
gtest_discover_tests(ProgramPathsTests)

if(DDSTARN_GUI)
  ddstarn_qt_test(CommandLineParse ddstarn_app)
endif()
