#!/usr/bin/env bash
# Build the Windows program and start it under Wine on a demo database:
#   scripts/run.sh [--headless] [--wait SECONDS]
# The run folder build/run/ holds a copy of Venbrook.exe, its config.ini and
# the demo database demo/lwdiskless.db (made from scripts/demo.sql on first
# run). With a usable DISPLAY the program runs in the foreground until it is
# closed. Without one (or with --headless) it runs on an Xvfb display; after
# --wait seconds (default 6) a screenshot of its window is saved to
# build/run/screenshot.png and the program is closed.
set -euo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="run"
# shellcheck source=lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$VENBROOK_ROOT"

headless=0
wait_seconds=6
while (($#)); do
  case $1 in
    --headless) headless=1 ;;
    --wait) wait_seconds=${2:?--wait needs a number of seconds}; shift ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    *) venbrook_die "unknown argument: $1" ;;
  esac
  shift
done

bash scripts/setup.sh

venbrook_log "building the windows preset, target Venbrook"
mkdir -p build/logs
if ! { cmake --preset windows && cmake --build --preset windows --target Venbrook; } >build/logs/run-build.log 2>&1; then
  if grep -q "unknown target 'Venbrook'" build/logs/run-build.log; then
    venbrook_die "the Windows build has no Venbrook target (src/app/CMakeLists.txt), so there is no program to run yet"
  fi
  tail -n 40 build/logs/run-build.log >&2
  venbrook_die "building Venbrook.exe failed (log: build/logs/run-build.log)"
fi
exe=build/windows/src/app/Venbrook.exe
[[ -f $exe ]] || venbrook_die "the build finished but $exe does not exist; nothing to run"

run_dir=$VENBROOK_ROOT/build/run
mkdir -p "$run_dir/demo"
cp "$exe" "$run_dir/Venbrook.exe"

db=$run_dir/demo/lwdiskless.db
if [[ ! -f $db ]]; then
  venbrook_log "making the demo database $db"
  sqlite3 "$db.new" < scripts/demo.sql
  mv "$db.new" "$db"
fi

venbrook_wine_env
if ((headless)) || ! venbrook_display_usable; then
  headless=1
  unset DISPLAY
fi
venbrook_ensure_display || venbrook_die "no X display for Wine"
venbrook_start_wineserver

# config.ini as the program reads it: GBK text, CRLF lines, the database by
# its Windows path (Z: is the Linux root in Wine).
win_db=$(winepath -w "$db" 2>/dev/null)
[[ $win_db == [A-Za-z]:\\* ]] || venbrook_die "winepath gave no Windows path for $db"
printf '[config]\r\ndata=%s\r\n' "$win_db" | iconv -f UTF-8 -t GBK > "$run_dir/config.ini" \
  || venbrook_die "the path $win_db cannot be written in GBK"
venbrook_log "config.ini: data=$win_db"

cd "$run_dir"
if ((!headless)); then
  venbrook_log "starting Venbrook.exe on DISPLAY=$DISPLAY"
  exec wine Venbrook.exe
fi

venbrook_log "starting Venbrook.exe on the Xvfb display $DISPLAY"
wine Venbrook.exe >"$run_dir/wine.log" 2>&1 &
program=$!
for ((i = 0; i < wait_seconds * 4; i++)); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.25
done
if ! kill -0 "$program" 2>/dev/null; then
  rc=0
  wait "$program" || rc=$?
  cat "$run_dir/wine.log" >&2
  venbrook_die "Venbrook.exe ended by itself within $wait_seconds s (exit code $rc)"
fi

# The program's window alone: the largest top-level window of Venbrook.exe
# (the screen is far larger, and mostly black).
window=$(xwininfo -root -tree | awk '/\("venbrook\.exe"/ {
  split($0, g, /[ +]/); for (i in g) if (g[i] ~ /^[0-9]+x[0-9]+$/) { split(g[i], s, "x"); a = s[1] * s[2] }
  if (a > best) { best = a; id = $1 } } END { print id }')
if [[ -n $window ]]; then
  import -window "$window" "$run_dir/screenshot.png"
else
  venbrook_log "the program's window was not found; saving the whole screen"
  import -window root "$run_dir/screenshot.png"
fi
kill "$program" 2>/dev/null || true
for ((i = 0; i < 20; i++)); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  wineserver -k >/dev/null 2>&1 || true    # the prefix's Wine processes, this program among them
fi
wait "$program" 2>/dev/null || true
if ((VENBROOK_XVFB_STARTED)); then
  wineserver -k >/dev/null 2>&1 || true    # its session drew on the display that goes now
  venbrook_stop_xvfb
fi
venbrook_log "screenshot: $run_dir/screenshot.png"
