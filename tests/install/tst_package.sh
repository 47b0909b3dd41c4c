#!/usr/bin/env bash
# tst_package.sh CPACK BUILD_DIR
# Makes the .deb as `make package` does and puts it through Debian's checks: lintian --pedantic
# finds no error, no warning and no missing hardening in the executable; the AppStream metainfo
# validates against the package's own menu entry and icons; the Depends dpkg-shlibdeps computes
# keep the library the program loads only to print; the copyright and the changelog name the
# package's maintainer.
set -uo pipefail
cpack=$1
build=$2
# shellcheck source=../support/checks.sh
source "$(dirname "$0")/../support/checks.sh"

"$cpack" -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not make the .deb" >&2
    exit 1
}
deb=$(echo "$work"/out/*.deb)
tree=$work/tree
dpkg-deb -x "$deb" "$tree"

echo "== lintian --pedantic $(basename "$deb")"
lintian --pedantic --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
cat "$work/lintian.log"
grep -qE '^(E|W): |hardening-' "$work/lintian.log" &&
    fail "lintian reports errors, warnings or missing hardening"

echo "== appstreamcli validate-tree"
appstreamcli validate-tree --no-net "$tree" || fail "the AppStream metainfo does not validate"

echo "== Depends"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends"
for library in libcups2 libgcc-s1 libqt6printsupport6; do
    [[ ", $depends," == *", $library"[\ ,]* ]] || fail "Depends lacks $library"
done

echo "== the maintainer"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
doc=$tree/usr/share/doc/quotario
grep -qF "Upstream-Contact: $maintainer" "$doc/copyright" || fail "copyright's contact is not it"
zcat "$doc/changelog.gz" | grep -qF -- " -- $maintainer  " || fail "changelog's entry is not by it"

report_checks package
