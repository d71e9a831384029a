#!/usr/bin/env bash
# A private PulseAudio server with one null sink, and a recorder of what the
# sink plays, for the tests that listen to Vornik.
#
#   audio_server.sh start <dir>          server on unix:<dir>/native, sink "vornik"
#   audio_server.sh record <dir> <file>  records the sink (s16le, 44100 Hz, stereo)
#                                        into <file>; returns once it is recording
#   audio_server.sh stop-record <dir>    ends the recording, flushing the file
#   audio_server.sh stop <dir>           ends the recorder and the server
set -euo pipefail
command=$1
dir=$2
export PULSE_SERVER="unix:$dir/native"
export XDG_RUNTIME_DIR="$dir" HOME="$dir"

# Waits until `$1` (a test command) holds, for at most `$2` tenths of a second.
wait_for() {
  for _ in $(seq "$2"); do eval "$1" && return 0; sleep 0.1; done
  return 1
}

stop_pid() {  # <pid file> <signal>
  [ -s "$1" ] || return 0
  local pid
  pid=$(cat "$1")
  kill -"$2" "$pid" 2>/dev/null || true
  wait_for "! kill -0 $pid 2>/dev/null" 50 || kill -KILL "$pid" 2>/dev/null || true
  rm -f "$1"
}

case "$command" in
  start)
    mkdir -p "$dir"
    # What an interrupted run may have left behind.
    stop_pid "$dir/parec.pid" INT
    stop_pid "$dir/server.pid" TERM
    # Detached from the caller's pipes, so that no test runner waits on it.
    setsid pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
      --use-pid-file=no --log-target=stderr \
      --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
      --load="module-null-sink sink_name=vornik rate=44100" \
      --load=module-always-sink </dev/null >"$dir/server.log" 2>&1 &
    echo $! >"$dir/server.pid"
    wait_for "pactl info >/dev/null 2>&1" 100
    ;;
  record)
    file=$3
    rm -f "$file"
    setsid parec -d vornik.monitor --format=s16le --rate=44100 --channels=2 --raw \
      --latency-msec=20 </dev/null >"$file" 2>"$dir/parec.log" &
    echo $! >"$dir/parec.pid"
    # The recorder takes a moment to start; until then, and until the sink
    # has been told the recorder's short latency, what plays is lost. Wait for
    # 0.3 s of recorded silence.
    wait_for '[ "$(stat -c %s "$file" 2>/dev/null || echo 0)" -ge 52920 ]' 100
    ;;
  stop-record)
    # parec flushes what it holds on SIGINT; a plain kill can lose it all.
    stop_pid "$dir/parec.pid" INT
    ;;
  stop)
    stop_pid "$dir/parec.pid" INT
    stop_pid "$dir/server.pid" TERM
    ;;
  *)
    echo "unknown command: $command" >&2
    exit 2
    ;;
esac
