# One GoogleTest program per folder; each test case runs as its own ctest entry.
include(GoogleTest)
find_package(GTest REQUIRED)

# zenx_add_test(NAME name SOURCES ... LIBS ...)
function(zenx_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE zenx_testsupport ${T_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
