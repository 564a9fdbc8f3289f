# shellcheck shell=bash
# Shared helpers for the scripts in this folder. Source it; it sets:
#   VENBROOK_ROOT   the repository root
#   VENBROOK_CACHE  the untracked cache folder (.cache/ at the root)
#   WINEPREFIX ...  the project's Wine environment (see venbrook_wine_env)

VENBROOK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VENBROOK_CACHE=$VENBROOK_ROOT/.cache

venbrook_log() { printf '[%s] %s\n' "${VENBROOK_LOG_TAG:-venbrook}" "$*" >&2; }
venbrook_die() { printf '[%s] error: %s\n' "${VENBROOK_LOG_TAG:-venbrook}" "$*" >&2; exit 1; }

# The project's own Wine prefix, 64-bit, quiet, and without the Mono/Gecko
# install prompts that otherwise stall the first start of a new prefix.
venbrook_wine_env() {
  export WINEPREFIX=${VENBROOK_WINEPREFIX:-$VENBROOK_CACHE/wine}
  export WINEARCH=win64
  export WINEDEBUG=${VENBROOK_WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Start the prefix's wineserver and its session processes (services.exe,
# explorer.exe, ...) unless they already run. Those processes inherit the
# standard error of the Wine process that starts them and keep it open for as
# long as they live, so a test program that started them would keep ctest
# waiting on its output pipe; started here, they write to a log instead. The
# server lingers VENBROOK_WINESERVER_LINGER seconds (default 10) after the
# last program ends, so a test run starts them once. Needs venbrook_wine_env
# and a display.
venbrook_start_wineserver() {
  local lockfd
  mkdir -p "$VENBROOK_CACHE"
  exec {lockfd}>"$VENBROOK_CACHE/wineserver.lock"
  flock "$lockfd"
  # Exit status 0: a new server started (and detached); 2: one already runs.
  if wineserver -p"${VENBROOK_WINESERVER_LINGER:-10}" </dev/null >/dev/null 2>&1 {lockfd}>&-; then
    wine cmd.exe /c exit 0 </dev/null >>"$VENBROOK_CACHE/wine-session.log" 2>&1 {lockfd}>&- || true
  fi
  exec {lockfd}>&-
}

# True when $DISPLAY names an X server that answers.
venbrook_display_usable() {
  local d=${DISPLAY:-}
  [[ -n $d ]] || return 1
  if command -v xdpyinfo >/dev/null 2>&1; then
    xdpyinfo >/dev/null 2>&1
    return
  fi
  if [[ $d =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]]; then
    [[ -S /tmp/.X11-unix/X${BASH_REMATCH[2]} ]]
    return
  fi
  return 0   # a remote display we cannot probe without tools: trust it
}

# Make sure $DISPLAY is usable. Without one, use the project's shared Xvfb, a
# 4K screen so that the window fits whole at 200 % scaling
# (one server for every caller, started on demand and left running so that
# later calls cost nothing). Sets VENBROOK_XVFB_STARTED=1 when this call
# started the server.
venbrook_ensure_display() {
  VENBROOK_XVFB_STARTED=0
  venbrook_display_usable && return 0

  local dir=$VENBROOK_CACHE/xvfb lockfd pid n
  mkdir -p "$dir"
  exec {lockfd}>"$dir/lock"
  flock "$lockfd"

  if [[ -f $dir/display && -f $dir/pid ]]; then
    n=$(<"$dir/display")
    pid=$(<"$dir/pid")
    if [[ -n $n && -n $pid && -S /tmp/.X11-unix/X$n ]] && venbrook_is_xvfb "$pid"; then
      export DISPLAY=:$n
      exec {lockfd}>&-
      return 0
    fi
  fi

  command -v Xvfb >/dev/null 2>&1 || { exec {lockfd}>&-; venbrook_log "no usable DISPLAY and no Xvfb; run scripts/setup.sh"; return 1; }
  rm -f "$dir/display" "$dir/pid" "$dir/displayfd"
  # -displayfd: the server picks a free display number and writes it to fd 3.
  # Every descriptor of ours is closed or redirected, so no caller (ctest
  # reading a test's output, for one) waits on the server's lifetime.
  # setsid keeps it out of the caller's session (no SIGHUP or terminal
  # signals); called from a script, setsid execs in place, so $! is the server.
  setsid Xvfb -displayfd 3 -screen 0 3840x2160x24 -nolisten tcp -noreset \
    3>"$dir/displayfd" </dev/null >"$dir/xvfb.log" 2>&1 {lockfd}>&- &
  pid=$!
  local i
  for ((i = 0; i < 200; i++)); do
    n=$(head -n1 "$dir/displayfd" 2>/dev/null | tr -dc 0-9)
    [[ -n $n ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.025
  done
  if [[ -z $n ]]; then
    kill "$pid" 2>/dev/null
    exec {lockfd}>&-
    venbrook_log "Xvfb did not start; see $dir/xvfb.log"
    return 1
  fi
  echo "$n" > "$dir/display"
  echo "$pid" > "$dir/pid"
  export DISPLAY=:$n
  # A Wine session still running from before drew on a display that is gone
  # (its explorer.exe with it): end it, the next program starts a fresh one.
  if [[ -n ${WINEPREFIX:-} ]] && command -v wineserver >/dev/null 2>&1; then
    wineserver -k >/dev/null 2>&1 {lockfd}>&- || true
  fi
  # shellcheck disable=SC2034  # read by the callers
  VENBROOK_XVFB_STARTED=1
  exec {lockfd}>&-
  return 0
}

venbrook_is_xvfb() {   # a live (not zombie) Xvfb process with this id
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  [[ $stat == *"(Xvfb) "[!Z]* ]]
}

# Stop the shared Xvfb if it is running.
venbrook_stop_xvfb() {
  local dir=$VENBROOK_CACHE/xvfb pid
  [[ -f $dir/pid ]] || return 0
  pid=$(<"$dir/pid")
  if [[ -n $pid ]] && venbrook_is_xvfb "$pid"; then
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$dir/display" "$dir/pid" "$dir/displayfd"
}

# The time every date of a release build and its zips is taken from: the
# caller's SOURCE_DATE_EPOCH, else the last commit's. Exports it.
venbrook_source_date_epoch() {
  if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    SOURCE_DATE_EPOCH=$(git -C "$VENBROOK_ROOT" log -1 --format=%ct 2>/dev/null) \
      || venbrook_die "not a git checkout: set SOURCE_DATE_EPOCH to the sources' time (seconds since 1970)"
  fi
  [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] || venbrook_die "SOURCE_DATE_EPOCH is not a number of seconds: $SOURCE_DATE_EPOCH"
  export SOURCE_DATE_EPOCH
}
