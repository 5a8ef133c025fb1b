#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it: lintian finds no errors, the
# dependencies come from the shared libraries plus the packages the scan cannot see, and the
# packaged programs run.
#
# usage: deb-package.sh BUILD_DIR WITH_GUI(0|1)
set -uo pipefail
build=$1
gui=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qloom-deb.XXXX")
source "$(dirname "$0")/check-lib.sh"

run_logged cpack cpack --config "$build/CPackConfig.cmake" -B "$work"
deb=$(ls "$work"/qloom_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "FAIL: cpack made no qloom_*.deb"; exit 1; }
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libc6' <<<"$depends" || fail "no dependencies from the shared libraries"
grep -q 'libstdc++6' <<<"$depends" || fail "libstdc++6 missing from the dependencies"
if [ "$gui" = 1 ]; then
    for p in libqt6webenginewidgets6 libqt6widgets6 libjpeg62-turbo libqt6webenginecore6-bin fonts-liberation2; do
        grep -q "$p" <<<"$depends" || fail "$p missing from the dependencies"
    done
fi

# Errors fail the package; warnings are listed for whoever reads the log.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
rc=$?
grep -v '^running with root privileges' "$work/lintian.log" | sed 's/^/  lintian: /'
[ "$rc" -eq 0 ] || fail "lintian reports errors"

root=$work/root
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/qloom-cli" new "$work/p" >/dev/null && "$root/usr/bin/qloom-cli" dump "$work/p" >/dev/null ||
    fail "the packaged qloom-cli does not run"

finish "package kept in $work" "package ok"
