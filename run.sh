#!/usr/bin/env bash
# Builds Glyphox, makes a demo ROM image and renders an actor's frame strips and
# tile sheet to PNG files with glyphox-cli.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glyphox-cli
cli=build/default/src/glyphox-cli
out=out
actor=${1:-0}
mkdir -p "$out"

"$cli" demo-rom "$out/demo.smc" --force
for strip in 1 2 3; do
    "$cli" render-strip "$out/demo.smc" --actor "$actor" --bank battle --auto --strip "$strip" \
        -o "$out/strip$strip.png"
done
"$cli" render-strip "$out/demo.smc" --actor "$actor" --bank battle --auto --strip 1 --labels \
    -o "$out/strip1-labels.png"
"$cli" render-tiles "$out/demo.smc" --actor "$actor" --bank battle --auto -o "$out/tiles.png"

echo
echo "Demo ROM image and pictures of actor $actor are in $(pwd)/$out:"
ls -1 "$out"
