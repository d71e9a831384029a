# The Windows program (32-bit product or 64-bit test build) and its tests.
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601)
# No MinGW runtime DLLs beside the exe: it must start on a bare Windows.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
# Exploit mitigations, asked for rather than left to the linker's defaults:
# ASLR (high-entropy on 64 bits), DEP, and stack canaries, whose runtime
# (libssp) is linked statically like the rest.
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-fstack-protector-strong>)
add_link_options(-fstack-protector-strong -Wl,--dynamicbase -Wl,--nxcompat)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
endif()

add_library(vornik_win STATIC
  src/common/message_box.cpp
  src/common/process_paths.cpp
  src/common/system_library.cpp
  src/app/lifecycle.cpp
  src/app/main_window.cpp
  src/app/on_created.cpp
  src/app/single_instance.cpp
  src/assets/playback.cpp
  src/assets/wave_out.cpp
  src/forcestop/force_stop.cpp
  src/forcestop/foreground.cpp
  src/forcestop/hotkeys.cpp
  src/forcestop/last_result.cpp
  src/forcestop/process_lookup.cpp
  src/tray/help.cpp
  src/tray/settings.cpp
  src/tray/startup_entry.cpp
  src/tray/tray_icon.cpp
  src/tray/tray_menu.cpp
)
vornik_embed(vornik_win TrayIconFile src/assets/tray_icon.ico)
target_link_libraries(vornik_win PUBLIC vornik_portable
  user32 gdi32 shell32 ole32 oleaut32 uuid advapi32)

include(cmake/resources.cmake)
add_executable(Vornik WIN32 src/app/main.cpp)
target_link_libraries(Vornik PRIVATE vornik_win vornik_resources)

if(VORNIK_TESTS)
  include(tests/windows_tests.cmake)
endif()
