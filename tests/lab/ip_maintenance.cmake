# The IP Config and Maintenance pages of the real program on a private X
# display, against fake appliances that move, reboot and take firmware; one
# lab per page, so each starts with appliances at their first addresses.
if(Q70_GUI)
  foreach(flow ip maintenance)
    add_test(NAME lab_${flow}_page
      COMMAND ${Q70_TOOLS}/lab/with-appliances.sh --appliance nas1=192.168.1.20/24 --appliance nas2=192.168.2.20/24
        --sim-args "nas1=--reboot-seconds 2"
        -- /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_ip_maintenance.py $<TARGET_FILE:q70config> ${flow})
    set_tests_properties(lab_${flow}_page PROPERTIES LABELS lab TIMEOUT 240)
    # One virtual display at a time (see user_flows.cmake).
    set_property(TEST lab_${flow}_page APPEND PROPERTY RESOURCE_LOCK virtual_display)
  endforeach()
endif()
