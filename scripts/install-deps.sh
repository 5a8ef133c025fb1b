#!/usr/bin/env bash
# Installs every Debian and npm package that building, running and testing qLoom need.
# Idempotent: packages already present are left alone, and the package index is refreshed
# only when something is missing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
    cmake g++ make pkg-config ninja-build clang-format
    qt6-base-dev qt6-webengine-dev libgl-dev
    qt6-image-formats-plugins libqt6svg6
    xvfb xauth
    openbox x11-utils xdotool wmctrl imagemagick
    desktop-file-utils appstream lintian dpkg-dev fakeroot librsvg2-bin devscripts
    man-db file
    libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev
    clang libclang-rt-14-dev clang-tidy-14
    nodejs npm
    chromium firefox-esr webkit2gtk-driver
    iproute2 util-linux strace procps python3 python3-tk
    fonts-dejavu-core fonts-liberation2
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
# A machine may bring its own node; then Debian's is not needed.
if command -v node >/dev/null && command -v npm >/dev/null; then
    filtered=()
    for p in "${missing[@]}"; do
        [[ "$p" == nodejs || "$p" == npm ]] || filtered+=("$p")
    done
    missing=("${filtered[@]+"${filtered[@]}"}")
fi

if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends "${missing[@]}"
fi

# Browser drivers and axe-core for the page tests (never a browser download).
if [ -f "$here/tests/page/package.json" ]; then
    if [ ! -d "$here/tests/page/node_modules" ] ||
        [ "$here/tests/page/package-lock.json" -nt "$here/tests/page/node_modules" ]; then
        (cd "$here/tests/page" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
        touch "$here/tests/page/node_modules"
    fi
fi
