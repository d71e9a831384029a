# libFuzzer targets of the parsers that read file bytes (the `fuzz` preset:
# clang, ASan + UBSan). Only these are built: the program's texts need GCC's
# -fexec-charset, which clang lacks. scripts/fuzz.sh runs them; ctest replays
# the committed assets and the kept regression inputs
# (tests/fuzz/regressions/<name>/) once each.
set(VORNIK_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
  -fno-omit-frame-pointer)
enable_testing()

# vornik_fuzz_target(<name> <source under test> <seed files...>)
function(vornik_fuzz_target name source)
  add_executable(fuzz_${name} tests/fuzz/${name}_fuzz.cpp ${source})
  target_include_directories(fuzz_${name} PRIVATE src tests/fuzz)
  target_compile_options(fuzz_${name} PRIVATE -Wall -Wextra ${VORNIK_FUZZ_FLAGS})
  target_link_options(fuzz_${name} PRIVATE ${VORNIK_FUZZ_FLAGS})
  file(GLOB regressions CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/regressions/${name}/*)
  add_test(NAME fuzz_${name}_replay COMMAND fuzz_${name} ${ARGN} ${regressions})
endfunction()

file(GLOB clips ${CMAKE_SOURCE_DIR}/src/assets/clips/*.wav)
vornik_fuzz_target(wave_image src/assets/wave_image.cpp ${clips})
vornik_fuzz_target(ico_file src/tray/ico_file.cpp ${CMAKE_SOURCE_DIR}/src/assets/tray_icon.ico)
