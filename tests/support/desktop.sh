# shellcheck shell=bash
# Sourced by the shell tests that drive the Windows program under Wine on a virtual display with
# real keys and clicks (xdotool), as a user does, and by scripts/screenshots. The caller defines
# fail MESSAGE and sets program_pid to the program's process.

# Waits for a visible window whose title matches and gives it the keyboard; prints its id.
window() {
    local id= deadline=$((SECONDS + 60))
    # One search ends with BadWindow when one of Wine's short-lived windows goes away while it
    # is looked at (seen under load): search again until the window is there.
    while [[ -z $id ]] && ((SECONDS < deadline)); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
        [[ -n $id ]] || kill -0 "$program_pid" 2>/dev/null || break
        [[ -n $id ]] || sleep 0.2
    done
    if [[ -z $id ]]; then
        if ! kill -0 "$program_pid" 2>/dev/null; then
            fail "the program ended before showing '$1'"
        else
            fail "no window '$1' on display $DISPLAY"
        fi
        return 1
    fi
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    echo "$id"
}

# Types each text into a box and moves on with Tab; an empty text only moves on.
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

# The main window filled in as a user types it, then "C&alcola".
fill_and_compute() {
    window 'Programma Freeware' >/dev/null || return 1
    type_fields 12345678 "COMUNE DI ROMA" "SERVIZIO TRIBUTI ICI" "ROSSI MARIO VIA APPIA 12" ROMA \
        RSSMRA60A01H501Q 2 2001 X ""
    type_fields 1250 5 5 103,29 100 12 820 5 7 50 12
    xdotool key alt+a
}

# The main window filled in and computed, then "&Visualizza": prints the summary window's id.
compute_and_show_summary() {
    fill_and_compute || return 1
    sleep 1
    xdotool key alt+v
    window 'Riepilogo Bollettino'
}

# The summary window's buttons, by their centres in the designed 522 x 473 window.
summary_click() { # summary_click WINDOW right|save|print
    case $2 in
    right) click "$1" 522 473 455 113 ;; # "Carta a destra"
    save) click "$1" 522 473 454 233 ;;  # "Salva l'allineamento"
    print) click "$1" 522 473 454 378 ;; # "Stampa il bollettino"
    esac
}

# The paper position that Allinea.ini holds (EDITD=D1: paper at the right); waits up to 10 s
# for it to become WANTED when that is given.
saved_paper_right() { # saved_paper_right FILE [WANTED]
    local value
    for _ in $(seq 50); do
        value=$(sed -n 's/^EDITD=//p' "$1" 2>/dev/null | tr -d '\r')
        [[ -z ${2:-} || $value == "$2" ]] && break
        sleep 0.2
    done
    echo "$value"
}

# The slip's faces as Windows has them: Wine answers for "Arial" and "Courier New" with their
# metric twins Liberation Sans and Liberation Mono, under the names asked for. Otherwise Wine
# substitutes another face, Qt sees a name other than its own and prints the texts as outlines,
# which carry no text. WINE names the command that runs Wine's programs in the prefix.
wine_slip_faces() { # wine_slip_faces WINE...
    local key='HKCU\Software\Wine\Fonts\Replacements'
    "$@" reg add "$key" /v Arial /d "Liberation Sans" /f >/dev/null &&
        "$@" reg add "$key" /v "Courier New" /d "Liberation Mono" /f >/dev/null
}

# A private print server for the Windows program under Wine, stopped with the prefix's programs
# when the script ends. Wine's printers come from the server that CUPS_SERVER names, read when
# the program starts. Sets `server` (its folder) and QUOTARIO_PRINT_JOB (the job's PDF there).
wine_private_print_server() { # wine_private_print_server PRIVATE_CUPSD
    wine_print_cupsd=$1
    # Short, for the server's socket; traversable, since the print filters run as lp.
    server=$(mktemp -d /tmp/quotario-cups-XXXXXX)
    chmod 0755 "$server"
    trap 'WINEPREFIX=$QUOTARIO_WINEPREFIX wineserver -k 2>/dev/null || true
        "$wine_print_cupsd" stop "$server"
        rm -rf "$server"' EXIT
    "$wine_print_cupsd" start "$server" $$
    while IFS= read -r setting; do export "${setting?}"; done < <("$wine_print_cupsd" env "$server")
    unset PRINTER LPDEST
    export QUOTARIO_PRINT_JOB="Z:$server/out/job.pdf"
}
