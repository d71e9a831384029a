# Sourced by the scripts that run Windows programs: one Wine of the project's
# own (prefix, locale, X display) under build/, created on first use and reused.
#
#   VORNIK_WINE_DIR   where it lives (default: <repo>/build/wine)
#   VORNIK_DISPLAY    "private" (default): an Xvfb of our own;
#                     "inherit": the caller's DISPLAY

VORNIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${VORNIK_WINE_DIR:=$VORNIK_ROOT/build/wine}"
: "${VORNIK_DISPLAY:=private}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

export WINEPREFIX="$VORNIK_WINE_DIR/prefix"
export WINEDEBUG=-all
# No Mono or Gecko installs, no desktop menu entries; and what a test adds in
# VORNIK_DLL_OVERRIDES. Wine reads them from the Unix environment a process
# starts with, which the Windows programs it starts inherit; a change to the
# Windows environment does not reach them.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${VORNIK_DLL_OVERRIDES:+;$VORNIK_DLL_OVERRIDES}"
export LOCPATH="$VORNIK_WINE_DIR/locale"

# A real zh_CN locale: Wine's ANSI code page is then 936, and files with
# Chinese names can be created.
vornik_locale_up() {
  if [ ! -e "$LOCPATH/zh_CN.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$LOCPATH"
    localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1 || true
  fi
  export LC_ALL=zh_CN.UTF-8
}

vornik_display_up() {
  if [ "$VORNIK_DISPLAY" = inherit ] && [ -n "${DISPLAY:-}" ]; then return; fi
  local pidfile="$VORNIK_WINE_DIR/xvfb.pid" dispfile="$VORNIK_WINE_DIR/xvfb.display"
  if [ -s "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null && [ -s "$dispfile" ]; then
    export DISPLAY=":$(cat "$dispfile")"
    return
  fi
  rm -f "$dispfile"
  # -displayfd picks a free display and reports it once the server is ready.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$dispfile" </dev/null >/dev/null 2>&1 &
  echo $! >"$pidfile"
  for _ in $(seq 200); do [ -s "$dispfile" ] && break; sleep 0.05; done
  export DISPLAY=":$(tr -d '\n' <"$dispfile")"
}

# Starts a persistent wineserver and Wine's own helper processes with their
# output detached, so they never hold a test runner's pipes open.
vornik_wine_up() {
  mkdir -p "$VORNIK_WINE_DIR"
  exec 9>"$VORNIK_WINE_DIR/.lock"
  flock 9
  vornik_locale_up
  vornik_display_up
  setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  setsid "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
  flock -u 9
  exec 9>&-
}

# The same, in a virtual desktop named "shell": it comes with a taskbar and a
# notification area, as a user's Windows has.
vornik_wine_up_with_taskbar() {
  vornik_wine_up
  "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  vornik_wine_up
}

vornik_wine_down() {
  if [ -d "$WINEPREFIX" ]; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
  fi
  local pidfile="$VORNIK_WINE_DIR/xvfb.pid"
  if [ -s "$pidfile" ]; then
    kill "$(cat "$pidfile")" 2>/dev/null || true
    rm -f "$pidfile" "$VORNIK_WINE_DIR/xvfb.display"
  fi
}
