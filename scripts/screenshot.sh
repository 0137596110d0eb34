#!/usr/bin/env bash
# Remakes docs/screenshot.png: the editor on a demo ROM image, shown on a virtual
# X server. Needs xvfb, twm, x11-utils and imagemagick; uses the debug build
# (made if missing) or the one named by GLYPHOX_BUILD.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${GLYPHOX_BUILD:-build/default}

if [[ ${1:-} != --on-display ]]; then
    for tool in xvfb-run twm xwininfo import convert; do
        command -v "$tool" >/dev/null ||
            { echo "screenshot.sh: $tool is missing (apt-get install xvfb twm x11-utils imagemagick)" >&2; exit 1; }
    done
    if [[ ! -x $build/src/glyphox || ! -x $build/src/glyphox-cli ]]; then
        cmake --preset default >/dev/null
        cmake --build --preset default --target glyphox glyphox-cli
    fi
    exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" --on-display
fi

# Settings, recent files and journals of a scratch folder, not the user's.
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

# twm would otherwise wait for the window to be placed by hand.
printf 'RandomPlacement\nUsePPosition "on"\nNoTitle\n' >"$work/twmrc"
twm -f "$work/twmrc" >/dev/null 2>&1 &
pids+=($!)
"$build/src/glyphox-cli" demo-rom "$work/demo.smc" >/dev/null
"$build/src/glyphox" "$work/demo.smc" &
pids+=($!)

window=
for _ in $(seq 100); do
    window=$(xwininfo -root -tree | awk '/"demo.smc - Glyphox"/ {print $1; exit}')
    [[ -n $window ]] && break
    sleep 0.2
done
[[ -n $window ]] || { echo "screenshot.sh: the editor's window did not appear" >&2; exit 1; }
sleep 2 # the first paint and a step of the animation

geometry() { xwininfo -id "$window" | awk -v key="$1" '$0 ~ key {print $NF}'; }
x=$(geometry 'Absolute upper-left X') y=$(geometry 'Absolute upper-left Y')
width=$(geometry 'Width') height=$(geometry 'Height')
import -window root "$work/screen.png"
convert "$work/screen.png" -crop "${width}x${height}+${x}+${y}" +repage docs/screenshot.png
echo "screenshot.sh: wrote docs/screenshot.png (${width} x ${height})"
