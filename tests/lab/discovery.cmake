# The discovery window against two fake appliances on one segment, one of
# them on another subnet.
if(Q70_GUI)
  add_executable(lab_discovery ${CMAKE_CURRENT_LIST_DIR}/discovery.cpp)
  target_link_libraries(lab_discovery PRIVATE ui Qt6::Test)
  target_include_directories(lab_discovery PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
  add_test(NAME lab_discovery
    COMMAND ${Q70_TOOLS}/lab/with-appliances.sh
      --appliance nas1=192.168.1.20/24 --sim-args "nas1=--disk-name NAS-One --group WORKGROUP --firmware 2.4.17"
      --appliance nas2=192.168.2.20/24 --sim-args "nas2=--disk-name NAS-Two --group ARCHIVE --firmware 2.3.9"
      -- $<TARGET_FILE:lab_discovery>)
  set_tests_properties(lab_discovery PROPERTIES LABELS lab TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;Q70_SCREENSHOT=${CMAKE_CURRENT_BINARY_DIR}/discovery.png")
endif()
