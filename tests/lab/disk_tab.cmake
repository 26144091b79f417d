# The Disk Utility page of the real program on a private X display against
# a fake appliance, driven from the keyboard, answering real message boxes.
if(Q70_GUI)
  add_test(NAME lab_disk_tab
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh --appliance nas1=192.168.1.20/24
      -- /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_disk_tab.py $<TARGET_FILE:q70config>)
  set_tests_properties(lab_disk_tab PROPERTIES LABELS lab TIMEOUT 240
    ENVIRONMENT "Q70_SCREENSHOT=${CMAKE_CURRENT_BINARY_DIR}/disk-tab.png")
  # Xvfb servers in other process namespaces take each other's displays
  # (a lock file's process is not seen there): one virtual display at a time.
  set_property(TEST lab_disk_tab APPEND PROPERTY RESOURCE_LOCK virtual_display)
endif()
