#!/usr/bin/env bash
# tst_install.sh CMAKE BUILD_DIR SOURCE_DIR
# Installs the built program into temporary prefixes and checks the layout a user gets: the
# program's folder (executable, Allinea.ini, leggimi-prima.txt side by side), the icon and a
# valid menu entry whose Exec starts the installed program; a saved alignment survives a
# reinstall; the .deb's launcher gives each user a folder of their own.
set -uo pipefail
cmake=$1
build=$2
source=$3
# shellcheck source=../support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

check_file() { # check_file PATH [SAME_AS]
    if [[ ! -f $1 ]]; then
        fail "missing $1"
    elif [[ $# -ge 2 ]] && ! cmp -s "$1" "$2"; then
        fail "$1 differs from $2"
    fi
}
install_into() { # install_into LAYOUT PREFIX [cmake --install's options]
    QUOTARIO_INSTALL_LAYOUT=$1 "$cmake" --install "$build" --prefix "$2" "${@:3}" >"$work/install.log" 2>&1 ||
        {
            cat "$work/install.log" >&2
            fail "cmake --install ($1) into $2 failed"
        }
}
# The program a desktop entry starts: Exec's value with the file's escapes undone, then split
# as the entry's quoting rules say (they are the shell's double quotes for these characters).
desktop_program() {
    local exec
    exec=$(sed -n 's/^Exec=//p' "$1")
    exec=${exec//\\\\/\\}
    eval "set -- $exec"
    printf '%s' "$1"
}
desktop_value() { sed -n "s/^$2=//p" "$1"; }
check_menu_entry() { # check_menu_entry PREFIX PROGRAM
    local entry=$1/share/applications/quotario.desktop
    check_file "$entry"
    check_file "$1/share/icons/hicolor/32x32/apps/quotario.png" "$source/data/quotario.png"
    check_file "$1/share/icons/hicolor/scalable/apps/quotario.svg" "$source/data/icons/quotario.svg"
    desktop-file-validate "$entry" || fail "$entry does not validate"
    [[ $(desktop_program "$entry") == "$2" ]] ||
        fail "Exec of $entry starts '$(desktop_program "$entry")', not '$2'"
    [[ $(desktop_value "$entry" Icon) == quotario ]] || fail "Icon of $entry is not the theme's"
    [[ -x $(desktop_program "$entry") ]] || fail "the program of $entry is not executable"
}

echo "== personal install, into a prefix with a space and a dollar sign in its name"
prefix="$work/Programmi di \$USER"
install_into "" "$prefix"
folder=$prefix/lib/quotario
[[ -x $folder/quotario && -f $folder/quotario ]] || fail "no executable $folder/quotario"
check_file "$folder/Allinea.ini" "$source/data/Allinea.ini"
check_file "$folder/leggimi-prima.txt" "$source/data/leggimi-prima.txt"
check_menu_entry "$prefix" "$folder/quotario"

echo "== reinstall over a saved alignment"
printf '[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT1=30\nEDIT2=14\n' >"$work/saved.ini"
cp "$work/saved.ini" "$folder/Allinea.ini"
echo "old read-me" >"$folder/leggimi-prima.txt"
install_into "" "$prefix"
check_file "$folder/Allinea.ini" "$work/saved.ini"
check_file "$folder/leggimi-prima.txt" "$source/data/leggimi-prima.txt"

echo "== the archive's bare folder (what cpack puts in the .tar.gz)"
install_into folder "$work/archive" --component Unspecified
[[ -x $work/archive/quotario ]] || fail "no executable at the archive's top"
check_file "$work/archive/Allinea.ini" "$source/data/Allinea.ini"
check_file "$work/archive/leggimi-prima.txt" "$source/data/leggimi-prima.txt"
[[ ! -e $work/archive/share && ! -e $work/archive/lib ]] || fail "the archive holds more than the folder"

echo "== system-wide layout of the .deb and its launcher"
system=$work/usr
install_into system "$system"
check_file "$system/lib/quotario/Allinea.ini" "$source/data/Allinea.ini"
check_menu_entry "$system" "$system/bin/quotario"
# A stand-in for the program that says where it runs from, so no display is needed.
stand_in() {
    printf '#!/bin/sh\necho "%s $(dirname "$(readlink -f "$0")")"\n' "$1" >"$system/lib/quotario/quotario"
    chmod 755 "$system/lib/quotario/quotario"
}
stand_in "version 1"
home=$work/home
own=$home/.local/share/quotario
out=$(env -u XDG_DATA_HOME HOME="$home" "$system/bin/quotario") || fail "launcher failed"
[[ $out == "version 1 $own" ]] || fail "launcher ran '$out', not the user's copy in $own"
check_file "$own/Allinea.ini" "$source/data/Allinea.ini"
check_file "$own/leggimi-prima.txt" "$source/data/leggimi-prima.txt"
# The package is upgraded after the user saved an alignment.
cp "$work/saved.ini" "$own/Allinea.ini"
stand_in "version 2"
out=$(env -u XDG_DATA_HOME HOME="$home" "$system/bin/quotario") || fail "launcher failed"
[[ $out == "version 2 $own" ]] || fail "after an upgrade the launcher ran '$out'"
check_file "$own/Allinea.ini" "$work/saved.ini"
[[ -z $(find "$own" -name '*.[0-9]*') ]] || fail "the launcher left temporary files in $own"

report_checks install
