#!/usr/bin/env bash
# Runs the browser suite the way ctest and CI do: inside a loopback-only network namespace where
# the system permits one (so no engine can reach the network), under a virtual display (WebKit
# needs one), serially. QLOOM_CLI names the qloom-cli that writes the test pages.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here"

if [ ! -d node_modules/puppeteer-core ] || [ ! -d node_modules/selenium-webdriver ] || [ ! -d node_modules/axe-core ]; then
    echo "tests/page/node_modules is missing: run scripts/install-deps.sh" >&2
    exit 1
fi
if [ -z "${QLOOM_CLI:-}" ] || [ ! -x "$QLOOM_CLI" ]; then
    echo "QLOOM_CLI must name the built qloom-cli" >&2
    exit 1
fi

suite=(node --test --test-concurrency=1 --test-timeout=300000 runtime.test.js editing.test.js access.test.js smallscreen.test.js)
if command -v xvfb-run >/dev/null; then
    suite=(xvfb-run -a "${suite[@]}")
fi

if unshare -n true 2>/dev/null; then
    exec unshare -n sh -c 'ip link set lo up && exec "$@"' sh "${suite[@]}"
fi
echo "note: no private network namespace here; running on the host network (pages stay on 127.0.0.1)"
exec "${suite[@]}"
