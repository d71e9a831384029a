#!/usr/bin/env bash
# Starts Vornik in a Wine virtual desktop with a taskbar, on a private Xvfb,
# and saves PNG screenshots of what a user sees: the tray icon with its tip,
# the open popup, the hint box of a double-click and the refusal of a second
# copy. Then quits Vornik through its menu.
#
#   scripts/screenshots.sh [output folder]   (default: docs/screenshots)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out=$(realpath -m "${1:-docs/screenshots}")
mkdir -p "$out"

scripts/install-deps.sh
scripts/build.sh win64 >/dev/null

# A Wine of its own, apart from the tests' one: its desktop setting differs.
export VORNIK_WINE_DIR="$root/build/wine-shots"
export VORNIK_DISPLAY=private
source scripts/wine-env.sh
trap vornik_wine_down EXIT
vornik_wine_up_with_taskbar

work="$root/build/shots"
rm -rf "$work"
mkdir -p "$work/first" "$work/second"
cp build/win64/bin/Vornik.exe "$work/first/Vornik.exe"
cp build/win64/bin/Vornik.exe "$work/second/Vornik.exe"

xdo() { xdotool "$@"; }
shot() { import -display "$DISPLAY" -window root "$work/screen.png"; }
# crop <name> <geometry WxH+X+Y>: a part of the screen, twice its size.
crop() {
  convert "$work/screen.png" -crop "$2" +repage -filter point -resize 200% "$out/$1.png"
  echo "saved $out/$1.png"
}

# The centre of the pixels of the icon's red within a region of the screen:
# red <geometry WxH+X+Y>  ->  "x y"
red() {
  local geometry=$1 ox oy
  ox=$(echo "$geometry" | cut -d+ -f2)
  oy=$(echo "$geometry" | cut -d+ -f3)
  convert "$work/screen.png" -crop "$geometry" +repage txt:- | python3 -c '
import re, sys
ox, oy = int(sys.argv[1]), int(sys.argv[2])
points = []
for line in sys.stdin:
    m = re.match(r"(\d+),(\d+): \((\d+),(\d+),(\d+)", line)
    if m:
        x, y, r, g, b = map(int, m.groups())
        if r > 150 and g < 60 and b < 60:
            points.append((x, y))
if not points:
    sys.exit("no red pixels in the region")
xs, ys = [p[0] for p in points], [p[1] for p in points]
print(ox + (min(xs) + max(xs)) // 2, oy + (min(ys) + max(ys)) // 2)
' "$ox" "$oy"
}

"$WINE" "$work/first/Vornik.exe" &
vornik=$!
sleep 4

# The desktop fills the top left 1024 x 768 of the screen; the notification
# area is at the right end of the taskbar along its bottom.
shot
read -r ix iy < <(red 400x40+624+728)
echo "tray icon at $ix,$iy"

# The icon, with its tip after the pointer rests on it.
xdo mousemove "$ix" "$iy"
sleep 2.5
shot
crop tray-icon 160x56+864+712

# A right click opens the popup left of the cursor (above it: there is no room
# below); a click elsewhere closes it.
xdo mousemove "$ix" "$iy" sleep 0.2 click 3
sleep 1.5
shot
crop popup 440x200+584+568
xdo mousemove 400 300 sleep 0.2 click 1
sleep 1

# A left double-click answers with the hint that there is no window.
xdo mousemove "$ix" "$iy" sleep 0.2 click --repeat 2 --delay 80 1
sleep 2
shot
crop hint-box 400x140+312+302
xdo key Return
sleep 1

# A second copy is refused and ends.
"$WINE" "$work/second/Vornik.exe" &
second=$!
sleep 3
shot
crop second-copy-box 400x140+312+302
xdo key Return
wait "$second" || true

# The exit item, the popup's last row. (In the virtual desktop the open popup
# gets no X keystrokes, so the item is clicked.)
xdo mousemove "$ix" "$iy" sleep 0.2 click 3
sleep 1.5
xdo mousemove $((ix - 100)) $((iy - 21)) sleep 0.3 click 1
status=0
wait "$vornik" || status=$?
echo "Vornik ended with exit code $status."
