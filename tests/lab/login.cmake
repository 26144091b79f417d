# Logging in to a fake appliance through the real windows, as a user does:
# search, pick it, a wrong and a right password, the Status page, the
# administrator password change and the login with the new password.
if(Q70_GUI)
  add_executable(lab_login ${CMAKE_CURRENT_LIST_DIR}/login.cpp)
  target_link_libraries(lab_login PRIVATE ui Qt6::Test)
  target_include_directories(lab_login PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
  add_test(NAME lab_login
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh
      --appliance nas1=192.168.1.20/24 --sim-args "nas1=--disk-name NAS-Login --group OFFICE --firmware 2.4.17"
      -- $<TARGET_FILE:lab_login>)
  set_tests_properties(lab_login PROPERTIES LABELS lab TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;Q70_SCREENSHOT=${CMAKE_CURRENT_BINARY_DIR}/login.png")
endif()
