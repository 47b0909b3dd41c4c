#!/usr/bin/env bash
# The resources of the shipped quotario.exe as Windows reads them, taken back out of the file
# with icoutils' wrestool and MinGW's windres: the icon in every size Windows shows it, the
# version details of the file's Properties, the manifest; and the installer's own version.
#   tst_windowsresources.sh EXE SETUP_EXE VERSION
set -euo pipefail
exe=$1
setup=$2
version=$3
source "$(dirname "$0")/../support/checks.sh"

# The icon group: the sizes and their depth, as icotool lists the icon Explorer takes.
wrestool -x --type=14 "$exe" -o "$work/icon.ico" 2>"$work/wrestool.err" ||
    fail "no icon in $exe: $(cat "$work/wrestool.err")"
sizes=$(icotool -l "$work/icon.ico" 2>/dev/null | sed -n 's/.*--width=\([0-9]*\) --height=\([0-9]*\) --bit-depth=32.*/\1x\2/p' |
    sort -n | tr '\n' ' ')
[[ $sizes == "16x16 24x24 32x32 48x48 64x64 256x256 " ]] ||
    fail "the icon's 32-bit images are '$sizes', not 16 to 256 pixels"

# The version details, as windres writes them back into a resource script.
x86_64-w64-mingw32-windres -i "$exe" -O rc >"$work/exe.rc" 2>"$work/windres.err" ||
    fail "windres cannot read $exe: $(cat "$work/windres.err")"
numbers="${version//./, }, 0"
while IFS='|' read -r key expected; do
    grep -qxF "      VALUE \"$key\", \"$expected\"" "$work/exe.rc" ||
        fail "$key is not \"$expected\": $(grep "\"$key\"" "$work/exe.rc" || echo missing)"
done <<EOF
ProductName|Quotario
ProductVersion|$version
FileVersion|$version
OriginalFilename|quotario.exe
FileDescription|Quotario - calcolo dell'ICI e stampa del bollettino postale
EOF
grep -qE '^      VALUE "LegalCopyright", "Copyright \(C\) [0-9]{4} .*GNU GPL, versione 3 o successiva"$' \
    "$work/exe.rc" || fail "LegalCopyright names no licence: $(grep LegalCopyright "$work/exe.rc")"
grep -qx " FILEVERSION $numbers" "$work/exe.rc" || fail "FILEVERSION is not $numbers"
grep -qx " PRODUCTVERSION $numbers" "$work/exe.rc" || fail "PRODUCTVERSION is not $numbers"
grep -qx '    BLOCK "041004b0"' "$work/exe.rc" || fail "the texts are not in Italian, Unicode"
grep -qx '    VALUE "Translation", 0x410, 1200' "$work/exe.rc" || fail "no Italian translation entry"

# The manifest: one, as the program's own (resource 1), with what Windows reads from it.
[[ $(wrestool -l --type=24 "$exe" | wc -l) -eq 1 ]] || fail "not exactly one manifest"
wrestool -x --raw --type=24 --name=1 "$exe" >"$work/manifest.xml" || fail "no manifest 1"
while IFS='|' read -r what pattern; do
    tr -s ' \n' ' ' <"$work/manifest.xml" | grep -qE "$pattern" || fail "the manifest lacks $what"
done <<EOF
Windows 10 and 11 as supported system|<supportedOS Id="\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}"/>
per-monitor DPI awareness, version 2|<dpiAwareness [^>]*>PerMonitorV2</dpiAwareness>
per-monitor DPI awareness for Windows 10 before 1703|<dpiAware [^>]*>true/pm</dpiAware>
common controls 6|name="Microsoft.Windows.Common-Controls" version="6\.0\.0\.0"
the user's own rights|<requestedExecutionLevel level="asInvoker"
the program's version|name="it.quotario.Quotario" version="${version//./\\.}\.0"
EOF

# The installer says what it installs.
x86_64-w64-mingw32-windres -i "$setup" -O rc >"$work/setup.rc" 2>/dev/null ||
    fail "windres cannot read $setup"
grep -qxF "      VALUE \"ProductVersion\", \"$version\"" "$work/setup.rc" ||
    fail "the installer's ProductVersion is not $version"
grep -qxF "      VALUE \"ProductName\", \"Quotario\"" "$work/setup.rc" ||
    fail "the installer's ProductName is not Quotario"

report_checks "resource"
