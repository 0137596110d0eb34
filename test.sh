#!/usr/bin/env bash
# Builds Glyphox and runs the whole test suite. An optional argument names the
# CMake preset: default (debug), release or asan (AddressSanitizer + UBSan).
set -euo pipefail
cd "$(dirname "$0")"
preset=${1:-default}

scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
export DBUS_SESSION_BUS_ADDRESS=disabled:
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
