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
# The product has 256 KiB, 140 of them sound clips: optimise for size, and let
# the linker drop every function and datum that nothing uses.
string(REPLACE "-O3" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-Wl,--gc-sections)
# The program's own code neither throws nor catches (src/app/lean_runtime.cpp);
# the test programs keep exceptions, which their framework needs. On 32 bits
# unwind tables serve only exceptions; 64-bit Windows needs them to walk stacks.
# The runtime's guard for function-local statics throws too; the program needs
# none: each of its function-local statics is first reached on the GUI thread,
# before any other thread of the program exists or can reach it.
set(VORNIK_NO_EXCEPTIONS -fno-exceptions -fno-threadsafe-statics)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND VORNIK_NO_EXCEPTIONS -fno-asynchronous-unwind-tables)
endif()
# (vornik_portable exists already, so the directory's options miss it.)
target_compile_options(vornik_portable PRIVATE -ffunction-sections -fdata-sections
  ${VORNIK_NO_EXCEPTIONS})

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
target_compile_options(vornik_win PRIVATE ${VORNIK_NO_EXCEPTIONS})
target_link_libraries(vornik_win PUBLIC vornik_portable
  user32 gdi32 shell32 ole32 oleaut32 uuid advapi32)

include(cmake/resources.cmake)
add_executable(Vornik WIN32 src/app/main.cpp src/app/lean_runtime.cpp)
target_compile_options(Vornik PRIVATE ${VORNIK_NO_EXCEPTIONS})
target_link_libraries(Vornik PRIVATE vornik_win vornik_resources)

if(VORNIK_TESTS)
  include(tests/windows_tests.cmake)
  include(bench/bench.cmake)
endif()
