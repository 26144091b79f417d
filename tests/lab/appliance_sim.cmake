# The fake appliance itself, checked through its sockets from the workstation
# of a lab with two appliances on two subnets of one segment.
add_test(NAME lab_appliance_sim
  COMMAND ${Q70_TOOLS}/lab/with-appliances.sh
    --appliance nas1=192.168.1.20/24 --appliance nas2=192.168.2.20/24
    --sim-args "nas2=--password secret --reboot-seconds 2 --upload-limit 65536 --scan-interval 0.3"
    -- /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_appliance_sim.py)
set_tests_properties(lab_appliance_sim PROPERTIES LABELS lab TIMEOUT 300)

# On loopback addresses inside a private namespace, as unit tests run it.
add_test(NAME lab_appliance_sim_loopback
  COMMAND ${Q70_ISOLATED} /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_appliance_sim_loopback.py)
set_tests_properties(lab_appliance_sim_loopback PROPERTIES LABELS lab TIMEOUT 120)

# The pages of the management window: address moves, reboot, factory reset,
# upload answers, folders, FTP accounts and the disk scan.
add_test(NAME lab_appliance_sim_pages
  COMMAND ${Q70_TOOLS}/lab/with-appliances.sh
    --appliance nas1=192.168.1.20/24 --appliance nas2=192.168.2.20/24
    --sim-args "nas2=--password secret --reboot-seconds 1.5 --upload-limit 65536 --scan-interval 0.2 --dhcp-address 192.168.2.77/16 --disk-idle-own-line"
    -- /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_appliance_sim_pages.py)
set_tests_properties(lab_appliance_sim_pages PROPERTIES LABELS lab TIMEOUT 300)
