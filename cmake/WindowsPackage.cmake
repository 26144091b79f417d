# The Windows program as a zip (cpack -G ZIP in the build folder):
# q70config-<version>-win64/ with q70config.exe, one file with Qt and the
# C++ runtime linked in, and a read-me with Windows line ends.
install(TARGETS q70config RUNTIME DESTINATION .)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in
  ${CMAKE_BINARY_DIR}/package/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME q70config)
set(CPACK_PACKAGE_FILE_NAME q70config-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Without its debugging symbols the program is about half the size.
set(CPACK_STRIP_FILES ON)
include(CPack)
