#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it: lintian finds nothing to report
# (an initial upload closes no bug, so that one note stays), two builds with the same
# SOURCE_DATE_EPOCH give the same bytes, the dependencies come from the shared libraries plus
# the packages the scan cannot see, the packaged programs are hardened, and they run.
#
# usage: deb-package.sh BUILD_DIR WITH_GUI(0|1) HARDENED(0|1)
set -uo pipefail
build=$1
gui=$2
hardened=${3:-0}
work=$(mktemp -d "${TMPDIR:-/tmp}/qloom-deb.XXXX")
source "$(dirname "$0")/check-lib.sh"

# The time a reproducible build stamps on every file: the last change of the sources when the
# caller gives none.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date -d "$(dpkg-parsechangelog -l \
    "$(dirname "$0")/../../packaging/changelog.Debian" -S Date)" +%s)}
mkdir "$work/first" "$work/second"
run_logged cpack cpack --config "$build/CPackConfig.cmake" -B "$work/first"
run_logged "cpack again" cpack --config "$build/CPackConfig.cmake" -B "$work/second"
deb=$(ls "$work"/first/qloom_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "FAIL: cpack made no qloom_*.deb"; exit 1; }
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
again=$work/second/$(basename "$deb")
if ! cmp -s "$deb" "$again"; then
    fail "two builds of the package differ"
    diff <(dpkg-deb --ctrl-tarfile "$deb" | tar -tv --full-time) \
        <(dpkg-deb --ctrl-tarfile "$again" | tar -tv --full-time) | head -n 10
    diff <(dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time) \
        <(dpkg-deb --fsys-tarfile "$again" | tar -tv --full-time) | head -n 10
fi
newest=$(dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time | awk '{print $4" "$5}' | sort | tail -n1)
[ "$(date -u -d "$newest" +%s 2>/dev/null)" -le "$SOURCE_DATE_EPOCH" ] ||
    fail "files in the package are dated $newest, after SOURCE_DATE_EPOCH"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libc6' <<<"$depends" || fail "no dependencies from the shared libraries"
grep -q 'libstdc++6' <<<"$depends" || fail "libstdc++6 missing from the dependencies"
if [ "$gui" = 1 ]; then
    for p in libqt6webenginewidgets6 libqt6widgets6 libjpeg62-turbo libqt6webenginecore6-bin fonts-liberation2; do
        grep -q "$p" <<<"$depends" || fail "$p missing from the dependencies"
    done
fi

if [ "$gui" = 1 ]; then
    grep -q 'xdg-utils' <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "xdg-utils is not recommended"
fi

# Errors and warnings fail the package.
lintian --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs \
    --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
rc=$?
grep -v '^running with root privileges' "$work/lintian.log" | sed 's/^/  lintian: /'
[ "$rc" -eq 0 ] || fail "lintian reports errors or warnings"

root=$work/root
dpkg-deb -x "$deb" "$root"
[ "$hardened" = 1 ] && check_hardening "$root"/usr/bin/*
"$root/usr/bin/qloom-cli" new "$work/p" >/dev/null && "$root/usr/bin/qloom-cli" dump "$work/p" >/dev/null ||
    fail "the packaged qloom-cli does not run"

finish "package kept in $work" "package ok"
