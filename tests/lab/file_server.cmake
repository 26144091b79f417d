# The File Server page and its three dialogs in the real program on a private
# X display against a fake appliance, answering real message boxes.
if(Q70_GUI)
  add_test(NAME lab_file_server
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh --appliance nas1=192.168.1.20/24
      -- /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_file_server.py $<TARGET_FILE:q70config>)
  set_tests_properties(lab_file_server PROPERTIES LABELS lab TIMEOUT 240
    ENVIRONMENT "Q70_SCREENSHOT=${CMAKE_CURRENT_BINARY_DIR}/fileserver-tab.png;Q70_DIALOG_PICTURES=${CMAKE_CURRENT_BINARY_DIR}")
  set_property(TEST lab_file_server APPEND PROPERTY RESOURCE_LOCK virtual_display)
endif()
