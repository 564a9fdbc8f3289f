#!/usr/bin/env bash
# Prove that the release packages are reproducible: build them twice, in two
# copies of this tree at different folders (and so at different times), and
# compare the two dist/ folders byte for byte:
#   scripts/check_reproducible.sh [--arch win64|win32]... [--against-dist]
# The copies (build/repro/first and build/repro/second-copy-elsewhere) hold
# this tree's files as they are, committed or not, with one SOURCE_DATE_EPOCH.
# With --against-dist the first build is the one scripts/package.sh just left
# in dist/, and only the second copy is built: the test run does that for
# win64 to spend one build, not two. On a difference, names the files that
# differ, the first (in name order) first, down to the zip entry and the
# program's section; exits 1.
set -euo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="reproducible"
# shellcheck source=lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$VENBROOK_ROOT"

archs=()
against_dist=0
while (($#)); do
  case $1 in
    --arch)
      [[ ${2:-} == win64 || ${2:-} == win32 ]] || venbrook_die "--arch takes win64 or win32"
      archs+=("$2"); shift ;;
    --against-dist) against_dist=1 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) venbrook_die "unknown argument: $1" ;;
  esac
  shift
done
((${#archs[@]})) || archs=(win64 win32)
arch_args=()
for arch in "${archs[@]}"; do arch_args+=(--arch "$arch"); done

venbrook_source_date_epoch

# A copy of the tree's files: what git tracks or would track (as they are in
# the working tree), and the libraries' sources the Windows build compiles.
copy_tree() {
  local dest=$1 file
  rm -rf "$dest"
  mkdir -p "$dest/.cache"
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard \
      | while IFS= read -r -d '' file; do [[ -e $file || -L $file ]] && printf '%s\0' "$file"; done \
      | xargs -0 cp -P --parents -t "$dest"
  else
    tar -C "$VENBROOK_ROOT" --exclude=./build --exclude=./dist --exclude=./.cache -cf - . | tar -C "$dest" -xf -
  fi
  cp -r .cache/sqlite-amalgamation .cache/minizip-1.1 .cache/expat-2.5.0 .cache/rapidjson-1.1.0 "$dest/.cache/"
}

build_copy() {   # build_copy <folder>: a copy of the tree, packaged there
  local dest=$1 log=build/logs/reproducible-${1##*/}.log
  venbrook_log "packaging ${arch_args[*]} in $dest (log: $log)"
  copy_tree "$dest"
  if ! bash "$dest/scripts/package.sh" --no-setup "${arch_args[@]}" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    venbrook_die "packaging in $dest failed (log: $log)"
  fi
}

mkdir -p build/logs build/repro
if ((against_dist)); then
  first=$VENBROOK_ROOT/dist
  [[ -f $first/SHA256SUMS ]] || venbrook_die "no dist/SHA256SUMS: run scripts/package.sh first"
else
  build_copy "$VENBROOK_ROOT/build/repro/first"
  first=$VENBROOK_ROOT/build/repro/first/dist
fi
build_copy "$VENBROOK_ROOT/build/repro/second-copy-elsewhere"
second=$VENBROOK_ROOT/build/repro/second-copy-elsewhere/dist

# The files of the architectures built twice (dist/ may hold others too).
files=()
for arch in "${archs[@]}"; do
  for f in "$second"/*-"$arch".zip "$second"/*-"$arch".debug; do
    [[ -f $f ]] || venbrook_die "the second build left no ${f##*/}"
    files+=("${f##*/}")
  done
done
((against_dist)) || files+=(SHA256SUMS)

venbrook_log "comparing $first with $second"
python3 scripts/compare_builds.py "$first" "$second" "${files[@]}"
(cd "$second" && sha256sum -- "${files[@]}")
venbrook_log "reproducible: ${files[*]}"
