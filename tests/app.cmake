# Qt Test for the application, main frame, documents and tabs: the real program in-process,
# with the simulated generator bank behind it.
if(DDSTARN_GUI AND TARGET DDSTarnDll AND EXISTS ${PROJECT_SOURCE_DIR}/hwsim/SimControl.h)
  foreach(name AppStartup AppTabs AppCommands)
    add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
    target_link_libraries(${name} PRIVATE ddstarn_view ddstarn_app DDSTarnDll Qt6::Test)
    target_compile_definitions(${name} PRIVATE DDSTARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    ddstarn_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endforeach()
endif()
