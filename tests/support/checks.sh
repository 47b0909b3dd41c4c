# shellcheck shell=bash
# Sourced by the shell tests that go on after a failed check: a temporary folder $work, removed at
# exit; fail MESSAGE counts a failed check; skip REASON a check this machine cannot make (a failure
# in CI, CI=true, where the set-up installs everything; elsewhere the test ends skipped, exit 77);
# report_checks WHAT ends the test with the count.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
skipped=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
skip() {
    if [[ ${CI:-} == true ]]; then
        fail "cannot be checked in CI: $*"
    else
        echo "SKIP: $*"
        skipped=1
    fi
}
report_checks() {
    if [[ $failures -gt 0 ]]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    [[ $skipped -eq 0 ]] || exit 77
    echo "all $1 checks passed"
}
