# The real program on a private X display: the start-up error of a second
# copy and the end of the process when the discovery window closes.
if(Q70_GUI)
  add_test(NAME lab_program_exits
    COMMAND ${Q70_ISOLATED} /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_program_exits.py
      $<TARGET_FILE:q70config>)
  set_tests_properties(lab_program_exits PROPERTIES LABELS lab TIMEOUT 120)
  # Xvfb servers in other process namespaces take each other's displays
  # (a lock file's process is not seen there): one virtual display at a time.
  set_property(TEST lab_program_exits APPEND PROPERTY RESOURCE_LOCK virtual_display)
endif()
