#!/usr/bin/env bash
# Runs a Windows program under Wine with its address space limited, so
# that a test can take what is left and see a load run out of memory (the
# 128 TB of a 64-bit process cannot be taken otherwise):
#   tests/win32/address_space_limit.sh <megabytes> program.exe [args...]
# Wine reserves some 4 GB of its own at start, so the limit must be above
# that. The Wine session is started first, outside the limit; the program
# learns the limit from VENBROOK_ADDRESS_SPACE_LIMIT_MB.
set -uo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="address-space-limit"
# shellcheck source=../../scripts/lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"

(($# > 1)) || venbrook_die "usage: $0 megabytes program.exe [args...]"
limit=$1
shift
venbrook_wine_env
venbrook_ensure_display || venbrook_die "no usable X display"
venbrook_start_wineserver
export VENBROOK_ADDRESS_SPACE_LIMIT_MB=$limit
ulimit -v $((limit * 1024))
exec "$VENBROOK_ROOT/scripts/wine-run.sh" "$@"
