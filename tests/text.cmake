# Settings and INI files, language files, number text (ddstarn_i18n) and CSV files (ddstarn_csv).
file(GLOB text_test_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/Ini*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Language*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/NumberText*.cpp)
ddstarn_gtest(TextTests SOURCES ${text_test_sources} LIBS ddstarn_i18n)
target_compile_definitions(TextTests PRIVATE DDSTARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# The CSV tests need the device record's code and the simulated generator library behind it.
file(GLOB csv_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Csv*.cpp)
ddstarn_gtest(CsvTests SOURCES ${csv_test_sources} LIBS ddstarn_csv DDSTarnDll)
