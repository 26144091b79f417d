# The installable program: its desktop entry, and the Debian package, which
# must install into a clean Debian 12 root and start there.
if(Q70_GUI)
  add_test(NAME package_desktop_entry
    COMMAND desktop-file-validate ${PROJECT_SOURCE_DIR}/packaging/org.q70config.Q70config.desktop)
  add_test(NAME package_installs_and_starts
    COMMAND /bin/bash ${CMAKE_CURRENT_LIST_DIR}/test_package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package_desktop_entry package_installs_and_starts PROPERTIES LABELS package)
  # The first run makes the minimal root (about three minutes) and fetches Qt.
  set_tests_properties(package_installs_and_starts PROPERTIES TIMEOUT 1500 SKIP_RETURN_CODE 77)
  # Xvfb servers in other process namespaces take each other's displays
  # (a lock file's process is not seen there): one virtual display at a time.
  set_property(TEST package_installs_and_starts APPEND PROPERTY RESOURCE_LOCK virtual_display)
endif()
