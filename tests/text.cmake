# Settings and INI files, language files, number text (ddstarn_i18n) and CSV files (ddstarn_csv).
file(GLOB text_test_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/Ini*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Language*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/NumberText*.cpp)
add_executable(TextTests ${text_test_sources})
target_link_libraries(TextTests PRIVATE ddstarn_i18n GTest::gtest_main)
target_compile_definitions(TextTests PRIVATE DDSTARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
ddstarn_warnings(TextTests)
gtest_discover_tests(TextTests)

# The CSV tests need the device record's code and the simulated generator library behind it.
file(GLOB csv_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Csv*.cpp)
add_executable(CsvTests ${csv_test_sources})
target_link_libraries(CsvTests PRIVATE ddstarn_csv DDSTarnDll GTest::gtest_main)
ddstarn_warnings(CsvTests)
gtest_discover_tests(CsvTests)
