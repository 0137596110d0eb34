#!/usr/bin/env bash
# Installs the system packages Glyphox needs to build and test, where missing;
# `scripts/setup.sh fuzz` adds clang and its libFuzzer runtime for the fuzz preset;
# `scripts/setup.sh package` adds what scripts/package.sh needs to make and check
# the Debian package (dpkg-shlibdeps, the desktop entry and AppStream validators).
# On Debian or Ubuntu it uses apt-get (as root or through sudo); elsewhere, or
# without the rights, it says what to install and stops.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libgl-dev libbenchmark-dev libpng-dev libgif-dev
          libfontconfig-dev)
tools=(cmake ninja g++)
if [[ ${1:-} == fuzz ]]; then
    packages+=(clang libclang-rt-14-dev)
    tools+=(clang++)
fi
if [[ ${1:-} == package ]]; then
    packages+=(dpkg-dev file desktop-file-utils appstream)
    tools+=(dpkg-shlibdeps dpkg-deb desktop-file-validate appstreamcli)
fi

missing=()
if command -v dpkg-query >/dev/null 2>&1; then
    for package in "${packages[@]}"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$package")
    done
else
    for tool in "${tools[@]}"; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    if ((${#missing[@]})); then
        echo "Please install: ${missing[*]} and the Qt 6 (6.4 or newer) base development files." >&2
        exit 1
    fi
    exit 0
fi

((${#missing[@]})) || exit 0

if [[ $(id -u) -eq 0 ]]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo=(sudo)
else
    echo "Glyphox needs these packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
