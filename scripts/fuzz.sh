#!/usr/bin/env bash
# Fuzzes the parsers of WAV and ICO bytes with libFuzzer (the `fuzz` preset:
# clang, ASan + UBSan), each for the given seconds (default 180), starting from
# the committed assets, the kept regression inputs and the corpus of earlier
# runs. Corpora, logs and any crashing inputs go under build/fuzz/. Exits
# non-zero when a target finds anything.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-180}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

out=build/fuzz
# fuzz <name> <seed files...>
fuzz() {
  local name=$1
  shift
  local corpus=$out/corpus/$name findings=$out/findings/$name log=$out/$name.log
  local regressions=tests/fuzz/regressions/$name
  # Findings are this run's: a kept one belongs in $regressions.
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings"
  cp "$@" "$corpus/"
  if [ -d "$regressions" ]; then cp "$regressions"/* "$corpus/"; fi
  echo "fuzzing $name for $seconds s"
  local rc=0
  "$out/fuzz_$name" "$corpus" -dict="tests/fuzz/$name.dict" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 \
    >"$log" 2>&1 || rc=$?
  # The last status line (runs, coverage, corpus) and the totals.
  grep -E '^#[0-9]+' "$log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
    "$log" || true
  local found
  found=$(find "$findings" -type f | wc -l)
  echo "$name: findings $found"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    tail -n 40 "$log"
    echo "FUZZING FOUND A FAULT in $name (exit $rc): inputs in $findings, log in $log;" \
      "once fixed, keep the input in $regressions/" >&2
    status=1
  fi
}

status=0
fuzz wave_image src/assets/clips/*.wav
fuzz ico_file src/assets/tray_icon.ico
exit $status
