#!/usr/bin/env bash
# The Windows zip as a user gets it: unzipped into a folder named with "è" and Cyrillic letters,
# quotario.exe started under Wine on a virtual display from another folder shows the main
# window, computes, shows the summary, and "Salva l'allineamento" saves Allinea.ini beside
# itself (the paper at the right, clicked in the summary window's panel).
#   tst_windowsfolder.sh ZIP WINE_RUN
set -euo pipefail
zip=$1
wine_run=$2

if [[ ${3:-} != --on-display ]]; then
    # A display number of its own choosing: xvfb-run -a alone races with other virtual displays
    # started at the same moment on the machine.
    exec xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" "$0" "$zip" "$wine_run" \
        --on-display
fi
work=$(mktemp -d)
program_pid=
finish() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
    [[ -n ${QUOTARIO_DISPLAY_WINEPREFIX:-} ]] && WINEPREFIX=$QUOTARIO_DISPLAY_WINEPREFIX wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# One folder and nothing beside it, holding the program, its two files and its plugins.
folder_name=$(unzip -Z1 "$zip" | cut -d/ -f1 | sort -u)
[[ $(wc -l <<<"$folder_name") -eq 1 ]] || fail "the zip holds more than one folder: $folder_name"
place="$work/Programmi è ж"
mkdir -p "$place"
unzip -q "$zip" -d "$place"
folder=$place/$folder_name
for file in quotario.exe Allinea.ini leggimi-prima.txt Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    Qt6PrintSupport.dll platforms/qwindows.dll translations/qtbase_it.qm; do
    [[ -f $folder/$file ]] || fail "$file is missing from the zip"
done
[[ $(sed -n 's/^EDITD=//p' "$folder/Allinea.ini" | tr -d '\r') == "" ]] || fail "the shipped Allinea.ini chooses a paper position"

# Waits for a visible window whose title matches and gives it the keyboard.
window() {
    local id
    id=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" | head -1) || true
    if [[ -z $id ]]; then
        kill -0 "$program_pid" 2>/dev/null || fail "quotario.exe ended before showing '$1'"
        fail "no window '$1' on display $DISPLAY"
    fi
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    echo "$id"
}
type_fields() {
    for text in "$@"; do
        [[ -n $text ]] && xdotool type --delay 20 "$text"
        xdotool key Tab
    done
}
# Clicks a point given in the window's own client coordinates (the designed geometry); Wine
# may draw a frame around the client area, which is the part left over.
click() { # click WINDOW WIDTH HEIGHT X Y
    local geometry width height border top
    geometry=$(xdotool getwindowgeometry --shell "$1")
    width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
    height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
    border=$(((width - $2) / 2))
    top=$((height - $3 - border))
    xdotool mousemove --window "$1" $(($4 + border)) $(($5 + top)) click 1
}

# A Wine prefix of its own: Wine's desktop belongs to the first program of a prefix, and the
# other tests' programs run with no display.
export QUOTARIO_WINEPREFIX=${QUOTARIO_DISPLAY_WINEPREFIX:?}
(cd "$work" && QT_QPA_PLATFORM=windows exec "$wine_run" "$folder/quotario.exe") &
program_pid=$!
window 'Programma Freeware' >/dev/null
type_fields 12345678 "COMUNE DI ROMA" "SERVIZIO TRIBUTI ICI" "ROSSI MARIO VIA APPIA 12" ROMA \
    RSSMRA60A01H501X 2 2001 X ""
type_fields 1250 5 5 103,29 100 12 820 5 7 50 12
xdotool key alt+a
sleep 1
xdotool key alt+v
summary=$(window 'Riepilogo Bollettino')
sleep 1
click "$summary" 522 473 455 113 # "Carta a destra"
sleep 0.5
click "$summary" 522 473 454 233 # "Salva l'allineamento"
for _ in $(seq 50); do
    [[ $(sed -n 's/^EDITD=//p' "$folder/Allinea.ini" | tr -d '\r') == D1 ]] && break
    sleep 0.2
done
[[ $(sed -n 's/^EDITD=//p' "$folder/Allinea.ini" | tr -d '\r') == D1 ]] ||
    fail "Allinea.ini beside quotario.exe was not saved: $(cat "$folder/Allinea.ini")"
ls "$folder" | grep -q '\.tmp$' && fail "a temporary file was left beside Allinea.ini"
[[ ! -e $work/Allinea.ini ]] || fail "Allinea.ini was saved in the working folder"
echo "the unzipped program computed, showed the summary and saved $folder/Allinea.ini"
