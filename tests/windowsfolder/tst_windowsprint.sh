#!/usr/bin/env bash
# Runs tst_windowsprint.exe under Wine on a virtual display, with a private print server
# (scripts/private-cupsd) whose default queue Wine takes as Windows' default printer.
#   tst_windowsprint.sh WINE_RUN TEST_EXE PRIVATE_CUPSD
# QUOTARIO_PRINT_WINEPREFIX is the Wine prefix of this test alone: Wine's desktop belongs to the
# first program of a prefix, and its printers follow the server that prefix was last run with.
set -euo pipefail
wine_run=$1
test_exe=$2
private_cupsd=$3

if [[ ${4:-} != --on-display ]]; then
    # A display number of its own choosing: xvfb-run -a alone races with other virtual displays
    # started at the same moment on the machine.
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" "$0" "$@" --on-display
fi
export QUOTARIO_WINEPREFIX=${QUOTARIO_PRINT_WINEPREFIX:?}
source "$(dirname "$0")/../support/desktop.sh"
wine_private_print_server "$private_cupsd"
wine_slip_faces "$wine_run"
QT_QPA_PLATFORM=windows "$wine_run" "$test_exe"
