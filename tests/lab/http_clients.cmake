# The HTTP clients against the fake appliance, in a lab of namespaces.
add_executable(lab_http_clients ${CMAKE_CURRENT_LIST_DIR}/http_clients.cpp)
target_link_libraries(lab_http_clients PRIVATE core GTest::gtest GTest::gtest_main)
target_include_directories(lab_http_clients PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
add_test(NAME lab_http_clients
         COMMAND ${Q70_TOOLS}/lab/with-appliances.sh --appliance nas1=192.168.1.20/24
                 -- $<TARGET_FILE:lab_http_clients>)
set_tests_properties(lab_http_clients PROPERTIES LABELS lab TIMEOUT 300)
