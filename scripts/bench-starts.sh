# shellcheck shell=bash
# Sourced by scripts/bench and scripts/bench-windows: the start-up measure both take, and how its
# figures are reduced.

# The median of the numbers on the input, one a line.
median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# A / B with two decimals.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# RUNS starts of the program and of the bare window, taken in turns, after one untimed start of
# each to fill the file cache. Each start's "MILLISECONDS KIBIBYTES" line is added to
# FOLDER/program.txt or FOLDER/bare.txt. The caller defines watch TITLE PROGRAM and the arrays
# program and bare (a window title, then the program).
# shellcheck disable=SC2154 # program and bare are the caller's
starts_in_turns() { # starts_in_turns FOLDER RUNS
    watch "${program[@]}" >/dev/null
    watch "${bare[@]}" >/dev/null
    for _ in $(seq "$2"); do
        watch "${program[@]}" >>"$1/program.txt"
        watch "${bare[@]}" >>"$1/bare.txt"
    done
}
