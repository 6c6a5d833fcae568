#!/bin/sh
# Rebuilds the program's icon in packaging/icons/hicolor from the drawing in
# make-icons.cpp. The icons are committed, so the build never runs this; run
# it after changing the drawing:
#
#   tools/icons/make-icons.sh
#
# Needs a C++20 compiler, qt6-base-dev, qt6-svg-dev and pkg-config.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck disable=SC2046
${CXX:-c++} -std=c++20 -O2 -fPIC -Wall -Wextra "$here/make-icons.cpp" \
    $(pkg-config --cflags --libs Qt6Gui Qt6Svg) -o "$work/make-icons"
"$work/make-icons" "$root/packaging/icons/hicolor"
