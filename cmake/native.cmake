# Native Linux build of the platform-free code, under ASan and UBSan.
set(VORNIK_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(vornik_portable PUBLIC ${VORNIK_SANITIZE})
target_link_options(vornik_portable PUBLIC ${VORNIK_SANITIZE})

if(VORNIK_TESTS)
  enable_testing()
  include(/usr/lib/cmake/doctest/doctest.cmake)
  add_executable(unit_tests
    tests/unit/main.cpp
    tests/unit/texts_test.cpp
    tests/unit/common_test.cpp
    tests/unit/result_report_test.cpp
  )
  target_link_libraries(unit_tests PRIVATE vornik_portable)
  target_include_directories(unit_tests SYSTEM PRIVATE /usr/include/doctest)
  doctest_discover_tests(unit_tests)
endif()
