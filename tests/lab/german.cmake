# The real program with the shipped German language file, on a private X
# display against a fake appliance; its pictures go to the build folder.
if(Q70_GUI)
  add_test(NAME lab_german
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh --appliance nas1=192.168.1.20/24
      -- /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_german.py $<TARGET_FILE:q70config>
         ${PROJECT_SOURCE_DIR}/translations/de/language)
  set_tests_properties(lab_german PROPERTIES LABELS lab TIMEOUT 180
    ENVIRONMENT "Q70_SCREENSHOT_DIR=${CMAKE_CURRENT_BINARY_DIR}")
  set_property(TEST lab_german APPEND PROPERTY RESOURCE_LOCK virtual_display)
endif()
