#!/usr/bin/env bash
# Fuzz the core's text handling with libFuzzer:
#   scripts/fuzz.sh [seconds-per-target]          (default 60)
# Builds the targets of fuzz/ with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build/fuzz/, then runs each for the given
# time, starting from its committed seeds (fuzz/corpus/<target>/) and what
# earlier runs here learnt (build/fuzz/corpus/<target>/, never committed).
# Each target also checks its properties on every input (see the head of
# fuzz/<target>_fuzz.cpp). fuzz/<target>.dict and fuzz/<target>.options (one
# line of further libFuzzer options) are used when present.
#
# From the environment:
#   VENBROOK_FUZZ_TARGETS  targets to run, space-separated (default: all eleven)
#   VENBROOK_FUZZ_RUNS     also stop a target after this many executions
#   VENBROOK_FUZZ_JOBS     targets run at the same time (default 1)
#   VENBROOK_FUZZ_OUT      the folder for builds, corpora, findings and logs
#                          (default build/fuzz)
#
# Prints a line per target: executions, seconds, executions per second and
# findings. A finding (a failed property, a sanitizer report, a crash, a
# leak, a time-out) is kept as build/fuzz/findings/<target>/<kind>-<hash>
# and makes the script exit 1; replay it with
#   build/fuzz/<target> build/fuzz/findings/<target>/<kind>-<hash>
# Logs: build/fuzz/logs/<target>.log. A second run in the same folder started
# meanwhile waits for the first to end.
set -uo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="fuzz"
# shellcheck source=lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$VENBROOK_ROOT" || exit 1

SECONDS_PER_TARGET=${1:-60}
[[ $SECONDS_PER_TARGET =~ ^[0-9]+$ && $SECONDS_PER_TARGET -gt 0 ]] \
  || venbrook_die "usage: $0 [seconds-per-target]"
read -r -a TARGETS <<<"${VENBROOK_FUZZ_TARGETS:-rename_rule file_name text_codec profile_file text_list workbook aligned_table blocks typed_names json_records xml_records}"
JOBS=${VENBROOK_FUZZ_JOBS:-1}
OUT=${VENBROOK_FUZZ_OUT:-build/fuzz}

command -v clang++ >/dev/null || venbrook_die "clang++ is missing; run scripts/setup.sh"

# One run at a time: runs share the build, the corpus, the findings and the logs.
mkdir -p "$OUT/logs"
exec {lockfd}>"$OUT/.lock"
if ! flock -n "$lockfd"; then
  venbrook_log "another fuzz run is using $OUT; waiting for it to end"
  flock "$lockfd"
fi

venbrook_log "building the fuzz targets"
if ! { cmake -S fuzz -B "$OUT" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
       && cmake --build "$OUT"; } >"$OUT/logs/build.log" 2>&1; then
  tail -n 40 "$OUT/logs/build.log" >&2
  venbrook_die "building the fuzz targets failed (log: $OUT/logs/build.log)"
fi

run_target() {   # run_target <target>: writes $OUT/logs/<target>.{log,result}
  local target=$1 t0=$SECONDS
  local findings=$OUT/findings/$target
  mkdir -p "$OUT/corpus/$target" "$findings"
  local options=(-max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048
                 -print_final_stats=1 -artifact_prefix="$findings/")
  [[ -n ${VENBROOK_FUZZ_RUNS:-} ]] && options+=(-runs="$VENBROOK_FUZZ_RUNS")
  [[ -f fuzz/$target.dict ]] && options+=(-dict="fuzz/$target.dict")
  # A target's own libFuzzer options, one line (e.g. room for long inputs).
  if [[ -f fuzz/$target.options ]]; then
    local extra
    read -r -a extra <"fuzz/$target.options"
    options+=("${extra[@]}")
  fi
  "$OUT/$target" "${options[@]}" "$OUT/corpus/$target" "fuzz/corpus/$target" >"$OUT/logs/$target.log" 2>&1
  local rc=$?
  local runs rate kept
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$OUT/logs/$target.log" | tail -n1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$OUT/logs/$target.log" | tail -n1)
  kept=$(find "$findings" -newer "$OUT/logs/build.log" -type f \
           \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  if ((rc != 0)) && ((kept == 0)); then kept=1; fi   # ended badly without saving an input
  printf '%s %s %s %s %s\n' "${runs:-0}" "$((SECONDS - t0))" "${rate:-0}" "$kept" "$rc" >"$OUT/logs/$target.result"
}

venbrook_log "running ${TARGETS[*]}: ${SECONDS_PER_TARGET} s each${VENBROOK_FUZZ_RUNS:+ or $VENBROOK_FUZZ_RUNS executions}, $JOBS at a time"
rm -f "$OUT"/logs/*.result
running=0
for target in "${TARGETS[@]}"; do
  [[ -x $OUT/$target ]] || venbrook_die "no fuzz target '$target'"
  run_target "$target" &
  running=$((running + 1))
  if ((running >= JOBS)); then
    wait -n
    running=$((running - 1))
  fi
done
wait

FAILED=0
printf '%-14s %14s %8s %10s  %s\n' target executions seconds "exec/s" findings
for target in "${TARGETS[@]}"; do
  if [[ ! -f $OUT/logs/$target.result ]]; then
    printf '%-14s did not run\n' "$target"
    FAILED=1
    continue
  fi
  read -r runs took rate kept rc <"$OUT/logs/$target.result"
  printf '%-14s %14s %8s %10s  %s\n' "$target" "$runs" "$took" "$rate" \
    "$( ((kept == 0)) && echo none || echo "$kept (exit $rc): see $OUT/findings/$target/ and $OUT/logs/$target.log")"
  ((kept == 0)) || FAILED=1
done
if ((FAILED)); then
  echo "FUZZ RESULT: FINDINGS"
else
  echo "FUZZ RESULT: clean"
fi
exit "$FAILED"
