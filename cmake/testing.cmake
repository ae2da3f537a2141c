# ct_host_test(<name> SOURCES ... LIBS ...): a GoogleTest binary of the Linux build, label "host".
include(GoogleTest)
function(ct_host_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main ct_options)
  gtest_discover_tests(${name} PROPERTIES LABELS host DISCOVERY_TIMEOUT 60)
endfunction()
