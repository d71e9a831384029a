#!/usr/bin/env bash
# Builds Vornik and the benchmark programs, runs the benchmark under the
# project's Wine and prints its tables (Markdown) on stdout; progress goes to
# stderr. Options are passed on: --quick for a short run while iterating,
# --runs N --block N --extra N --starts N --idle S --stops N for finer control,
# --only latency,startup,idle,footprint for some sections, --vornik PATH (a
# Windows path) to measure another build of Vornik.exe.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/build.sh win64 product >&2

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'),"\
  "$(awk '/^MemTotal/ {printf "%.0f", $2 / 1048576}' /proc/meminfo) GiB; $(uname -sr);"\
  "$(/usr/lib/wine/wine64 --version)."
echo "Load average at start: $(cut -d' ' -f1-3 /proc/loadavg)."
echo

source scripts/wine-env.sh
trap vornik_wine_down EXIT
vornik_wine_up
"$WINE" build/win64/bin/vornik_bench.exe "$@"
