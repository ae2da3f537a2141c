# ct_wine_test(<name> SOURCES ... LIBS ...): a GoogleTest binary of the Windows build, run by
# ctest under wine64 (label "wine"). The tests of one build folder share one Wine prefix and
# run one at a time.
set(CT_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine/prefix)
function(ct_wine_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock gtest ct_wine_test_main ct_options)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name}
             COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/wine-run ${CT_WINE_PREFIX} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})  # a native Windows build runs them as they are
  endif()
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT ${ARG_TIMEOUT} RESOURCE_LOCK wine-prefix)
endfunction()
