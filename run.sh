#!/usr/bin/env bash
# Builds Glyphox, makes a demo ROM image if there is none yet, and starts the editor on
# it. `./run.sh FILE` (or GLYPHOX_ROM=FILE ./run.sh) opens another ROM image instead.
set -euo pipefail
rom=${1:-${GLYPHOX_ROM:-}}
[[ -z "$rom" || "$rom" == /* ]] || rom="$PWD/$rom"
cd "$(dirname "$0")"

scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glyphox glyphox-cli

if [[ -z "$rom" ]]; then
    rom=out/demo.smc
    if [[ ! -e "$rom" ]]; then
        mkdir -p out
        build/default/src/glyphox-cli demo-rom "$rom"
    fi
fi
exec build/default/src/glyphox "$rom"
