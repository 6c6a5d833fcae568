#!/bin/sh
# Installs the Debian packages the build and the tests need, skipping what is
# already there. Runs apt-get as root, or through sudo when not root.
# With the argument "fuzz" it adds clang and its libFuzzer and sanitizer
# runtimes, which only the fuzz targets (make fuzz) need.
# desktop-file-utils, libxml2-utils and shared-mime-info check the desktop
# entry and the file types in the tests; dpkg-dev and file let CPack work out
# the Debian package's dependencies (make package). clang-format checks the
# layout of changed lines (scripts/check-format.sh, run by make test). parallel
# runs the manuals' example of a study's shards (the test skips without it).
set -eu

PACKAGES="build-essential cmake ninja-build ccache \
libgtest-dev libgmock-dev libbenchmark-dev \
qt6-base-dev libgl-dev libjpeg-dev fonts-liberation xvfb xauth \
libfreetype-dev pkg-config poppler-utils qt6-svg-dev \
desktop-file-utils libxml2-utils shared-mime-info dpkg-dev file clang-format parallel"
if [ "${1:-}" = fuzz ]; then
    PACKAGES="$PACKAGES clang libclang-rt-14-dev"
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
