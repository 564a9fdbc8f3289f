#!/usr/bin/env bash
# Prepare this machine (Debian 12, as root) for building and testing Venbrook:
#   1. the Debian packages the builds and tests use;
#   2. the libraries the Windows build compiles in, from Debian's own source
#      packages (kept under .cache/, never committed; each in a folder of its
#      own, named by its version, so worktrees sharing .cache/ never clash):
#      the SQLite 3.40.1 amalgamation (sqlite3), minizip 1.1 (minizip, the
#      same source as the native libminizip-dev) and expat 2.5.0 (expat);
#      zlib for Windows is Debian's libz-mingw-w64-dev; RapidJSON 1.1.0 is
#      header-only, its headers copied from Debian's rapidjson-dev so that
#      the cross compiler never sees the host's /usr/include;
#   3. the project's Wine prefix (.cache/wine) with CJK-capable UI fonts,
#      running 64- and 32-bit programs alike.
# Safe to run again: each step is skipped when already done.
set -euo pipefail
# shellcheck disable=SC2034  # read by lib/common.sh
VENBROOK_LOG_TAG="setup"
# shellcheck source=lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

SQLITE_UPSTREAM_VERSION=3.40.1
AMALGAMATION_DIR=$VENBROOK_CACHE/sqlite-amalgamation
MINIZIP_UPSTREAM_VERSION=1.1
MINIZIP_DIR=$VENBROOK_CACHE/minizip-$MINIZIP_UPSTREAM_VERSION
EXPAT_UPSTREAM_VERSION=2.5.0
EXPAT_DIR=$VENBROOK_CACHE/expat-$EXPAT_UPSTREAM_VERSION
RAPIDJSON_UPSTREAM_VERSION=1.1.0
RAPIDJSON_DIR=$VENBROOK_CACHE/rapidjson-$RAPIDJSON_UPSTREAM_VERSION
WINE_STAMP_CONTENT="prefix-5"

export DEBIAN_FRONTEND=noninteractive

# --------------------------------------------------------------------------
# 1. Packages
# --------------------------------------------------------------------------
PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config dpkg-dev python3
  libsqlite3-dev sqlite3 tcl
  zlib1g-dev libminizip-dev libexpat1-dev libz-mingw-w64-dev   # the workbook reader
  rapidjson-dev   # JSON files
  libgtest-dev googletest libbenchmark-dev
  unzip   # scripts/package.sh reads its zips back with Info-ZIP's unzip
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 wine32:i386 xvfb xauth x11-utils fonts-wqy-microhei imagemagick
)

install_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  if ((${#missing[@]} == 0)); then
    venbrook_log "packages: all present"
    return
  fi
  venbrook_log "packages: installing ${missing[*]}"
  [[ $(id -u) == 0 ]] || venbrook_die "installing packages needs root"
  # The 32-bit program is tested under Debian's 32-bit Wine, an i386 package.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  apt-get install -y -q "${missing[@]}"
}

# --------------------------------------------------------------------------
# 2. SQLite amalgamation
# --------------------------------------------------------------------------
amalgamation_version() {
  sed -n 's/^#define SQLITE_VERSION  *"\([0-9.]*\)".*/\1/p' "$1" 2>/dev/null | head -n1 || true
}

# Write a deb-src list mirroring every enabled 'deb' entry of the system
# configuration: deb822 stanzas (*.sources) keep all their fields, including
# a multi-line Signed-By; one-line entries (sources.list, *.list) keep their
# [options], URI, suite and components.
write_source_lists() {
  local out=$1 etc=${VENBROOK_APT_ETC:-/etc/apt} f
  : > "$out/sources.list"
  mkdir -p "$out/sources.list.d"
  rm -f "$out/sources.list.d/"*

  local n=0
  for f in "$etc"/sources.list.d/*.sources; do
    [[ -f $f ]] || continue
    n=$((n + 1))
    awk '
      function flush() {
        if (nlines > 0 && isdeb && enabled) {
          for (i = 1; i <= nlines; i++) print lines[i]
          print ""
        }
        nlines = 0; isdeb = 0; enabled = 1
      }
      BEGIN { nlines = 0; isdeb = 0; enabled = 1 }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      tolower($1) == "types:" {
        for (i = 2; i <= NF; i++) if ($i == "deb") isdeb = 1
        lines[++nlines] = "Types: deb-src"; next
      }
      tolower($1) == "enabled:" { if (tolower($2) == "no") enabled = 0; next }
      { lines[++nlines] = $0 }
      END { flush() }
    ' "$f" > "$out/sources.list.d/$n-src.sources"
  done

  for f in "$etc"/sources.list "$etc"/sources.list.d/*.list; do
    [[ -f $f ]] || continue
    sed -n 's/^[ \t]*deb\([ \t]\)/deb-src\1/p' "$f" >> "$out/sources.list"
  done

  if ! grep -qs . "$out/sources.list" "$out/sources.list.d/"*; then
    venbrook_die "no 'deb' entries found in $etc/sources.list{,.d/} to derive source entries from"
  fi
}

# unpack_source_package <package> <upstream version> <work folder>: Debian's
# source package of that upstream version (the newest Debian revision of it
# the configured archives hold), unpacked into <work>/src; its Debian
# version goes to <work>/debian-version. The work folder is made anew.
unpack_source_package() {
  local package=$1 upstream=$2 work=$3
  local aptdir=$work/apt
  rm -rf "$work"
  mkdir -p "$aptdir/lists/partial" "$aptdir/cache/archives/partial" "$work/download"
  write_source_lists "$aptdir"

  # A private apt state: the system's configuration and lists stay untouched.
  local apt_opts=(
    -o "Dir::Etc::SourceList=$aptdir/sources.list"
    -o "Dir::Etc::SourceParts=$aptdir/sources.list.d"
    -o "Dir::State::Lists=$aptdir/lists"
    -o "Dir::Cache=$aptdir/cache"
    -o "APT::Sandbox::User=root"
  )
  venbrook_log "$package: reading the source package index"
  apt-get "${apt_opts[@]}" -q update >"$work/apt-update.log" 2>&1 \
    || { cat "$work/apt-update.log" >&2; venbrook_die "apt-get update (source index) failed"; }

  # Newest revision first; an archive may list a revision whose files it
  # no longer serves (a security update superseded), so the next is tried.
  local versions version='' candidate
  versions=$(apt-cache "${apt_opts[@]}" showsrc "$package" 2>/dev/null \
             | sed -n 's/^Version: //p' \
             | grep -E "^([0-9]+:)?${upstream//./\\.}-" \
             | sort -Vru || true)
  if [[ -z $versions ]]; then
    venbrook_die "no $package source package of upstream version $upstream is available from the configured archives (found: $(apt-cache "${apt_opts[@]}" showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | tr '\n' ' '))"
  fi
  for candidate in $versions; do
    venbrook_log "$package: fetching source package $package $candidate"
    rm -rf "$work/download"
    mkdir -p "$work/download"
    if (cd "$work/download" && apt-get "${apt_opts[@]}" -q source --download-only "$package=$candidate") \
         >>"$work/apt-source.log" 2>&1; then
      version=$candidate
      break
    fi
  done
  [[ -n $version ]] \
    || { cat "$work/apt-source.log" >&2; venbrook_die "apt-get source $package failed for every revision of $upstream"; }

  local dsc
  dsc=$(find "$work/download" -maxdepth 1 -name "${package}_*.dsc" | head -n1)
  (cd "$work/download" && dpkg-source -q -x "$(basename "$dsc")" "$work/src") \
    >"$work/dpkg-source.log" 2>&1 \
    || { cat "$work/dpkg-source.log" >&2; venbrook_die "dpkg-source -x $dsc failed"; }
  echo "$version" > "$work/debian-version"
}

prepare_sqlite() {
  local have
  have=$(amalgamation_version "$AMALGAMATION_DIR/sqlite3.h")
  if [[ $have == "$SQLITE_UPSTREAM_VERSION" && -s $AMALGAMATION_DIR/sqlite3.c ]]; then
    venbrook_log "sqlite: amalgamation $have present in ${AMALGAMATION_DIR#"$VENBROOK_ROOT"/}"
    return
  fi

  local work=$VENBROOK_CACHE/sqlite-work version
  unpack_source_package sqlite3 "$SQLITE_UPSTREAM_VERSION" "$work"
  version=$(<"$work/debian-version")

  local srcdir=$work/src built
  if [[ -s $srcdir/sqlite3.c && -s $srcdir/sqlite3.h ]]; then
    built=$srcdir
  else
    venbrook_log "sqlite: building the amalgamation from the source tree"
    command -v tclsh >/dev/null || venbrook_die "tclsh is needed to build the SQLite amalgamation (package tcl)"
    mkdir -p "$work/build"
    (cd "$work/build" && "$srcdir/configure" --disable-tcl && make sqlite3.c) \
      >"$work/build.log" 2>&1 \
      || { tail -n 40 "$work/build.log" >&2; venbrook_die "building sqlite3.c failed (log: $work/build.log)"; }
    built=$work/build
  fi

  have=$(amalgamation_version "$built/sqlite3.h")
  [[ $have == "$SQLITE_UPSTREAM_VERSION" ]] \
    || venbrook_die "the sqlite3.h made from sqlite3 $version says version '${have:-?}', expected $SQLITE_UPSTREAM_VERSION"

  rm -rf "$AMALGAMATION_DIR.new"
  mkdir -p "$AMALGAMATION_DIR.new"
  cp "$built/sqlite3.c" "$built/sqlite3.h" "$AMALGAMATION_DIR.new/"
  [[ -s $built/sqlite3ext.h ]] && cp "$built/sqlite3ext.h" "$AMALGAMATION_DIR.new/"
  echo "Debian source package sqlite3 $version (upstream $have)" > "$AMALGAMATION_DIR.new/ORIGIN"
  rm -rf "$AMALGAMATION_DIR"
  mv "$AMALGAMATION_DIR.new" "$AMALGAMATION_DIR"
  rm -rf "$work"
  venbrook_log "sqlite: amalgamation $have (Debian $version) ready in ${AMALGAMATION_DIR#"$VENBROOK_ROOT"/}"
}

# prepare_library_source <package> <upstream version> <folder> <check> <files...>:
# the named files and folders of Debian's source package, copied into
# <folder> (.cache/<name>-<version>), unless it holds them already. <check>
# is a function given the unpacked tree that prints the version its headers
# declare, which must be the upstream version expected.
prepare_library_source() {
  local package=$1 upstream=$2 dest=$3 check=$4
  shift 4
  if [[ -f $dest/ORIGIN && $($check "$dest") == "$upstream" ]]; then
    venbrook_log "$package: source $upstream present in ${dest#"$VENBROOK_ROOT"/}"
    return
  fi
  local work=$VENBROOK_CACHE/$package-work version have
  unpack_source_package "$package" "$upstream" "$work"
  version=$(<"$work/debian-version")
  have=$($check "$work/src")
  [[ $have == "$upstream" ]] \
    || venbrook_die "the $package $version sources say version '${have:-?}', expected $upstream"

  rm -rf "$dest.new"
  mkdir -p "$dest.new"
  (cd "$work/src" && cp -r --parents "$@" "$dest.new/")
  echo "Debian source package $package $version (upstream $have)" > "$dest.new/ORIGIN"
  rm -rf "$dest"
  mv "$dest.new" "$dest"
  rm -rf "$work"
  venbrook_log "$package: source $have (Debian $version) ready in ${dest#"$VENBROOK_ROOT"/}"
}

# The version in minizip's unzip.h ("Version 1.1, February 14h, 2010").
minizip_version() {
  sed -n 's/^ *Version \([0-9.]*\),.*/\1/p' "$1/unzip.h" 2>/dev/null | head -n1 || true
}

# XML_MAJOR_VERSION.XML_MINOR_VERSION.XML_MICRO_VERSION of expat.h.
expat_version() {
  local h=$1/expat/lib/expat.h
  [[ -f $h ]] || return 0
  printf '%s.%s.%s\n' "$(sed -n 's/^#define XML_MAJOR_VERSION \([0-9]*\)/\1/p' "$h")" \
    "$(sed -n 's/^#define XML_MINOR_VERSION \([0-9]*\)/\1/p' "$h")" \
    "$(sed -n 's/^#define XML_MICRO_VERSION \([0-9]*\)/\1/p' "$h")"
}

prepare_minizip() {
  prepare_library_source minizip "$MINIZIP_UPSTREAM_VERSION" "$MINIZIP_DIR" minizip_version \
    ioapi.c ioapi.h unzip.c unzip.h zip.c zip.h crypt.h
}

prepare_expat() {
  prepare_library_source expat "$EXPAT_UPSTREAM_VERSION" "$EXPAT_DIR" expat_version expat/lib expat/COPYING
}

# RAPIDJSON_MAJOR_VERSION.RAPIDJSON_MINOR_VERSION.RAPIDJSON_PATCH_VERSION of
# <folder>/rapidjson/rapidjson.h.
rapidjson_version() {
  local h=$1/rapidjson/rapidjson.h
  [[ -f $h ]] || return 0
  printf '%s.%s.%s\n' "$(sed -n 's/^#define RAPIDJSON_MAJOR_VERSION \([0-9]*\)/\1/p' "$h")" \
    "$(sed -n 's/^#define RAPIDJSON_MINOR_VERSION \([0-9]*\)/\1/p' "$h")" \
    "$(sed -n 's/^#define RAPIDJSON_PATCH_VERSION \([0-9]*\)/\1/p' "$h")"
}

# The headers of the installed rapidjson-dev, for the Windows builds.
prepare_rapidjson() {
  local dest=$RAPIDJSON_DIR/include have
  if [[ -f $RAPIDJSON_DIR/ORIGIN && $(rapidjson_version "$dest") == "$RAPIDJSON_UPSTREAM_VERSION" ]]; then
    venbrook_log "rapidjson: headers $RAPIDJSON_UPSTREAM_VERSION present in ${RAPIDJSON_DIR#"$VENBROOK_ROOT"/}"
    return
  fi
  have=$(rapidjson_version /usr/include)
  [[ $have == "$RAPIDJSON_UPSTREAM_VERSION" ]] \
    || venbrook_die "/usr/include/rapidjson is version '${have:-?}', expected $RAPIDJSON_UPSTREAM_VERSION (package rapidjson-dev)"
  rm -rf "$RAPIDJSON_DIR.new"
  mkdir -p "$RAPIDJSON_DIR.new/include"
  cp -r /usr/include/rapidjson "$RAPIDJSON_DIR.new/include/"
  echo "Debian package rapidjson-dev $(dpkg-query -W -f='${Version}' rapidjson-dev) (upstream $have)" \
    > "$RAPIDJSON_DIR.new/ORIGIN"
  rm -rf "$RAPIDJSON_DIR"
  mv "$RAPIDJSON_DIR.new" "$RAPIDJSON_DIR"
  venbrook_log "rapidjson: headers $have ready in ${RAPIDJSON_DIR#"$VENBROOK_ROOT"/}"
}

# --------------------------------------------------------------------------
# 3. Wine prefix
# --------------------------------------------------------------------------
# UI faces a Chinese Windows program asks for, all shown with WenQuanYi
# Micro Hei so that CJK text renders instead of boxes.
FONT_FACES=(
  "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"
  "SimSun" "宋体" "NSimSun" "新宋体"
  "SimHei" "黑体"
  "Microsoft YaHei" "微软雅黑" "Microsoft YaHei UI"
  "PMingLiU" "新細明體" "MingLiU" "細明體"
)
FONT_TARGET="WenQuanYi Micro Hei"

prepare_wine() {
  venbrook_wine_env
  local stamp=$WINEPREFIX/.venbrook-setup
  local want
  want="$WINE_STAMP_CONTENT $(wine --version 2>/dev/null)"
  # A prefix runs 32-bit programs only if it was made after 32-bit Wine was
  # installed (it then has syswow64); an older one is made anew, not patched.
  local wow64=$WINEPREFIX/drive_c/windows/syswow64
  if [[ -f $stamp && $(<"$stamp") == "$want" && -f $WINEPREFIX/system.reg && -d $wow64 ]]; then
    venbrook_log "wine: prefix ready in ${WINEPREFIX#"$VENBROOK_ROOT"/}"
    return
  fi
  if [[ -e $WINEPREFIX ]]; then
    venbrook_log "wine: removing the old prefix ${WINEPREFIX#"$VENBROOK_ROOT"/}"
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
  fi

  venbrook_ensure_display || venbrook_die "no X display for Wine"
  venbrook_log "wine: initialising prefix ${WINEPREFIX#"$VENBROOK_ROOT"/} (DISPLAY=$DISPLAY)"
  mkdir -p "$WINEPREFIX"
  local t0=$SECONDS
  timeout 600 wine wineboot -i >"$VENBROOK_CACHE/wineboot.log" 2>&1 \
    || { cat "$VENBROOK_CACHE/wineboot.log" >&2; venbrook_die "wineboot failed"; }

  # Wine's own fonts (Marlett draws the caption buttons, MS Sans Serif,
  # System, ...): Debian's Wine does not look in /usr/share/wine/fonts, so
  # they go where it does look, the prefix's Fonts folder.
  if [[ -d /usr/share/wine/fonts ]]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -u /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  fi

  # regedit reads UTF-16 .reg files, which keeps the Chinese face names intact
  # whatever the Unix locale is.
  local reg=$VENBROOK_CACHE/font-substitutes.reg face
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    # (the 32-bit view, Wow6432Node, links to this same key)
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for face in "${FONT_FACES[@]}"; do
      printf '"%s"="%s"\r\n' "$face" "$FONT_TARGET"
    done
    # Unmanaged windows: Wine draws the frames itself. Without a window
    # manager (Xvfb) a managed window makes every process that hides or
    # destroys one wait 2 s for a state change that never comes.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
    # A crash ends the process with a backtrace on the console instead of a
    # dialog that waits for a click (and would stall a test run).
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  wine regedit /S "$(winepath -w "$reg")" >>"$VENBROOK_CACHE/wineboot.log" 2>&1 \
    || venbrook_die "importing the registry settings failed"

  wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'MS Shell Dlg' 2>/dev/null \
    | grep -q "$FONT_TARGET" || venbrook_die "font substitutes did not reach the Wine registry"
  wine reg query 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog 2>/dev/null \
    | grep -q '0x0' || venbrook_die "Wine settings did not reach the registry"
  [[ -d $wow64 ]] || venbrook_die "the new Wine prefix has no syswow64: 32-bit Wine (wine32:i386) is missing"
  wineserver -w   # the registry is written to disk when the server ends

  echo "$want" > "$stamp"
  ((VENBROOK_XVFB_STARTED)) && venbrook_stop_xvfb
  venbrook_log "wine: prefix ready ($((SECONDS - t0)) s)"
}

install_packages
prepare_sqlite
prepare_minizip
prepare_expat
prepare_rapidjson
prepare_wine
venbrook_log "done"
