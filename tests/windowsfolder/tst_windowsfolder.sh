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
source "$(dirname "$0")/../support/desktop.sh"

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

# A Wine prefix of its own: Wine's desktop belongs to the first program of a prefix, and the
# other tests' programs run with no display.
export QUOTARIO_WINEPREFIX=${QUOTARIO_DISPLAY_WINEPREFIX:?}
(cd "$work" && QT_QPA_PLATFORM=windows exec "$wine_run" "$folder/quotario.exe") &
program_pid=$!
summary=$(compute_and_show_summary)
sleep 1
summary_click "$summary" right
sleep 0.5
summary_click "$summary" save
[[ $(saved_paper_right "$folder/Allinea.ini" D1) == D1 ]] ||
    fail "Allinea.ini beside quotario.exe was not saved: $(cat "$folder/Allinea.ini")"
ls "$folder" | grep -q '\.tmp$' && fail "a temporary file was left beside Allinea.ini"
[[ ! -e $work/Allinea.ini ]] || fail "Allinea.ini was saved in the working folder"
echo "the unzipped program computed, showed the summary and saved $folder/Allinea.ini"
