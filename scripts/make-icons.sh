#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG with rsvg-convert
# (librsvg2-bin). Run it after changing the SVG and commit the PNGs: the build
# and the package take them as they are.
set -euo pipefail
cd "$(dirname "$0")/../res/icons/hicolor"

svg=scalable/apps/org.glyphox.Glyphox.svg
for size in 16 32 48 64 128 256; do
    mkdir -p "${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/apps/org.glyphox.Glyphox.png"
done
