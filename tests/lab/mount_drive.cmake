# Connecting drive letters to the shares of a real SMB server through the
# real windows, after a login to the fake appliance at the same address.
if(Q70_GUI)
  add_executable(lab_mount_drive ${CMAKE_CURRENT_LIST_DIR}/mount_drive.cpp)
  target_link_libraries(lab_mount_drive PRIVATE ui Qt6::Test)
  target_include_directories(lab_mount_drive PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
  add_test(NAME lab_mount_drive
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh --appliance nas1=192.168.1.20/24
      -- ${CMAKE_CURRENT_LIST_DIR}/smb-share.sh $<TARGET_FILE:lab_mount_drive>)
  set_tests_properties(lab_mount_drive PROPERTIES LABELS lab TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;Q70_SCREENSHOT=${CMAKE_CURRENT_BINARY_DIR}/connect-disk.png")
endif()
