#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. Wine's helper processes would
# keep CTest's output pipe open, so the program writes to a file that is
# printed afterwards. Each build tree has its own 32-bit prefix (wine-prefix/
# beside its CMakeCache.txt), made on first use under a lock, as CTest may
# start several programs at once. Trees must not share one: the tests add
# printers and write the prefix's registry and folders, and two trees testing
# at once would see each other's printers and files.
set -u

# The build tree of the program about to run: the nearest folder above it
# that holds a CMakeCache.txt.
build_tree_of() {
    local dir
    dir=$(dirname "$(readlink -f "$1")")
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do
        dir=$(dirname "$dir")
    done
    [ -f "$dir/CMakeCache.txt" ] && echo "$dir"
}

if [ -n "${ZEBL_WINEPREFIX:-}" ]; then
    prefix_root=$ZEBL_WINEPREFIX
elif tree=$(build_tree_of "$1"); then
    prefix_root=$tree/wine-prefix
else
    prefix_root=${TMPDIR:-/tmp}/zebl-wine-$(id -u)
fi
export WINEPREFIX=$prefix_root
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# No display unless a caller made one for the run (wine-run-display.sh).
if [ -n "${ZEBL_WINE_DISPLAY:-}" ]; then
    export DISPLAY=$ZEBL_WINE_DISPLAY
else
    unset DISPLAY
fi

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
