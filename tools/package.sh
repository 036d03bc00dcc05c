#!/usr/bin/env bash
# Makes the release packages with CPack: build/packages/Navolet-<version>-win32.zip
# (portable: Navolet.exe, README.txt, LICENSE.txt) and Navolet-<version>-win32.exe (the
# installer, made by makensis); -win64 for a 64-bit build.
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/tools/setup.sh"
echo "Building Navolet.exe"
navolet_build 32 Navolet
echo "Packing"
(cd "$BUILD" && cpack -B "$BUILD/packages" >/dev/null)
ls -l "$BUILD"/packages/Navolet-*.{zip,exe}
