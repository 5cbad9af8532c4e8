#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. Wine's helper processes would
# keep CTest's output pipe open, so the program writes to a file that is
# printed afterwards. Each build tree has its own 32-bit prefix, made on first
# use (under a lock, as CTest may start several programs at once).
set -u
prefix_root=${ZEBL_WINEPREFIX:-${TMPDIR:-/tmp}/zebl-wine-$(id -u)}
export WINEPREFIX=$prefix_root
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY

mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/.zebl-ready" ]; then
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.zebl-ready"
    fi
) 9>"$WINEPREFIX.lock"

out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $rc
