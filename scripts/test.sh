#!/usr/bin/env bash
# Build and test everything, the way CI does:
#   scripts/test.sh
# Prepares the machine (scripts/setup.sh), then configures and builds the
# presets linux, linux-asan, windows and windows-x86, and runs the tests of
# all four (the Windows tests of both architectures under Wine). Then the
# release packages are made (scripts/package.sh), the program test runs on the
# program unpacked from each zip, and the 64-bit package is built again in
# another folder and compared byte for byte. The benchmarks run once each at
# their smallest size (scripts/bench.sh --smoke), and each fuzz target for a
# few seconds (scripts/fuzz.sh; VENBROOK_CI_FUZZ_SECONDS, default 5). Exits
# non-zero if any step fails or the fuzzers find anything; logs of each step
# are in build/logs/.
set -uo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="test"
# shellcheck source=lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$VENBROOK_ROOT" || exit 1

BUILD_PRESETS=(linux linux-asan windows windows-x86)
TEST_PRESETS=(linux linux-asan windows windows-x86)

LOGS=build/logs
mkdir -p "$LOGS"
declare -A RESULT=()
FAILED=0
TESTS_PASSED=0
TESTS_FAILED=0
TESTS_SKIPPED=0
START=$SECONDS

step() {   # step <key> <log file> <command...>: run quietly, show the log's end on failure
  local key=$1 log=$2 t0=$SECONDS
  shift 2
  if "$@" >"$log" 2>&1; then
    RESULT[$key]="ok ($((SECONDS - t0)) s)"
    return 0
  fi
  RESULT[$key]="FAILED ($((SECONDS - t0)) s, $log)"
  FAILED=1
  echo "----- $key failed; last lines of $log -----"
  tail -n 60 "$log"
  echo "-----"
  return 1
}

venbrook_log "setup"
if ! bash scripts/setup.sh; then
  venbrook_die "scripts/setup.sh failed"
fi

for preset in "${BUILD_PRESETS[@]}"; do
  venbrook_log "configure + build: $preset"
  step "$preset:configure" "$LOGS/$preset-configure.log" cmake --preset "$preset" \
    && step "$preset:build" "$LOGS/$preset-build.log" cmake --build --preset "$preset"
done

# Windows programs open real windows: give Wine a display for the run.
venbrook_wine_env
if ! venbrook_ensure_display; then
  RESULT[display]="FAILED (no X display for Wine)"
  FAILED=1
fi
started_xvfb=$VENBROOK_XVFB_STARTED
# shellcheck disable=SC2317  # called by the EXIT trap
cleanup() {
  if ((started_xvfb)); then
    wineserver -k >/dev/null 2>&1 || true   # the prefix's own Wine processes
    venbrook_stop_xvfb
  fi
}
trap cleanup EXIT

for preset in "${TEST_PRESETS[@]}"; do
  if [[ ${RESULT[$preset:build]:-} != ok* ]]; then
    RESULT[$preset:test]="not run (build failed)"
    continue
  fi
  venbrook_log "test: $preset"
  log=$LOGS/$preset-test.log
  t0=$SECONDS
  ctest --preset "$preset" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  # "100% tests passed, 0 tests failed out of 42"
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  # ctest counts a skipped test as passed; its closing list names each one.
  skipped=$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log")
  if [[ -n $line ]]; then
    TESTS_PASSED=$((TESTS_PASSED + total - failed - skipped))
    TESTS_SKIPPED=$((TESTS_SKIPPED + skipped))
    TESTS_FAILED=$((TESTS_FAILED + failed))
  fi
  if ((rc == 0)) && [[ -n $line ]]; then
    RESULT[$preset:test]="ok: $((total - failed - skipped)) passed, $skipped skipped ($((SECONDS - t0)) s)"
  else
    RESULT[$preset:test]="FAILED: ${failed:-?} of ${total:-?} failed, ctest exit $rc ($log)"
    FAILED=1
  fi
done

# The release packages (scripts/package.sh): both programs built Release,
# stripped and zipped into dist/. The program test then starts the
# Venbrook.exe unpacked from each zip (through VENBROOK_PROGRAM_FILE), so the
# shipped bytes are tested; and a second build of the 64-bit package, in a
# copy of the tree elsewhere, must give the same bytes as the first.
venbrook_log "package"
if step package "$LOGS/package.log" bash scripts/package.sh --no-setup; then
  for preset in windows windows-x86; do
    arch=win64
    [[ $preset == windows-x86 ]] && arch=win32
    if [[ " ${TEST_PRESETS[*]} " != *" $preset "* || ${RESULT[$preset:build]:-} != ok* ]]; then
      RESULT[$arch:packaged]="not run (no $preset tests here)"
      continue
    fi
    exe=$(compgen -G "build/package/unpacked/*-$arch/Venbrook.exe" | head -n1)
    venbrook_log "test: venbrook_program_tests on $exe"
    if step "$arch:packaged" "$LOGS/packaged-$arch-test.log" env VENBROOK_PROGRAM_FILE="$VENBROOK_ROOT/$exe" \
         ctest --preset "$preset" -R '^venbrook_program_tests$'; then
      TESTS_PASSED=$((TESTS_PASSED + 1))
    else
      TESTS_FAILED=$((TESTS_FAILED + 1))
    fi
  done
  venbrook_log "reproducible: the win64 package built again elsewhere"
  step reproducible "$LOGS/reproducible.log" bash scripts/check_reproducible.sh --against-dist --arch win64
fi

# Benchmarks: each once at its smallest size, natively and under Wine
# (scripts/bench.sh --smoke): proof that they run; no speed is asserted.
venbrook_log "bench smoke"
step bench "$LOGS/bench-smoke.log" bash scripts/bench.sh --smoke

# Fuzzing: every target of fuzz/ for a few seconds; a finding fails the run.
# (A folder of its own: a long fuzzing run in build/fuzz does not hold it up.)
venbrook_log "fuzz"
step fuzz "$LOGS/fuzz.log" env VENBROOK_FUZZ_OUT=build/fuzz-ci bash scripts/fuzz.sh "${VENBROOK_CI_FUZZ_SECONDS:-5}"

echo
echo "================ summary ($((SECONDS - START)) s) ================"
for preset in "${BUILD_PRESETS[@]}"; do
  printf '%-12s configure: %s\n' "$preset" "${RESULT[$preset:configure]:-not run}"
  printf '%-12s build:     %s\n' "" "${RESULT[$preset:build]:-not run}"
  printf '%-12s tests:     %s\n' "" "${RESULT[$preset:test]:-not run}"
done
printf '%-12s %s\n' bench "${RESULT[bench]:-not run}"
printf '%-12s %s\n' fuzz "${RESULT[fuzz]:-not run}"
[[ -f $LOGS/fuzz.log ]] && sed -n '/^target /,/^FUZZ RESULT/p' "$LOGS/fuzz.log" | sed 's/^/    /'
printf '%-12s %s\n' package "${RESULT[package]:-not run}"
for arch in win64 win32; do
  printf '%-12s %s\n' "" "program test of the $arch zip: ${RESULT[$arch:packaged]:-not run}"
done
printf '%-12s %s\n' reproducible "${RESULT[reproducible]:-not run}"
[[ -f $LOGS/package.log ]] && sed -n '/^\[package\] dist\//,$p' "$LOGS/package.log" | sed 's/^/    /'
[[ -n ${RESULT[display]:-} ]] && echo "display: ${RESULT[display]}"
if ((FAILED)); then
  echo "RESULT: FAILED"
else
  echo "RESULT: all builds and tests passed"
fi
echo "tests: $TESTS_PASSED passed, $TESTS_FAILED failed, $TESTS_SKIPPED skipped"
exit "$FAILED"
