#!/usr/bin/env bash
# tst_install.sh CMAKE BUILD_DIR SOURCE_DIR
# Installs the built program into temporary prefixes and checks the layout a user gets: the
# program's folder (executable, Allinea.ini, leggimi-prima.txt side by side), the icon and a
# valid menu entry whose Exec starts the installed program; every installed file in the
# install manifest; a saved alignment survives a reinstall and an uninstall, which removes
# everything else; the .deb's bin/quotario is the program itself, and a user whose home is
# mounted noexec saves the alignment in their configuration folder.
set -uo pipefail
cmake=$1
build=$2
source=$3
# shellcheck source=../support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

here=$(dirname "$0")

check_file() { # check_file PATH [SAME_AS]
    if [[ ! -f $1 ]]; then
        fail "missing $1"
    elif [[ $# -ge 2 ]] && ! cmp -s "$1" "$2"; then
        fail "$1 differs from $2"
    fi
}
# Each layout named, so that its list goes to install_manifest_LAYOUT.txt and the build's
# install_manifest.txt keeps what the user's own install put.
install_into() { # install_into LAYOUT PREFIX [cmake --install's options]
    QUOTARIO_INSTALL_LAYOUT=$1 "$cmake" --install "$build" --prefix "$2" "${@:3}" >"$work/install.log" 2>&1 ||
        {
            cat "$work/install.log" >&2
            fail "cmake --install ($1) into $2 failed"
        }
}
# Every file and link under PREFIX is in the layout's manifest, and nothing else (the archive's
# folder is the prefix itself, which its names join with a double slash).
check_manifest() { # check_manifest LAYOUT PREFIX
    local listed=$build/install_manifest_$1.txt
    if ! diff <(find "$2" -type f -o -type l | sort) <(sed 's|//|/|g' "$listed" | sort) >&2; then
        fail "$listed is not what the $1 install put"
    fi
}
uninstall() { # uninstall LAYOUT
    "$cmake" -DMANIFEST="$build/install_manifest_$1.txt" \
        -DSHIPPED_ALIGNMENT="$source/data/Allinea.ini" -P "$source/cmake/Uninstall.cmake" \
        >"$work/uninstall.log" 2>&1 || {
        cat "$work/uninstall.log" >&2
        fail "uninstall ($1) failed"
    }
}
files_under() { find "$1" -type f -o -type l; }
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
    # A double click on a data file starts the program with the file.
    [[ $(sed -n 's/^Exec=//p' "$entry") == *" %f" ]] || fail "Exec of $entry takes no file"
    [[ $(desktop_value "$entry" MimeType) == "application/x-quotario-ici;" ]] ||
        fail "$entry opens no data file"
    check_file "$1/share/icons/hicolor/48x48/mimetypes/application-x-quotario-ici.png" \
        "$source/data/icons/quotario-48.png"
    check_mime_type "$1"
}
# The data file's type as the desktop's own database builds it from what was installed.
check_mime_type() { # check_mime_type PREFIX
    local mime=$work/mime
    rm -rf "$mime" && mkdir -p "$mime/packages"
    cp "$1/share/mime/packages/quotario.xml" "$mime/packages/" || fail "no MIME type installed"
    update-mime-database "$mime" || fail "the MIME type does not build"
    grep -qx 'application/x-quotario-ici:\*.ici' "$mime/globs" ||
        fail "*.ici is not the data file's type"
    grep -qx 'application/x-quotario-ici:application-x-quotario-ici' "$mime/icons" ||
        fail "the data file's type has no icon"
}

echo "== personal install, into a prefix with a space and a dollar sign in its name"
prefix="$work/Programmi di \$USER"
install_into personal "$prefix"
folder=$prefix/lib/quotario
[[ -x $folder/quotario && -f $folder/quotario ]] || fail "no executable $folder/quotario"
check_file "$folder/Allinea.ini" "$source/data/Allinea.ini"
check_file "$folder/leggimi-prima.txt" "$source/data/leggimi-prima.txt"
check_menu_entry "$prefix" "$folder/quotario"
check_manifest personal "$prefix"

echo "== reinstall over a saved alignment"
printf '[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT1=30\nEDIT2=14\n' >"$work/saved.ini"
cp "$work/saved.ini" "$folder/Allinea.ini"
echo "old read-me" >"$folder/leggimi-prima.txt"
install_into personal "$prefix"
check_file "$folder/Allinea.ini" "$work/saved.ini"
check_file "$folder/leggimi-prima.txt" "$source/data/leggimi-prima.txt"
check_manifest personal "$prefix"

echo "== uninstall keeps the saved alignment and nothing else"
uninstall personal
[[ $(files_under "$prefix") == "$folder/Allinea.ini" ]] ||
    fail "left after uninstall: $(files_under "$prefix")"
check_file "$folder/Allinea.ini" "$work/saved.ini"
grep -q "Keeping the saved alignment: $folder/Allinea.ini" "$work/uninstall.log" ||
    fail "uninstall did not say it kept $folder/Allinea.ini"

echo "== uninstall of an install whose alignment was never saved"
rm -r "$prefix"
install_into personal "$prefix"
uninstall personal
[[ -z $(files_under "$prefix") && ! -e $folder ]] || fail "left after uninstall: $(find "$prefix")"

echo "== the archive's bare folder (what cpack puts in the .tar.gz)"
install_into folder "$work/archive" --component Unspecified
[[ -x $work/archive/quotario ]] || fail "no executable at the archive's top"
check_file "$work/archive/Allinea.ini" "$source/data/Allinea.ini"
check_file "$work/archive/leggimi-prima.txt" "$source/data/leggimi-prima.txt"
[[ ! -e $work/archive/share && ! -e $work/archive/lib ]] || fail "the archive holds more than the folder"
check_manifest folder "$work/archive"

echo "== system-wide layout of the .deb"
system=$work/usr
install_into system "$system"
check_file "$system/lib/quotario/Allinea.ini" "$source/data/Allinea.ini"
check_menu_entry "$system" "$system/bin/quotario"
check_manifest system "$system"
# The command is the program itself: nothing copies it anywhere.
[[ -L $system/bin/quotario && $(readlink -f "$system/bin/quotario") == "$system/lib/quotario/quotario" ]] ||
    fail "$system/bin/quotario is no link to the program"
if [[ $(id -u) -ne 0 ]]; then
    skip "an ordinary user's save in the system layout needs root (a noexec home mount)"
elif ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    skip "an ordinary user's save in the system layout needs xvfb-run and xdotool"
else
    chmod 755 "$work"
    unshare -m bash "$here/save_as_user.sh" "$system" || fail "an ordinary user could not save"
fi

report_checks install
