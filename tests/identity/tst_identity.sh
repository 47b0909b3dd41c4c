#!/usr/bin/env bash
# The program's identity is written once, in the top CMakeLists.txt (project() and the QUOTARIO_
# variables beside it), and every shipped file that names it is made from there. Fails when a
# file the build takes says the version, the author, the e-mail address or the web address
# itself (the next release would leave it behind), when a made file kept a place-holder, and
# when the changelog's newest entry is not dated the day of the release.
# Usage: tst_identity.sh SOURCE_DIR IDENTITY_DIR VERSION AUTHOR EMAIL WEB_ADDRESS RELEASE_DATE
set -uo pipefail
source_dir=$1
made=$2
release=$7
faults=0

fault() {
    echo "$1"
    faults=$((faults + 1))
}

for value in "$3" "$4" "$5" "$6"; do
    while IFS= read -r place; do
        fault "$place: \"$value\" written by hand; the top CMakeLists.txt holds it"
    done < <(cd "$source_dir" && grep -rnIwF -- "$value" src data cmake scripts | cut -d: -f1,2)
done

while IFS= read -r place; do
    fault "$place: a place-holder that names nothing the build knows"
done < <(cd "$made" && grep -rnoE '@[A-Za-z0-9_]+@' . | cut -d: -f1-3)

# " -- Name <address>  Tue, 08 Dec 2026 05:00:00 +0100": the newest entry's trailer.
day=$(LC_ALL=C date -d "$release" '+%a, %d %b %Y')
trailer=$(grep -m1 '^ -- ' "$made/data/debian/changelog")
[[ $trailer == *">  $day "* ]] || fault "data/debian/changelog.in: \"$trailer\" is not dated $day"

[[ $faults -eq 0 ]] || exit 1
echo "The identity is written once and every made file agrees with it"
