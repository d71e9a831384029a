#!/usr/bin/env bash
# Builds Vornik and starts it under Wine, in a Wine virtual desktop that shows a
# taskbar with the notification area. Uses $DISPLAY when there is one, else a
# private Xvfb whose screen a screenshot shows, e.g.
#   import -display <display> -window root screen.png
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/install-deps.sh
scripts/build.sh win64

export VORNIK_WINE_DIR="$root/build/wine-desktop"
export VORNIK_DISPLAY=inherit
source scripts/wine-env.sh
vornik_wine_up_with_taskbar

target="$root/build/run"
mkdir -p "$target"
cp build/win64/bin/Vornik.exe "$target/Vornik.exe"
echo "Vornik runs on display $DISPLAY, in Wine's virtual desktop (1024x768)."
echo "Its icon is in the desktop's notification area: right-click it for the menu."
echo "Control+Windows+Escape (or the menu's exit item) quits; a screenshot:"
echo "  import -display $DISPLAY -window root vornik.png"
"$WINE" "$target/Vornik.exe"
echo "Vornik ended with exit code $?."
