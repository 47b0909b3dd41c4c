#!/usr/bin/env bash
# save_as_user.sh PREFIX
# The system-wide layout installed in PREFIX as an ordinary user meets it: the user "nobody",
# whose home is a tmpfs mounted noexec, starts PREFIX/bin/quotario on a virtual X display, puts
# the paper at the right and saves the alignment. The save must land in the user's
# configuration folder (made with mode 0700), the program's folder must stay as installed and
# the home must hold no program. Needs root, and a mount namespace of its own (run it under
# `unshare -m`), so that the home's mount is seen by nobody else and ends with it.
set -euo pipefail
prefix=$1
if [[ ${2:-} != --on-display ]]; then
    mount --make-rprivate /
    # -ac: the program runs as another user than the one who owns the display's cookie.
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-ac -screen 0 1280x1024x24" "$0" "$prefix" \
        --on-display
fi
user=65534
work=$(mktemp -d)
home=$work/home
program_pid=
finish() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
    umount "$home" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
chmod 755 "$work"
mkdir "$home" "$work/run"
mount -t tmpfs -o noexec,nosuid,nodev,size=8m,mode=0700,uid=$user,gid=$user tmpfs "$home"
chown $user:$user "$work/run"
chmod 700 "$work/run"
installed=$(cd "$prefix/lib/quotario" && sha256sum -- *)

window() { # window TITLE_REGEX: waits for it and gives it the keyboard
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [[ -n $id ]] || fail "no window '$1'"
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    echo "$id"
}
click() { # click WINDOW X Y, in the window's own coordinates
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

(cd / && exec setpriv --reuid=$user --regid=$user --clear-groups \
    env -u XAUTHORITY -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR="$work/run" \
    QT_QPA_PLATFORM=xcb "$prefix/bin/quotario") &
program_pid=$!
window 'Programma Freeware' >/dev/null
xdotool key alt+v
summary=$(window 'Riepilogo Bollettino')
sleep 0.5
click "$summary" 455 113 # "Carta a destra"
click "$summary" 454 233 # "Salva l'allineamento"
saved=$home/.config/quotario/Allinea.ini
for _ in $(seq 50); do
    [[ -f $saved ]] && break
    sleep 0.2
done
[[ $(sed -n 's/^EDITD=//p' "$saved" 2>/dev/null) == D1 ]] ||
    fail "the alignment was not saved in $saved"
[[ $(stat -c %a "$home/.config/quotario") == 700 ]] || fail "$home/.config/quotario is not 0700"
[[ $(cd "$prefix/lib/quotario" && sha256sum -- *) == "$installed" ]] ||
    fail "the program's folder changed"
programs=$(find "$home" -type f \( -perm /111 -o -name quotario \))
[[ -z $programs ]] || fail "the home holds a program: $programs"
echo "the user saved $saved; the program ran from $prefix/lib/quotario"
