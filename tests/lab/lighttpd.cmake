# The HTTP clients against a real web server (Debian's lighttpd) on the
# loopback of a private namespace.
add_executable(lab_lighttpd ${CMAKE_CURRENT_LIST_DIR}/lighttpd.cpp)
target_link_libraries(lab_lighttpd PRIVATE core GTest::gtest GTest::gtest_main)
target_include_directories(lab_lighttpd PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_test(NAME lab_lighttpd
         COMMAND ${Q70_ISOLATED} ${CMAKE_CURRENT_LIST_DIR}/lighttpd/serve.sh $<TARGET_FILE:lab_lighttpd>)
set_tests_properties(lab_lighttpd PROPERTIES LABELS lab TIMEOUT 120 SKIP_RETURN_CODE 77)
