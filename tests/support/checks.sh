# shellcheck shell=bash
# Sourced by the shell tests that go on after a failed check: a temporary folder $work, removed at
# exit; fail MESSAGE counts a failed check; report_checks WHAT ends the test with the count.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
report_checks() {
    if [[ $failures -gt 0 ]]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all $1 checks passed"
}
