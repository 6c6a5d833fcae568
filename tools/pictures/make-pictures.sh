#!/bin/sh
# Rebuilds the dialog and table pictures in resources/pictures from the
# drawing code beside this script. The pictures are committed, so the build
# never runs this; run it after changing a drawing:
#
#   tools/pictures/make-pictures.sh [PREVIEW_DIR]
#
# PREVIEW_DIR, when given, receives a PNG of each decoded JPEG to look at.
# Needs a C++20 compiler, libjpeg-dev, zlib1g-dev, libfreetype-dev and
# fonts-liberation (the labels' typeface).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

${CXX:-c++} -std=c++20 -O2 -Wall -Wextra -Wpedantic -I"$root/ui" \
    $(pkg-config --cflags freetype2) \
    "$here"/*.cpp "$root/core/platform/JpegImage.cpp" \
    -ljpeg -lz $(pkg-config --libs freetype2) -o "$work/make-pictures"

mkdir -p "$root/resources/pictures"
if [ $# -ge 1 ]; then
    mkdir -p "$1"
    "$work/make-pictures" "$root/resources/pictures" "$1"
else
    "$work/make-pictures" "$root/resources/pictures"
fi
