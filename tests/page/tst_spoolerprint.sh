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
# Short, for the server's socket; traversable, since the print filters run as lp.
server=$(mktemp -d /tmp/quotario-cups-XXXXXX)
chmod 0755 "$server"
finish() {
    WINEPREFIX=$QUOTARIO_WINEPREFIX wineserver -k 2>/dev/null || true
    "$private_cupsd" stop "$server"
    rm -rf "$server"
}
trap finish EXIT
"$private_cupsd" start "$server" $$
# Wine's printers come from the server that CUPS_SERVER names, read when the test starts.
while IFS= read -r setting; do export "${setting?}"; done < <("$private_cupsd" env "$server")
unset PRINTER LPDEST
export QUOTARIO_PRINT_JOB="Z:$server/out/job.pdf"
QT_QPA_PLATFORM=offscreen "$wine_run" "$test_exe"
