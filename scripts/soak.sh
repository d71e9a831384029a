#!/usr/bin/env bash
# The long soak: one copy of Vornik through 2,000 force stops, 1,000 flips of
# each switch, 500 help boxes and 200 popups; prints what the process holds
# before and after. Usage: scripts/soak.sh [divisor]  (1, the default, is the
# full run; the test run uses 100). Builds the Windows tests first.
#
# It runs in a Wine of its own (build/wine-soak), so it can go on while the
# other tests run, and from copies of the programs, so a rebuild cannot pull
# them away under it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/build.sh win64
bin="$root/build/soak/bin"
mkdir -p "$bin"
cp build/win64/bin/soak_system_test.exe build/win64/bin/Vornik.exe build/win64/bin/fg_target.exe "$bin/"

export VORNIK_WINE_DIR="$root/build/wine-soak"
export VORNIK_SOAK_DIVISOR="${1:-1}"
source scripts/wine-env.sh
trap vornik_wine_down EXIT
vornik_wine_up
"$WINE" "$bin/soak_system_test.exe" 2> >(grep -v '^ALSA' >&2)
