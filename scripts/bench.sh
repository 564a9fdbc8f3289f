#!/usr/bin/env bash
# Run every benchmark and print one table (case, rows, ours, baseline, ratio,
# target, met):
#   scripts/bench.sh           the full run, about 2 minutes on 2 cores
#   scripts/bench.sh --smoke   each benchmark once at its smallest size: the
#                              proof that they work, as CI runs it; it
#                              measures nothing and fails only when a
#                              benchmark fails
# Natively (a Release build in build/bench, Google Benchmark): the load of
# both products, the export, the rename rule and, in a process of its own,
# the peak memory of a 1,000,000-row load (250,000 rows from a workbook: the
# reader inflates no more than 64 MB), and the list's 全选, 反选 and 删除.
# Under Wine (the windows preset): a keystroke in the prefix box of the real
# window, and 全选, 反选 and 删除 of 100,000 rows there. Each case is measured
# beside its baseline in the same run. The databases are generated on first
# use and kept in build/bench/data. The table and the machine it ran on go
# to build/bench/results/table.md (build/bench/results-smoke/ for --smoke).
set -uo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="bench"
# shellcheck source=lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$VENBROOK_ROOT" || exit 1

smoke=0
case ${1:-} in
  "") ;;
  --smoke) smoke=1 ;;
  -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
  *) venbrook_die "unknown argument: $1 (usage: $0 [--smoke])" ;;
esac

BUILD=build/bench
DATA=$BUILD/data
if ((smoke)); then
  RESULTS=$BUILD/results-smoke
  NATIVE_ARGS=(--smoke)
  MEMORY_ROWS=500
  WORKBOOK_MEMORY_ROWS=500
  KEYSTROKE_ARGS=(--smoke)
  SELECTION_ARGS=(--smoke)
else
  RESULTS=$BUILD/results
  # Nine rounds each, in random order, so that a slow moment of the
  # machine falls on both sides of a comparison alike; the medians count.
  NATIVE_ARGS=(--benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
               --benchmark_min_time=0.2)
  MEMORY_ROWS=1000000
  # A workbook's parts inflate to about 230 bytes a row: 250,000 rows stay
  # within the 64 MB the reader inflates, a million do not.
  WORKBOOK_MEMORY_ROWS=250000
  KEYSTROKE_ARGS=(--rows=2000,10000,100000 --repetitions=15)
  SELECTION_ARGS=(--rows=100000 --repetitions=5)
fi
mkdir -p "$RESULTS" build/logs
rm -f "$RESULTS"/*.json "$RESULTS"/*.jsonl "$RESULTS"/table.md

# The full run prepares the machine itself; the smoke run is CI's, after
# scripts/test.sh has done so.
if ((!smoke)); then
  bash scripts/setup.sh || venbrook_die "scripts/setup.sh failed"
fi

run_logged() {   # run_logged <log> <command...>: quiet, the log's end on failure
  local log=$1
  shift
  if ! "$@" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    venbrook_die "failed: $* (log: $log)"
  fi
}

venbrook_log "building the native benchmarks (Release, $BUILD)"
run_logged build/logs/bench-native-build.log \
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
    -DVENBROOK_BUILD_BENCH=ON -DVENBROOK_BUILD_TESTS=OFF
run_logged build/logs/bench-native-build.log cmake --build "$BUILD" --target venbrook_bench

venbrook_log "building the window benchmarks (windows preset)"
if [[ ! -f build/windows/build.ninja ]]; then
  run_logged build/logs/bench-windows-configure.log cmake --preset windows
fi
run_logged build/logs/bench-windows-build.log cmake --build --preset windows \
  --target venbrook_keystroke_bench venbrook_selection_bench

failed=0
native() {   # native <name> <filter>: the native benchmarks the filter picks
  venbrook_log "native benchmarks: $1"
  if ! "$BUILD/bench/venbrook_bench" --data="$DATA" "${NATIVE_ARGS[@]}" --benchmark_filter="$2" \
         --benchmark_out="$RESULTS/native-$1.json" --benchmark_out_format=json >"build/logs/bench-$1.log" 2>&1; then
    tail -n 40 "build/logs/bench-$1.log" >&2
    failed=1
  fi
}
native main -per_row_rewrite

venbrook_log "peak memory of a $MEMORY_ROWS-row load, from the database, a text list and an aligned table," \
  "and of a $WORKBOOK_MEMORY_ROWS-row workbook"
if ! { "$BUILD/bench/venbrook_bench" --data="$DATA" --memory="$MEMORY_ROWS" \
       && "$BUILD/bench/venbrook_bench" --data="$DATA" --memory-text-list="$MEMORY_ROWS" \
       && "$BUILD/bench/venbrook_bench" --data="$DATA" --memory-aligned="$MEMORY_ROWS" \
       && "$BUILD/bench/venbrook_bench" --data="$DATA" --memory-workbook="$WORKBOOK_MEMORY_ROWS"; } \
       >"$RESULTS/memory.jsonl" \
       2>build/logs/bench-memory.log; then
  cat build/logs/bench-memory.log >&2
  failed=1
fi

venbrook_log "keystroke benchmark under Wine"
venbrook_wine_env
venbrook_ensure_display || venbrook_die "no X display for Wine"
started_xvfb=$VENBROOK_XVFB_STARTED
if ! scripts/wine-run.sh build/windows/bench/win32/venbrook_keystroke_bench.exe --data="$DATA" \
       "${KEYSTROKE_ARGS[@]}" >"$RESULTS/keystroke.jsonl" 2>build/logs/bench-keystroke.log; then
  cat build/logs/bench-keystroke.log >&2
  failed=1
fi
venbrook_log "selection benchmark under Wine"
if ! scripts/wine-run.sh build/windows/bench/win32/venbrook_selection_bench.exe --data="$DATA" \
       "${SELECTION_ARGS[@]}" >"$RESULTS/selection.jsonl" 2>build/logs/bench-selection.log; then
  cat build/logs/bench-selection.log >&2
  failed=1
fi
if ((started_xvfb)); then
  wineserver -k >/dev/null 2>&1 || true
  venbrook_stop_xvfb
fi

# Last: rewriting the file per row leaves a gigabyte of written pages for the
# system to flush, which would disturb whatever ran next.
native rewrite per_row_rewrite

{
  echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n1), $(nproc) cores," \
       "$(free -g | awk '/^Mem:/ {print $2}') GiB RAM; $(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
  echo "Compilers: $(gcc --version | head -n1); $(x86_64-w64-mingw32-g++-posix --version | head -n1)"
  echo "SQLite: system $(pkg-config --modversion sqlite3 2>/dev/null || echo '?') natively, amalgamation" \
       "$(sed -n 's/^#define SQLITE_VERSION  *"\([0-9.]*\)".*/\1/p' .cache/sqlite-amalgamation/sqlite3.h 2>/dev/null)" \
       "for Windows; $(wine --version 2>/dev/null) on Xvfb"
  echo "Run: $(date -u '+%Y-%m-%d %H:%M UTC'), load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$RESULTS/machine.txt"

report_args=("$RESULTS" --machine "$RESULTS/machine.txt")
((smoke)) && report_args+=(--smoke)
echo
cat "$RESULTS/machine.txt"
echo
python3 bench/report.py "${report_args[@]}" || failed=1
echo
echo "table and machine: $RESULTS/table.md"
exit "$failed"
