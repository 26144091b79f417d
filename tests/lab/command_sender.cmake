# The command sender and the status page reader with the real HTTP clients
# against a fake appliance on the lab segment.
add_executable(lab_command_sender ${CMAKE_CURRENT_LIST_DIR}/command_sender.cpp)
target_link_libraries(lab_command_sender PRIVATE core GTest::gtest GTest::gtest_main)
target_include_directories(lab_command_sender PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
add_test(NAME lab_command_sender
  COMMAND ${Q70_TOOLS}/lab/with-appliances.sh
    --appliance nas1=192.168.1.20/24 --sim-args "nas1=--disk-name LAB-NAS --reboot-seconds 4"
    -- $<TARGET_FILE:lab_command_sender>)
set_tests_properties(lab_command_sender PROPERTIES LABELS lab TIMEOUT 300)
