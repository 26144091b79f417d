# The Status tab of the real management window against a fake appliance, after
# a login through the real windows: each "Set" changes the appliance and the
# refreshed tab shows it.
if(Q70_GUI)
  add_executable(lab_status_tab ${CMAKE_CURRENT_LIST_DIR}/status_tab.cpp)
  target_link_libraries(lab_status_tab PRIVATE ui Qt6::Test)
  target_include_directories(lab_status_tab PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
  add_test(NAME lab_status_tab
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh
      --appliance nas1=192.168.1.20/24 --sim-args "nas1=--disk-name NAS-Status --group OFFICE --firmware 2.4.17"
      -- $<TARGET_FILE:lab_status_tab>)
  set_tests_properties(lab_status_tab PROPERTIES LABELS lab TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;Q70_SCREENSHOT=${CMAKE_CURRENT_BINARY_DIR}/status-tab.png")
endif()
