#!/usr/bin/env bash
# The installer as a Windows user and an administrator use it, under Wine in a fresh prefix (a
# new user's Windows), with a private print server whose queue is Windows' default printer:
#  - silent install (/S, /DESKTOP): every file of the program's folder in
#    %LOCALAPPDATA%\Programs\Quotario, the uninstaller, the Start-menu and desktop shortcuts, the
#    entry in "App installate" (the registry's uninstall key);
#  - the program started through the Start-menu shortcut, from another folder, with no DLL but
#    its own: it computes, prints the slip on the default printer and saves Allinea.ini beside
#    itself;
#  - an update over an older install brings every file back but keeps the saved Allinea.ini;
#  - the uninstaller keeps that Allinea.ini and removes everything else; over an unchanged
#    install it leaves nothing behind.
#   tst_windowssetup.sh SETUP_EXE FOLDER VERSION PRIVATE_CUPSD
set -euo pipefail
setup=$1
folder=$2
version=$3
private_cupsd=$4

if [[ ${5:-} != --on-display ]]; then
    # A display number of its own choosing: xvfb-run -a alone races with other virtual displays
    # started at the same moment on the machine.
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" "$0" "$@" --on-display
fi
source "$(dirname "$0")/../support/checks.sh"
source "$(dirname "$0")/../support/desktop.sh"
program_pid=
# Short, for the server's socket; traversable, since the print filters run as lp.
server=$(mktemp -d /tmp/quotario-cups-XXXXXX)
chmod 0755 "$server"
finish() {
    WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
    "$private_cupsd" stop "$server"
    rm -rf "$work" "$server"
}
trap finish EXIT
stop() { # the check failed too badly to go on
    fail "$@"
    report_checks "installer"
}

"$private_cupsd" start "$server" $$
while IFS= read -r setting; do export "${setting?}"; done < <("$private_cupsd" env "$server")
unset PRINTER LPDEST
# A new user of a new Windows, whose desktop is a folder of the test's own; no menu entries
# for the Linux desktop, no Mono or Gecko installer dialogs, no Qt of the build's.
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
unset WINEPATH
[[ -z ${LC_ALL:-}${LC_CTYPE:-}${LANG:-} ]] && export LANG=C.UTF-8
# The regional settings of the suite's run (scripts/wine-run).
[[ -n ${QUOTARIO_WINE_LOCALE:-} ]] && export LC_ALL=$QUOTARIO_WINE_LOCALE
mkdir -p "$HOME"
wineboot --init >/dev/null 2>&1
wineserver --wait
wine_slip_faces wine

# The user's folders as Windows names them, and their Linux paths.
shell_folder() {
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' \
        /v "$1" | tr -d '\r' | sed -n "s/^    $1    REG_SZ    //p"
}
windows_install="$(shell_folder 'Local AppData')\Programs\Quotario"
windows_start_menu=$(shell_folder Programs)
install=$(winepath -u "$windows_install")
start_menu=$(winepath -u "$windows_start_menu")
desktop=$(winepath -u "$(shell_folder Desktop)")
[[ -n $install && -n $start_menu && -n $desktop ]] || stop "the user's folders are unknown"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quotario'
# The uninstall entry's values, one a line; nothing when there is no entry.
registry() { wine reg query "$key" 2>/dev/null | tr -d '\r' | grep '^    ' || true; }
# Whether the uninstall entry holds NAME with VALUE. Under load Wine's reg has once answered
# without a value that the entry held (seen in CI): a value counts as missing only when three
# answers a second apart lack it.
registry_holds() { # registry_holds NAME VALUE
    for _ in 1 2 3; do
        grep -qxF "    $1    $2" <<<"$(registry)" && return 0
        sleep 1
    done
    return 1
}
# The default value of a key under the user's classes, read as registry_holds reads the
# uninstall entry: missing only when three answers a second apart lack it. Wine's reg names the
# default value in the user's language ("(Default)", "(Predefinito)").
classes='HKCU\Software\Classes'
class_holds() { # class_holds KEY VALUE
    local value
    for _ in 1 2 3; do
        value=$(wine reg query "$classes\\$1" /ve 2>/dev/null | tr -d '\r' |
            sed -n 's/^    ([^)]*)    REG_SZ    //p')
        [[ $value == "$2" ]] && return 0
        sleep 1
    done
    return 1
}
class_missing() { # class_missing KEY
    ! wine reg query "$classes\\$1" >/dev/null 2>&1
}
install_silently() {
    wine "$setup" /S "$@" || fail "the installer ended with $?"
    wineserver --wait
}
uninstall_silently() {
    # The uninstaller runs from a copy of itself in the temporary folder, and so ends at once.
    wine "$install/disinstalla.exe" /S || fail "the uninstaller ended with $?"
    wineserver --wait
}
[[ ! -e $install ]] || stop "the fresh prefix already holds $install"

# The first install, silent, with the desktop shortcut.
install_silently /DESKTOP
LC_ALL=C diff -rq "$folder" "$install" >"$work/diff" || true
[[ $(cat "$work/diff") == "Only in $install: disinstalla.exe" ]] ||
    fail "the installed folder differs from the program's folder: $(head -20 "$work/diff")"
for shortcut in "$start_menu/Quotario.lnk" "$desktop/Quotario.lnk"; do
    [[ -f $shortcut ]] || fail "no shortcut $shortcut"
done
# The shortcut's target, as Windows keeps it in the link (UTF-16).
grep -qiF "$windows_install\\quotario.exe" <<<"$(strings -el "$start_menu/Quotario.lnk")" ||
    fail "the Start-menu shortcut does not lead to $windows_install\\quotario.exe"
while IFS='|' read -r name value; do
    registry_holds "$name" "$value" ||
        fail "the uninstall entry's $name is not '$value': $(registry | grep "    $name " || echo none)"
done <<EOF
DisplayName|REG_SZ    Quotario
DisplayVersion|REG_SZ    $version
DisplayIcon|REG_SZ    $windows_install\\quotario.exe,0
Publisher|REG_SZ    Marco Ferrante
InstallLocation|REG_SZ    $windows_install
UninstallString|REG_SZ    "$windows_install\\disinstalla.exe"
QuietUninstallString|REG_SZ    "$windows_install\\disinstalla.exe" /S
EOF
# A double click on a data file opens it in the installed program.
class_holds .ici Quotario.DatiICI || fail "*.ici is not registered for the program"
class_holds 'Quotario.DatiICI\shell\open\command' "\"$windows_install\\quotario.exe\" \"%1\"" ||
    fail "the data files do not open with $windows_install\\quotario.exe"
class_holds 'Quotario.DatiICI\DefaultIcon' "$windows_install\\quotario.exe,0" ||
    fail "the data files do not show the program's icon"

# Started as the Start menu starts it, from another folder: the program computes, prints on
# Windows' default printer (the private server's queue) and saves the alignment beside itself.
# Windows' start opens the shortcut as Explorer does, and does not wait for the program.
mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && wine start "$windows_start_menu\\Quotario.lnk") ||
    fail "start could not open the shortcut"
for _ in $(seq 100); do
    program_pid=$(pgrep -n -f 'Programs.Quotario.quotario\.exe' || true)
    [[ -n $program_pid ]] && break
    sleep 0.2
done
[[ -n $program_pid ]] || stop "the Start-menu shortcut started no quotario.exe"
summary=$(compute_and_show_summary) || stop "the installed program did not compute"
sleep 1
summary_click "$summary" right
sleep 0.5
summary_click "$summary" print
for _ in $(seq 100); do
    [[ -s $server/out/job.pdf ]] && [[ -z $(lpstat -o) ]] && break
    sleep 0.2
done
if [[ -s $server/out/job.pdf ]]; then
    # The spaced texts come out a character at a time; the payer's name is one text.
    grep -q 'ROSSI MARIO VIA APPIA 12' <<<"$(pdftotext "$server/out/job.pdf" -)" ||
        fail "the printed page does not carry the payer's name"
else
    fail "nothing was printed on Windows' default printer"
fi
summary_click "$summary" save
[[ $(saved_paper_right "$install/Allinea.ini" D1) == D1 ]] ||
    fail "Allinea.ini beside the installed program was not saved: $(cat "$install/Allinea.ini")"
[[ ! -e $work/elsewhere/Allinea.ini ]] || fail "Allinea.ini was saved in the working folder"
wineserver -k
program_pid=
cp "$install/Allinea.ini" "$work/saved.ini"

# An older install: another version in the registry, a changed and a missing file.
wine reg add "$key" /v DisplayVersion /d 0.9.0 /f >/dev/null
echo "vecchio" >"$install/leggimi-prima.txt"
rm "$install/platforms/qwindows.dll"
install_silently
LC_ALL=C diff -rq "$folder" "$install" >"$work/diff" || true
[[ $(grep -vxF "Only in $install: disinstalla.exe" "$work/diff") == "Files $folder/Allinea.ini and $install/Allinea.ini differ" ]] ||
    fail "after the update the folder differs other than in Allinea.ini: $(head -20 "$work/diff")"
cmp -s "$work/saved.ini" "$install/Allinea.ini" || fail "the update changed the saved Allinea.ini"
registry_holds DisplayVersion "REG_SZ    $version" || fail "the update left the old version"

# Uninstalled: the saved alignment stays, nothing else does.
touch "$install/Allinea.ini.0123456789abcdef.tmp"
uninstall_silently
left=$(cd "$install" 2>/dev/null && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')
[[ $left == "./Allinea.ini " ]] || fail "the uninstaller left '$left' instead of the saved Allinea.ini"
cmp -s "$work/saved.ini" "$install/Allinea.ini" || fail "the uninstaller changed the saved Allinea.ini"
for shortcut in "$start_menu/Quotario.lnk" "$desktop/Quotario.lnk"; do
    [[ ! -e $shortcut ]] || fail "the uninstaller left $shortcut"
done
[[ -z $(registry) ]] || fail "the uninstaller left the uninstall entry"
class_missing .ici || fail "the uninstaller left the registration of *.ici"
class_missing Quotario.DatiICI || fail "the uninstaller left the data files' type"

# Without a saved alignment nothing at all is left.
rm -f "$install/Allinea.ini"
install_silently
uninstall_silently
[[ ! -e $install ]] || fail "an unchanged install left $(cd "$install" && find . -mindepth 1 | tr '\n' ' ')"

report_checks "installer"
