# ct_wine_test(<name> SOURCES ... LIBS ... [PREFIX <folder>] [ENVIRONMENT <var=value>...]): a
# GoogleTest binary of the Windows build, run by ctest under wine64 (label "wine"). The tests of
# one build folder share one Wine prefix, unless one asks for a prefix of its own (for another
# user or locale, given in ENVIRONMENT), and run one at a time.
set(CT_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine/prefix)
function(ct_wine_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT;PREFIX" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 600)
  endif()
  if(NOT ARG_PREFIX)
    set(ARG_PREFIX ${CT_WINE_PREFIX})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock gtest ct_wine_test_main ct_options)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name}
             COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/wine-run ${ARG_PREFIX} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})  # a native Windows build runs them as they are
  endif()
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT ${ARG_TIMEOUT} RESOURCE_LOCK wine-prefix
                       ENVIRONMENT "${ARG_ENVIRONMENT}")
endfunction()
