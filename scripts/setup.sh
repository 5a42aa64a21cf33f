#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build Kartola, then configures
# and builds it. Sourced by run.sh and test.sh; BUILD_DIR and BUILD_TYPE may be set.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
BUILD_TYPE="${BUILD_TYPE:-Release}"

need=()
# fonts-dejavu-core: the offscreen platform draws text (menus, captions) with it.
# qt6-declarative-dev: the JavaScript engine of scripts (QJSEngine).
# zlib1g-dev: the CRC-32 of BPS patches and the deflate of PNG pictures.
# lintian and man-db: the tests check the Debian package and the manual page.
# xvfb, xauth and openbox: the window tests run the editor on a
# private X server under a small window manager (tests/window/x_session.sh).
# tiled: the map round-trip tests re-save and draw exported maps with Tiled's own programs.
for pkg in cmake g++ make qt6-base-dev qt6-declarative-dev zlib1g-dev fonts-dejavu-core lintian man-db \
           xvfb xauth openbox tiled; do
    dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ "${#need[@]}" -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    echo "Installing: ${need[*]}"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${need[@]}"
fi

# ccache, where the machine has it, keeps the builds of other clones short.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=true
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="$BUILD_TYPE" "${launcher[@]}" ${CMAKE_EXTRA_ARGS:-}
cmake --build "$BUILD_DIR" -j2
