# Device engine and simulated generator bank (GoogleTest).

# A recording stand-in for the generator library, for tests where the exact calls matter.
add_library(ddstarn_fake_dll STATIC ${CMAKE_CURRENT_SOURCE_DIR}/EngineFakeDll.cpp)
target_include_directories(ddstarn_fake_dll PUBLIC ${PROJECT_SOURCE_DIR})
ddstarn_warnings(ddstarn_fake_dll)

file(GLOB engine_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Engine*.cpp)
list(REMOVE_ITEM engine_test_sources ${CMAKE_CURRENT_SOURCE_DIR}/EngineFakeDll.cpp)
ddstarn_gtest(engine_tests SOURCES ${engine_test_sources} LIBS ddstarn_engine ddstarn_fake_dll)

# The whole system: engine and workers against the simulated bank.
file(GLOB sim_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Sim*.cpp)
list(REMOVE_ITEM sim_test_sources ${CMAKE_CURRENT_SOURCE_DIR}/SimTinyDriver.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/SimDriverForward.cpp)
ddstarn_gtest(sim_tests SOURCES ${sim_test_sources} LIBS ddstarn_engine DDSTarnDll)

# A tiny driver library, and a process whose simulator forwards every call to it.
add_library(ddstarn_tiny_driver SHARED ${CMAKE_CURRENT_SOURCE_DIR}/SimTinyDriver.cpp)
target_include_directories(ddstarn_tiny_driver PRIVATE ${PROJECT_SOURCE_DIR})
ddstarn_warnings(ddstarn_tiny_driver)
add_executable(sim_driver_tests ${CMAKE_CURRENT_SOURCE_DIR}/SimDriverForward.cpp)
target_link_libraries(sim_driver_tests PRIVATE DDSTarnDll GTest::gtest_main ${CMAKE_DL_LIBS})
add_dependencies(sim_driver_tests ddstarn_tiny_driver)
ddstarn_warnings(sim_driver_tests)
gtest_discover_tests(sim_driver_tests DISCOVERY_TIMEOUT 30
  PROPERTIES ENVIRONMENT "DDSTARN_DRIVER=$<TARGET_FILE:ddstarn_tiny_driver>")
