#!/usr/bin/env bash
# Runs tst_spoolerprint.exe under Wine, without a display, with a private print server
# (scripts/private-cupsd) whose default queue Wine takes as Windows' default printer.
#   tst_spoolerprint.sh WINE_RUN TEST_EXE PRIVATE_CUPSD
# QUOTARIO_SPOOLER_WINEPREFIX is the Wine prefix of this test alone: Wine's printers follow the
# print server that the prefix was last run with.
set -euo pipefail
wine_run=$1
test_exe=$2
private_cupsd=$3

export QUOTARIO_WINEPREFIX=${QUOTARIO_SPOOLER_WINEPREFIX:?}
source "$(dirname "$0")/../support/desktop.sh"
wine_private_print_server "$private_cupsd"
QT_QPA_PLATFORM=offscreen "$wine_run" "$test_exe"
