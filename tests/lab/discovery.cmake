# The discovery window against two fake appliances on one segment, one of
# them on another subnet.
if(Q70_GUI)
  q70_lab_window_test(discovery discovery.png
    --appliance nas1=192.168.1.20/24 --sim-args "nas1=--disk-name NAS-One --group WORKGROUP --firmware 2.4.17"
    --appliance nas2=192.168.2.20/24 --sim-args "nas2=--disk-name NAS-Two --group ARCHIVE --firmware 2.3.9")
endif()
