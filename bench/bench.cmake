# Benchmark programs, built with the 64-bit Windows build and run by
# scripts/bench.sh (never by ctest).
add_executable(bench_floor WIN32 bench/floor.cpp)
target_link_libraries(bench_floor PRIVATE user32)
add_executable(bench_empty WIN32 bench/empty.cpp)
target_link_libraries(bench_empty PRIVATE user32)
add_executable(bench_empty_dlls WIN32 bench/empty.cpp)
target_compile_definitions(bench_empty_dlls PRIVATE VORNIK_BENCH_WITH_DLLS)
target_link_libraries(bench_empty_dlls PRIVATE user32 ole32 shell32 winmm advapi32)
add_executable(bench_idle WIN32 bench/idle.cpp)
add_executable(bench_target WIN32 bench/target.cpp)
target_link_libraries(bench_target PRIVATE user32)

add_executable(vornik_bench bench/vornik_bench.cpp bench/support.cpp
  tests/support/process_figures.cpp tests/support/own_tray_icon.cpp)
target_include_directories(vornik_bench PRIVATE tests/support)
target_link_libraries(vornik_bench PRIVATE vornik_portable user32 shell32)
add_dependencies(vornik_bench Vornik bench_floor bench_empty bench_empty_dlls bench_idle
  bench_target)
