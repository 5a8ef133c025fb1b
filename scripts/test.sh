#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#  1. the core and the windows' Qt-free logic, built without Qt (proves they link no toolkit)
#     and under AddressSanitizer and UndefinedBehaviorSanitizer;
#  2. the reader's fuzzing;
#  3. the full build: core, GUI, command-line tool and browser tests, through ctest.
# Compiler warnings are errors in every build here.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES='qt.webenginecontext.info=false'
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "${XDG_RUNTIME_DIR}" ]; then
    export XDG_RUNTIME_DIR="$(mktemp -d)"
    chmod 700 "$XDG_RUNTIME_DIR"
fi
jobs="$(nproc)"

echo "== core and window logic without Qt, under ASan and UBSan"
cmake -S "$here" -B "$here/build-core" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQLOOM_GUI=OFF \
    -DQLOOM_BENCH=OFF -DQLOOM_SANITIZE=ON -DQLOOM_WERROR=ON >/dev/null
cmake --build "$here/build-core" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$here/build-core" --output-on-failure -j "$jobs"

echo "== script reader fuzzing (one minute)"
# Any crash, sanitizer report or hang (an input taking over 10 s) fails the run; the input that
# caused it is kept in the printed folder.
CC=clang CXX=clang++ cmake -S "$here" -B "$here/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQLOOM_FUZZ=ON -DQLOOM_GUI=OFF -DQLOOM_TESTS=OFF -DQLOOM_BENCH=OFF >/dev/null
cmake --build "$here/build-fuzz" --target reader_fuzz -j "$jobs"
fuzz_work="$(mktemp -d)"
mkdir "$fuzz_work/corpus"
if ! "$here/build-fuzz/fuzz/reader_fuzz" -max_total_time=60 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$fuzz_work/" "$fuzz_work/corpus" "$here/fuzz/corpus" \
    "$here/tests/script/fixtures" >"$fuzz_work/log" 2>&1; then
    tail -n 60 "$fuzz_work/log"
    echo "reader fuzzing failed; inputs kept in $fuzz_work" >&2
    exit 1
fi
rm -rf "$fuzz_work"

echo "== full build"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLOOM_WERROR=ON >/dev/null
cmake --build "$here/build" -j "$jobs"
ctest --test-dir "$here/build" --output-on-failure -j "$jobs" "$@"
