# Windows test programs, run under Wine by ctest (the toolchain's emulator).
enable_testing()

add_library(test_driver STATIC
  tests/support/driver.cpp
  tests/support/own_tray_icon.cpp
  tests/support/test_main.cpp
  tests/support/version_resource.cpp
)
target_link_libraries(test_driver PUBLIC vornik_portable user32 shell32)
target_include_directories(test_driver SYSTEM PUBLIC /usr/include/doctest)
# The win32 thread model of mingw has no std::mutex.
target_compile_definitions(test_driver PUBLIC DOCTEST_CONFIG_NO_MULTITHREADING)
target_include_directories(test_driver PUBLIC tests/support)

# The program the force-stop tests aim at.
add_executable(fg_target WIN32 tests/support/target.cpp)
target_include_directories(fg_target PRIVATE tests/support)

# A system test drives the built Vornik.exe, which sits beside it in bin/.
function(vornik_system_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE test_driver)
  add_dependencies(${name} Vornik fg_target)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
endfunction()

# An in-process test links the program's own code.
function(vornik_win_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE vornik_win test_driver)
  add_dependencies(${name} fg_target)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
endfunction()

vornik_system_test(shell_system_test tests/system/shell_test.cpp)
vornik_system_test(forcestop_system_test tests/system/forcestop_test.cpp)
vornik_system_test(tray_system_test tests/system/tray_test.cpp)
vornik_win_test(main_window_test tests/win/main_window_test.cpp)
target_link_libraries(main_window_test PRIVATE vornik_resources)
vornik_win_test(force_stop_test tests/win/force_stop_test.cpp)
vornik_win_test(tray_win_test tests/win/tray_test.cpp)

# Reads the resources of this build's Vornik.exe and of the 32-bit product.
vornik_system_test(resources_system_test tests/system/resources_test.cpp)
target_link_libraries(resources_system_test PRIVATE version)
target_compile_definitions(resources_system_test PRIVATE
  VORNIK_PRODUCT_EXE="${CMAKE_SOURCE_DIR}/build/product/bin/Vornik.exe")

# Refuses the creation of the main window in every process, for the start-up failure test.
add_library(block_main_window_hook SHARED tests/support/block_main_window_hook.cpp)
target_link_libraries(block_main_window_hook PRIVATE vornik_portable user32)
set_target_properties(block_main_window_hook PROPERTIES PREFIX "")
add_dependencies(shell_system_test block_main_window_hook)

vornik_system_test(settings_system_test tests/system/settings_test.cpp)
vornik_system_test(startup_entry_system_test tests/system/startup_entry_test.cpp)
target_link_libraries(startup_entry_system_test PRIVATE ole32 uuid advapi32)
vornik_system_test(help_system_test tests/system/help_test.cpp)
target_link_libraries(help_system_test PRIVATE psapi)

# Exploit mitigations at work: a program with this build's flags overruns its stack.
add_executable(stack_overrun tests/support/stack_overrun.cpp)
vornik_system_test(mitigations_system_test tests/system/mitigations_test.cpp)
add_dependencies(mitigations_system_test stack_overrun)

include(tests/audio/audio_tests.cmake)

vornik_system_test(reentrancy_system_test tests/system/reentrancy_test.cpp)
vornik_system_test(hostile_settings_system_test tests/system/hostile_settings_test.cpp)
target_link_libraries(hostile_settings_system_test PRIVATE shell32)
vornik_system_test(soak_system_test tests/system/soak_test.cpp tests/support/process_figures.cpp)

# DLLs planted beside a copy of Vornik under the names of the system DLLs it
# uses (one marking DLL, copied under each name), and a program that loads
# them the unprotected way.
add_library(planted_dll SHARED tests/support/planted_dll.c)
set_target_properties(planted_dll PROPERTIES PREFIX "")
# Nothing but its entry point and kernel32: no C runtime, no canaries (whose
# runtime seeds itself through the crypto API under the loader lock).
target_compile_options(planted_dll PRIVATE -fno-stack-protector)
target_link_options(planted_dll PRIVATE -nostdlib -Wl,--entry=PlantedDllEntry)
target_link_libraries(planted_dll PRIVATE kernel32)
add_executable(dll_probe tests/support/dll_probe.cpp)

# Wine is told to take a DLL of these names found along the search path first
# (scripts/wine-env.sh). The planted version.dll case runs on its own, without
# Wine's audio drivers, which bind to it (see the test).
set(planted_version_case "a version.dll planted*")
add_executable(dll_planting_system_test tests/system/dll_planting_test.cpp)
target_link_libraries(dll_planting_system_test PRIVATE test_driver)
add_dependencies(dll_planting_system_test Vornik planted_dll dll_probe)
add_test(NAME dll_planting_system_test
  COMMAND dll_planting_system_test "-tce=${planted_version_case}")
add_test(NAME version_planting_system_test
  COMMAND dll_planting_system_test "-tc=${planted_version_case}")
set_tests_properties(dll_planting_system_test version_planting_system_test PROPERTIES
  RUN_SERIAL TRUE TIMEOUT 600)
vornik_listening_test(dll_planting_system_test)
set_property(TEST dll_planting_system_test APPEND PROPERTY ENVIRONMENT
  "VORNIK_DLL_OVERRIDES=version,winmm=n,b")
set_property(TEST version_planting_system_test PROPERTY ENVIRONMENT
  "VORNIK_DLL_OVERRIDES=version=n,b\\;winepulse.drv,winealsa.drv=d")
