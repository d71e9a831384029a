# The Windows program (32-bit product or 64-bit test build) and its tests.
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601)
# No MinGW runtime DLLs beside the exe: it must start on a bare Windows.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

add_library(vornik_win STATIC
  src/common/message_box.cpp
  src/common/process_paths.cpp
  src/app/lifecycle.cpp
  src/app/main_window.cpp
  src/app/on_created.cpp
  src/app/single_instance.cpp
  src/assets/playback.cpp
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
  user32 gdi32 shell32 ole32 oleaut32 uuid advapi32 version winmm)

include(cmake/resources.cmake)
add_executable(Vornik WIN32 src/app/main.cpp)
target_link_libraries(Vornik PRIVATE vornik_win vornik_resources)

if(VORNIK_TESTS)
  include(tests/windows_tests.cmake)
  include(bench/bench.cmake)
endif()
