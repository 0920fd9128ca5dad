# Exit with a device worker stuck inside a driver call that hangs (the driver of driver.cmake).
if(DDSTARN_GUI)
  ddstarn_qt_test(AppDriverHang ddstarn_view ddstarn_app ddstarn_remote DDSTarnDll ${CMAKE_DL_LIBS})
  target_compile_definitions(AppDriverHang PRIVATE
    HANGING_DRIVER="$<TARGET_FILE:ddstarn_hanging_driver>")
  add_dependencies(AppDriverHang ddstarn_hanging_driver)
endif()
