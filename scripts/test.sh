#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests under the
# sanitizers, then the Windows tests under Wine, then fuzzes the file parsers.
# Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/install-deps.sh
scripts/build.sh native win64 product

source scripts/wine-env.sh
trap vornik_wine_down EXIT
# Wine's helper processes start here, before ctest, so that none of them holds
# ctest's output pipe open.
vornik_wine_up

status=0
ctest --preset native || status=1
ctest --preset win64 || status=1
# A short fuzzing run of the WAV and ICO parsers (scripts/fuzz.sh alone runs longer).
scripts/fuzz.sh 30 || status=1
exit $status
