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
    tests/unit/wave_image_test.cpp
    tests/unit/result_report_test.cpp
    tests/unit/tray_test.cpp
    tests/unit/ico_test.cpp
    tests/unit/tray_event_test.cpp
  )
  vornik_embed(unit_tests TrayIconFile src/assets/tray_icon.ico)
  vornik_embed(unit_tests DefaultIcon16 src/assets/default_icon_16.dib)
  vornik_embed(unit_tests DefaultIcon32 src/assets/default_icon_32.dib)
  vornik_embed(unit_tests DefaultIcon48 src/assets/default_icon_48.dib)
  vornik_embed(unit_tests DefaultIconGroup src/assets/default_icon.grp)
  target_link_libraries(unit_tests PRIVATE vornik_portable)
  target_include_directories(unit_tests SYSTEM PRIVATE /usr/include/doctest)
  doctest_discover_tests(unit_tests)
endif()
