#!/usr/bin/env bash
# Makes the release packages with CPack, for both architectures, in build/packages/:
# Navolet-<version>-win32.zip and -win64.zip (portable: Navolet.exe, README.txt,
# LICENSE.txt), Navolet-<version>-win32.exe and -win64.exe (the installers for the user
# alone, made by makensis, each a program of its own architecture), and
# Navolet-<version>-win32.msi and -win64.msi (Windows Installer packages for all users of
# a machine, made by wixl); beside them SHA256SUMS and the winget manifest
# (tools/manifests.sh). Making them runs no Windows program.
# The same commit packs into the same bytes: every time stamp in them is the last commit's,
# or SOURCE_DATE_EPOCH where it is set. With a certificate (NAVOLET_SIGN_PKCS12 and
# NAVOLET_SIGN_PASSWORD_FILE, maybe NAVOLET_SIGN_TIMESTAMP_URL; cmake/sign.sh) Navolet.exe,
# the uninstaller, the installers and the Windows Installer packages are signed.
set -euo pipefail
"$(dirname "$0")/setup.sh"
source "$(dirname "$0")/env.sh"
navolet_on_error
OUT=$BUILD/packages

signing_line() {
  if [ -z "${NAVOLET_SIGN_PKCS12:-}" ]; then
    echo "Not signing: no certificate given (NAVOLET_SIGN_PKCS12; README, \"Packages\")"
  else
    echo "Signing with $NAVOLET_SIGN_PKCS12${NAVOLET_SIGN_TIMESTAMP_URL:+, time-stamped by $NAVOLET_SIGN_TIMESTAMP_URL}"
  fi
}

signing_line
# Only this run's packages: SHA256SUMS lists what is in the folder.
rm -rf "$OUT"
for arch in 32 64; do
  dir=$(navolet_dir $arch)
  echo "Building the $arch-bit Navolet.exe"
  navolet_build $arch Navolet
  echo "Packing"
  navolet_step "packing the $arch-bit build: cpack" cpack --config "$dir/CPackConfig.cmake" -B "$OUT"
done
# CPack's staging folders, and the description its External generator writes beside the
# Windows Installer package, are not for publishing.
rm -rf "$OUT/_CPack_Packages" "$OUT"/Navolet-*.json
epoch=$(sed -n 's/^set(CPACK_NAVOLET_SOURCE_DATE_EPOCH "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
echo "Time stamps: $(date -u -d "@$epoch") (SOURCE_DATE_EPOCH=$epoch)"
"$ROOT/tools/manifests.sh" "$OUT" "$BUILD/CPackConfig.cmake"
ls -l "$OUT"/Navolet-*.{zip,exe,msi} "$OUT/SHA256SUMS"
find "$OUT/winget" -type f | sort
