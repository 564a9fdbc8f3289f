#!/usr/bin/env bash
# Runs a Windows program under Wine with a limit on the size of the files it
# writes, as a disk that fills up does:
#   tests/win32/file_size_limit.sh <kilobytes> program.exe [args...]
# Past the limit a write stops part-way (the signal that would end the
# program is ignored). The Wine session is started first, outside the limit,
# so that only the program's own writes are held to it.
set -uo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="file-size-limit"
# shellcheck source=../../scripts/lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"

(($# > 1)) || venbrook_die "usage: $0 kilobytes program.exe [args...]"
limit=$1
shift
venbrook_wine_env
venbrook_ensure_display || venbrook_die "no usable X display"
venbrook_start_wineserver
trap '' XFSZ
ulimit -f "$limit"
exec "$VENBROOK_ROOT/scripts/wine-run.sh" "$@"
