#!/usr/bin/env bash
# Run a Windows program under Wine in the project's prefix:
#   scripts/wine-run.sh path/to/program.exe [args...]
# This is the CMAKE_CROSSCOMPILING_EMULATOR of the Windows builds, so ctest
# runs every Windows test through it. The program's exit code is passed
# through (Wine reports it modulo 256: a Windows exit code of -1 arrives as 255).
# Programs here create real windows, so an X display is needed: $DISPLAY when
# it answers, else the project's shared Xvfb, started on first use.
set -uo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="wine-run"
# shellcheck source=lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

(($# > 0)) || venbrook_die "usage: $0 program.exe [args...]"
venbrook_wine_env
[[ -f $WINEPREFIX/system.reg ]] || venbrook_die "no Wine prefix in $WINEPREFIX; run scripts/setup.sh"
venbrook_ensure_display || venbrook_die "no usable X display"
venbrook_start_wineserver

# Wine from Debian's wine64 alone starts a 32-bit program, fails inside it and
# still reports exit code 0; so does a prefix made before wine32 was there
# (it has no syswow64). Refuse such a program rather than report a false pass.
if [[ -f $1 ]]; then
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -dc 0-9)
  if [[ -n $offset ]] && [[ $(od -An -tx1 -j"$offset" -N6 "$1" 2>/dev/null | tr -d ' \n') == 504500004c01 ]]; then
    [[ -x /usr/lib/wine/wine ]] \
      || venbrook_die "$1 is a 32-bit program and this machine has no 32-bit Wine (wine32:i386); run scripts/setup.sh"
    [[ -d $WINEPREFIX/drive_c/windows/syswow64 ]] \
      || venbrook_die "$1 is a 32-bit program and the Wine prefix $WINEPREFIX was made without 32-bit Wine; run scripts/setup.sh"
  fi
fi

exec wine "$@"
