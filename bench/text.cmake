# Language files: start-up with the shipped language folder against a folder full of strangers.
add_executable(text_bench ${CMAKE_CURRENT_SOURCE_DIR}/LanguageFolder.cpp)
target_link_libraries(text_bench PRIVATE ddstarn_i18n benchmark::benchmark)
target_compile_definitions(text_bench PRIVATE DDSTARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
ddstarn_warnings(text_bench)
