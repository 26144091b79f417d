# Logging in to a fake appliance through the real windows, as a user does:
# search, pick it, a wrong and a right password, the Status page, the
# administrator password change and the login with the new password.
if(Q70_GUI)
  q70_lab_window_test(login login.png
    --appliance nas1=192.168.1.20/24 --sim-args "nas1=--disk-name NAS-Login --group OFFICE --firmware 2.4.17")
endif()
