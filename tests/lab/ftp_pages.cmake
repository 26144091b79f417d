# The FTP Server and Modify FTP pages of the real program with their three
# dialogs, on a private X display against a fake appliance, used from the
# keyboard, answering real message boxes.
if(Q70_GUI)
  add_test(NAME lab_ftp_pages
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh --appliance nas1=192.168.1.20/24
      -- /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_ftp_pages.py $<TARGET_FILE:q70config>)
  set_tests_properties(lab_ftp_pages PROPERTIES LABELS lab TIMEOUT 240
    ENVIRONMENT "Q70_SCREENSHOT=${CMAKE_CURRENT_BINARY_DIR}/ftp-tab.png;Q70_SCREENSHOT_MODIFY=${CMAKE_CURRENT_BINARY_DIR}/modify-ftp-tab.png;Q70_DIALOG_PICTURES=${CMAKE_CURRENT_BINARY_DIR}")
  set_property(TEST lab_ftp_pages APPEND PROPERTY RESOURCE_LOCK virtual_display)
endif()
