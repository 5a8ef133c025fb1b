#!/usr/bin/env bash
# Runs clang-tidy-14 with the checks of .clang-tidy over the Qt-free sources (core, command
# line, the windows' logic), using the compile database of a build (default: build). Exits
# non-zero on any finding. The Qt windows are left out: parsing Qt's headers takes minutes per
# file on a small machine.
#
# usage: scripts/tidy.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
[ -f "$build/compile_commands.json" ] || { echo "no compile_commands.json in $build" >&2; exit 2; }
mapfile -t files < <(cd "$here" && find src/model src/script src/cli -name '*.cpp'; \
    cd "$here" && for lib in common editor preview shell; do
        sed -n '/_logic STATIC/,/)/p' "src/gui/$lib/CMakeLists.txt" | grep -o '[A-Za-z]*\.cpp' |
            sed "s|^|src/gui/$lib/|"
    done)
cd "$here"
status=0
for f in "${files[@]}"; do
    clang-tidy-14 --quiet -p "$build" "$f" 2>/dev/null || status=1
done
exit $status
