#!/usr/bin/env bash
# Installs a built tree into a staging folder (DESTDIR) and checks the result as a desktop and
# a user would: the exact set of installed files, the desktop entry and AppStream metadata
# through their validators, the manual pages through man's own warnings, and the staged
# programs run from where they were installed.
#
# usage: staged-install.sh BUILD_DIR WITH_GUI(0|1) HARDENED(0|1)
set -uo pipefail
build=$1
gui=$2
hardened=${3:-0}
work=$(mktemp -d "${TMPDIR:-/tmp}/qloom-install.XXXX")
stage=$work/stage
source "$(dirname "$0")/check-lib.sh"

run_logged "cmake --install" env DESTDIR="$stage" cmake --install "$build" --prefix /usr
usr=$stage/usr

# Exactly these files, nothing more: a stray install (help pages beside the program, a
# library, a header) would land in every user's /usr.
expected=(
    bin/qloom-cli
    share/man/man1/qloom-cli.1.gz
    share/doc/qloom/copyright
    share/doc/qloom/changelog.Debian.gz
)
if [ "$gui" = 1 ]; then
    expected+=(
        bin/qloom
        share/man/man1/qloom.1.gz
        share/applications/qloom.desktop
        share/metainfo/io.norvex.qloom.metainfo.xml
        share/icons/hicolor/scalable/apps/qloom.svg
    )
    for size in 16 32 48 64 128 256; do
        expected+=("share/icons/hicolor/${size}x${size}/apps/qloom.png")
    done
    for page in "$(dirname "$0")"/../../help/*; do
        expected+=("share/qloom/help/$(basename "$page")")
    done
fi
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . -type f -o -type l | sed 's|^\./||' | sort) \
    >"$work/layout.diff" || { fail "installed files differ from the expected layout (< expected, > installed):"; cat "$work/layout.diff"; }

for f in "$usr"/bin/*; do
    [ -x "$f" ] || fail "$f is not executable"
done
[ "$hardened" = 1 ] && check_hardening "$usr"/bin/*
for gz in "$usr"/share/man/man1/*.gz "$usr"/share/doc/qloom/*.gz; do
    gzip -t "$gz" 2>/dev/null || fail "$gz is not gzip data"
done
# man reports every roff problem it meets on stderr.
for page in "$usr"/share/man/man1/*.1.gz; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man warns about $(basename "$page"): $out"
done

if [ "$gui" = 1 ]; then
    desktop=$usr/share/applications/qloom.desktop
    metainfo=$usr/share/metainfo/io.norvex.qloom.metainfo.xml
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects qloom.desktop"
    appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.log" 2>&1 ||
        { fail "appstreamcli rejects the metainfo"; cat "$work/appstream.log"; }
    # The three must name each other: the entry starts an installed program and shows an
    # installed icon, the metainfo launches the installed entry.
    exec_bin=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -x "$usr/bin/$exec_bin" ] || fail "the desktop entry starts \"$exec_bin\", which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "the desktop entry's icon \"$icon\" is not in the icon theme"
    grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $(basename "$desktop")"
    for size in 16 32 48 64 128 256; do
        got=$(identify -format '%wx%h' "$usr/share/icons/hicolor/${size}x${size}/apps/qloom.png" 2>&1)
        [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
    done

    # The staged program, run from its staged place.
    for option in --help --version; do
        # Both answer at once without opening a window; a program that starts instead is
        # stopped by the time limit.
        out=$(QT_QPA_PLATFORM=offscreen timeout 15 "$usr/bin/qloom" "$option" 2>/dev/null)
        rc=$?
        [ "$rc" -eq 0 ] || fail "qloom $option exits with $rc"
        [ "$option" = --version ] && ! grep -q '1\.02' <<<"$out" && fail "qloom --version prints \"$(head -c 200 <<<"$out")\""
    done
    # The staged program looks for its help pages beside its own bin folder, not in the build
    # tree nor in a /usr that holds another qLoom.
    help=$(QT_QPA_PLATFORM=offscreen timeout 15 "$usr/bin/qloom" --help 2>/dev/null | sed -n 's/^Help pages: //p')
    [ "$help" = "$(realpath "$usr")/share/qloom/help/index.htm" ] ||
        fail "the staged qloom looks for its help pages at \"$help\""
    [ -f "$help" ] || fail "the staged qloom's help page \"$help\" is not there"
fi

cli=$usr/bin/qloom-cli
out=$("$cli" --help 2>&1) || fail "qloom-cli --help exits with $?"
grep -q 'qloom-cli new' <<<"$out" || fail "qloom-cli --help does not list the commands"
out=$("$cli" --version 2>&1) || fail "qloom-cli --version exits with $?"
grep -q '1\.02' <<<"$out" || fail "qloom-cli --version prints \"$(head -c 200 <<<"$out")\""

project="$work/My Menus"
"$cli" new "$project" || fail "staged qloom-cli new"
"$cli" add "$project" 3 || fail "staged qloom-cli add"
json=$("$cli" dump "$project") || fail "staged qloom-cli dump"
menus=$(grep -o '"MX":' <<<"$json" | wc -l)
[ "$menus" -eq 3 ] || fail "dump of the staged project shows $menus menus, not 3"
[ -f "$project/Temp.html" ] || fail "staged qloom-cli new wrote no template page"

finish "staged tree kept in $stage" "staged install ok"
