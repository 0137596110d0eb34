#!/usr/bin/env bash
# Checks a Glyphox .deb without installing it: unpacks it into a scratch folder,
# looks for the installed files, runs the unpacked glyphox-cli, and validates the
# desktop entry and the AppStream metainfo.
set -euo pipefail
package=$(realpath "$1")
cd "$(dirname "$0")/.."
source=$PWD
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "check-package.sh: $*" >&2
    exit 1
}

dpkg-deb -x "$package" "$scratch/root"
root=$scratch/root/usr
id=org.glyphox.Glyphox
expected=(
    bin/glyphox bin/glyphox-cli
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/glyphox.1 share/man/man1/glyphox-cli.1
    share/bash-completion/completions/glyphox-cli
)
for size in 16 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
    [[ -f "$root/$file" ]] || fail "the package lacks /usr/$file"
done

depends=$(dpkg-deb -f "$package" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libpng16-16 libgif7 libfontconfig1 \
    qt6-qpa-plugins; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

# The unpacked programs run from the scratch folder, without the build's libraries.
cli=$root/bin/glyphox-cli
version=$(sed -n 's/^project(Glyphox VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
[[ $("$cli" --version) == "glyphox-cli $version" ]] || fail "glyphox-cli --version is not $version"
"$cli" demo-rom "$scratch/demo.smc" >/dev/null
"$cli" info "$scratch/demo.smc" | grep -qx 'Editable: yes' || fail "info cannot read its own demo ROM"
# Without any display: the editor's help and version are plain text.
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/glyphox" --version) == "Glyphox $version" ]] ||
    fail "glyphox --version is not $version"
# The editor opens the demo image in a window (offscreen) and ends after its first paint.
QT_QPA_PLATFORM=offscreen GLYPHOX_QUIT_AFTER_FIRST_PAINT=1 XDG_CONFIG_HOME="$scratch/config" \
    XDG_DATA_HOME="$scratch/data" "$root/bin/glyphox" "$scratch/demo.smc" ||
    fail "the editor does not open its demo ROM"

# Every command of the usage is in the manual page and in the shell completion.
for command in $("$cli" --help | sed -n 's/^  \([a-z-]*\) .*/\1/p' | sort -u); do
    grep -qF ".BI \"${command//-/\\-} " "$root/share/man/man1/glyphox-cli.1" ||
        fail "glyphox-cli(1) does not describe $command"
    grep -qw -- "$command)" "$root/share/bash-completion/completions/glyphox-cli" ||
        fail "the bash completion does not know $command"
done

desktop-file-validate "$root/share/applications/$id.desktop"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >/dev/null
echo "check-package.sh: $(basename "$package") is complete"
