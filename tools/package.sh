#!/usr/bin/env bash
# Makes the release packages with CPack, for both architectures, in build/packages/:
# Navolet-<version>-win32.zip and -win64.zip (portable: Navolet.exe, README.txt,
# LICENSE.txt), and Navolet-<version>-win32.exe and -win64.exe (the installers, made by
# makensis, each a program of its own architecture). Making them runs no Windows program.
set -euo pipefail
"$(dirname "$0")/setup.sh"
source "$(dirname "$0")/env.sh"
navolet_on_error
for arch in 32 64; do
  dir=$(navolet_dir $arch)
  echo "Building the $arch-bit Navolet.exe"
  navolet_build $arch Navolet
  echo "Packing"
  (cd "$dir" && cpack -B "$BUILD/packages" >/dev/null)
done
ls -l "$BUILD"/packages/Navolet-*.{zip,exe}
