#!/usr/bin/env bash
# Builds the Debian package of Glyphox with the release preset, then checks it with
# scripts/check-package.sh. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh package
# Only the two programs are built: installing must not wait for the tests.
cmake --preset release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build --preset release --target glyphox glyphox-cli
rm -rf build/release/packages
(cd build/release && cpack --config CPackConfig.cmake >/dev/null)
package=$(echo build/release/packages/glyphox_*.deb)
[[ -f "$package" ]] || { echo "package.sh: no package was made" >&2; exit 1; }
scripts/check-package.sh "$package"
echo "$package"
