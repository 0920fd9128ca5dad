# Driver libraries that cannot be used: each is refused with a message naming it, and the
# program then finds no generator. The incomplete driver lacks two of the twelve functions; the
# failing one answers -1 to every call; the hanging one is used but may stop answering.
add_library(ddstarn_incomplete_driver SHARED ${CMAKE_CURRENT_SOURCE_DIR}/SimTinyDriver.cpp)
target_compile_definitions(ddstarn_incomplete_driver PRIVATE TINY_DRIVER_INCOMPLETE)
ddstarn_warnings(ddstarn_incomplete_driver)
add_library(ddstarn_failing_driver SHARED ${CMAKE_CURRENT_SOURCE_DIR}/SimTinyDriver.cpp)
target_compile_definitions(ddstarn_failing_driver PRIVATE TINY_DRIVER_FAILING)
ddstarn_warnings(ddstarn_failing_driver)
target_compile_options(ddstarn_failing_driver PRIVATE -Wno-unused-parameter) # outputs left alone
# The hanging one waits inside every call while the file TINY_DRIVER_HOLD names exists.
add_library(ddstarn_hanging_driver SHARED ${CMAKE_CURRENT_SOURCE_DIR}/SimTinyDriver.cpp)
target_compile_definitions(ddstarn_hanging_driver PRIVATE TINY_DRIVER_HANGING)
ddstarn_warnings(ddstarn_hanging_driver)
add_executable(driver_load_tests ${CMAKE_CURRENT_SOURCE_DIR}/DriverLoad.cpp)
target_link_libraries(driver_load_tests PRIVATE ddstarn_control ddstarn_engine DDSTarnDll
                      GTest::gtest_main ${CMAKE_DL_LIBS})
target_compile_definitions(driver_load_tests PRIVATE
  FAILING_DRIVER="$<TARGET_FILE:ddstarn_failing_driver>"
  INCOMPLETE_DRIVER="$<TARGET_FILE:ddstarn_incomplete_driver>"
  HANGING_DRIVER="$<TARGET_FILE:ddstarn_hanging_driver>"
  SIMULATOR="$<TARGET_FILE:DDSTarnDll>")
add_dependencies(driver_load_tests ddstarn_incomplete_driver ddstarn_failing_driver
                 ddstarn_hanging_driver)
ddstarn_warnings(driver_load_tests)
gtest_discover_tests(driver_load_tests DISCOVERY_TIMEOUT 30)
