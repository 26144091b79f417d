# The Status tab of the real management window against a fake appliance, after
# a login through the real windows: each "Set" changes the appliance and the
# refreshed tab shows it.
if(Q70_GUI)
  q70_lab_window_test(status_tab status-tab.png
    --appliance nas1=192.168.1.20/24 --sim-args "nas1=--disk-name NAS-Status --group OFFICE --firmware 2.4.17")
endif()
