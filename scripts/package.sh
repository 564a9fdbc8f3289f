#!/usr/bin/env bash
# Build the release and make what an operator downloads:
#   scripts/package.sh [--arch win64|win32]... [--no-setup]
# Builds the presets windows-release and windows-x86-release (Release,
# stripped, reproducible: cmake/release.cmake) and writes dist/ afresh:
#   Venbrook-<version>-win64.zip, Venbrook-<version>-win32.zip
#       Venbrook.exe and 使用说明.txt (README's operator section, GBK, CR LF)
#   Venbrook-<version>-win64.debug, Venbrook-<version>-win32.debug
#       each program's debug information, the file its debug link names
#   SHA256SUMS
#       the zips, the debug files, and each Venbrook.exe under the path it
#       has once its zip is unpacked into a folder of the zip's name
#       (sha256sum -c SHA256SUMS checks all of them there)
# Every date in the zips is the last commit's (SOURCE_DATE_EPOCH, unless
# set already): the same sources give the same bytes on any machine, in any
# folder (scripts/check_reproducible.sh). The zips are unpacked again into
# build/package/unpacked/ and checked against SHA256SUMS; the test run starts
# the programs found there. Fails if either program passes 2.5 MB.
set -euo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="package"
# shellcheck source=lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
cd "$VENBROOK_ROOT"

SIZE_LIMIT=2500000   # bytes, each stripped Venbrook.exe

archs=()
setup=1
while (($#)); do
  case $1 in
    --arch)
      [[ ${2:-} == win64 || ${2:-} == win32 ]] || venbrook_die "--arch takes win64 or win32"
      archs+=("$2"); shift ;;
    --no-setup) setup=0 ;;
    -h|--help) sed -n '2,18p' "$0"; exit 0 ;;
    *) venbrook_die "unknown argument: $1" ;;
  esac
  shift
done
((${#archs[@]})) || archs=(win64 win32)

preset_of() { [[ $1 == win64 ]] && echo windows-release || echo windows-x86-release; }

((setup)) && bash scripts/setup.sh

if [[ -z ${SOURCE_DATE_EPOCH:-} && -n $(git status --porcelain --untracked-files=no 2>/dev/null) ]]; then
  venbrook_log "warning: uncommitted changes; the packages are not those of commit $(git rev-parse --short HEAD)"
fi
venbrook_source_date_epoch

mkdir -p build/logs
work=build/package
rm -rf dist "$work"
mkdir -p dist "$work/unpacked"
summary=()

for arch in "${archs[@]}"; do
  preset=$(preset_of "$arch")
  log=build/logs/package-$preset.log
  venbrook_log "building $preset (log: $log)"
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    venbrook_die "building $preset failed (log: $log)"
  fi

  # What the build made, named by the build (cmake/release.cmake).
  declare -A made=()
  while IFS='=' read -r key value; do made[$key]=$value; done < "build/$preset/venbrook-package.txt"
  name=${made[name]} program=${made[program]} debug=${made[debug]}
  [[ -f $program && -f $debug ]] || venbrook_die "$preset left no $program or $debug"
  # Stripped: a section table without debug sections, and the link to them.
  sections=$(x86_64-w64-mingw32-objdump -h "$program")
  grep -q '\.gnu_debuglink' <<<"$sections" || venbrook_die "$program has no debug link"
  ! grep -q '\.debug_' <<<"$sections" || venbrook_die "$program still holds debug sections"

  manual=$work/使用说明-$arch.txt
  python3 scripts/package.py manual README.md "${made[version]}" "$manual"
  entries=("Venbrook.exe=$program" "使用说明.txt=$manual")
  python3 scripts/package.py zip "dist/$name.zip" "$SOURCE_DATE_EPOCH" "${entries[@]}"
  python3 scripts/package.py verify "dist/$name.zip" "$SOURCE_DATE_EPOCH" "${entries[@]}"
  install -m 644 "$debug" "dist/$name.debug"

  # Info-ZIP's unzip as a second reader: it must see both names, the Chinese
  # one through the Unicode Path field, and unpack both intact.
  listing=$(LC_ALL=C.UTF-8 unzip -l "dist/$name.zip")
  if ! grep -q ' Venbrook\.exe$' <<<"$listing" || ! grep -q ' 使用说明\.txt$' <<<"$listing"; then
    echo "$listing" >&2
    venbrook_die "unzip -l does not list Venbrook.exe and 使用说明.txt in $name.zip"
  fi
  LC_ALL=C.UTF-8 unzip -q "dist/$name.zip" -d "$work/unpacked/$name"

  size=$(stat -c %s "$program")
  if ((size > SIZE_LIMIT)); then
    venbrook_die "the $arch Venbrook.exe is $size bytes, over the limit of $SIZE_LIMIT"
  fi
  summary+=("$(printf '%-30s %9d bytes   Venbrook.exe %9d bytes   debug %9d bytes' \
    "$name.zip" "$(stat -c %s "dist/$name.zip")" "$size" "$(stat -c %s "$debug")")")
  unset made
done

# The checksums, checked against the unpacked programs as an operator would.
(
  cd dist
  sha256sum -- *.zip *.debug
  cd "$VENBROOK_ROOT/$work/unpacked"
  sha256sum -- */Venbrook.exe
) | sort -k2 > "$work/SHA256SUMS"
mv "$work/SHA256SUMS" dist/SHA256SUMS
for f in dist/*.zip dist/*.debug; do ln -sf "$VENBROOK_ROOT/$f" "$work/unpacked/"; done
(cd "$work/unpacked" && sha256sum --strict --quiet -c "$VENBROOK_ROOT/dist/SHA256SUMS") \
  || venbrook_die "dist/SHA256SUMS does not match the files"

venbrook_log "dist/ (SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH, $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')):"
printf '  %s\n' "${summary[@]}" >&2
sed 's/^/  /' dist/SHA256SUMS >&2
