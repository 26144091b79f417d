# The real program on a private X display in a lab of two fake appliances,
# driven as a user would, answering real message boxes.
if(Q70_GUI)
  add_test(NAME lab_user_flows
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh --appliance nas1=192.168.1.20/24 --appliance nas2=192.168.2.20/24
      -- /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_user_flows.py $<TARGET_FILE:q70config>)
  set_tests_properties(lab_user_flows PROPERTIES LABELS lab TIMEOUT 240)
  # Xvfb servers in other process namespaces take each other's displays
  # (a lock file's process is not seen there): one virtual display at a time.
  set_property(TEST lab_user_flows APPEND PROPERTY RESOURCE_LOCK virtual_display)
endif()
