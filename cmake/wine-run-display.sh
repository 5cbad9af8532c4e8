#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X display of its own, for
# the tests and scripts that look at real dialogs: starts Xvfb (1024 x 768,
# 24 bits), lets wine-run.sh run the program on it, and stops the display
# and the prefix's Wine session afterwards, so that the next run, on
# another display, does not join a session whose display is gone.
#
# ZEBL_WINEPREFIX names the prefix (one of its own: the null-display tests'
# session must not meet this one). Its windows are not managed by a window
# manager (there is none), so closing a dialog does not wait for one.
set -u
here=$(dirname "$(readlink -f "$0")")
: "${ZEBL_WINEPREFIX:?ZEBL_WINEPREFIX must name the prefix of the display runs}"
# Without Xvfb the run is skipped (CTest's SKIP_RETURN_CODE), not failed.
if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed (apt-get install xvfb): skipped"
    exit 77
fi

# A session of this prefix left from a run without a display must not
# take this run in.
WINEPREFIX=$ZEBL_WINEPREFIX wineserver -k 2>/dev/null
WINEPREFIX=$ZEBL_WINEPREFIX wineserver -w 2>/dev/null

number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.05
done
display=$(tr -d '\n' <"$number_file")
rm -f "$number_file"
if [ -z "$display" ]; then
    echo "Xvfb did not start" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
fi

export ZEBL_WINE_DISPLAY=":$display"
if [ ! -f "$ZEBL_WINEPREFIX/.zebl-unmanaged" ]; then
    "$here/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null &&
        touch "$ZEBL_WINEPREFIX/.zebl-unmanaged"
fi
"$here/wine-run.sh" "$@"
rc=$?
WINEPREFIX=$ZEBL_WINEPREFIX wineserver -k 2>/dev/null
WINEPREFIX=$ZEBL_WINEPREFIX wineserver -w 2>/dev/null
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $rc
