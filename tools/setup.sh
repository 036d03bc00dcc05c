#!/usr/bin/env bash
# Installs what building and running Navolet needs on Debian: git (the build stamps what
# it makes with the last commit's time), cmake, the MinGW-w64 cross compilers for 32-bit
# and 64-bit Windows, GoogleTest's sources, 64-bit Wine, Xvfb, the screenshot tools,
# makensis for the installer, wixl and msitools for the Windows Installer package (with
# faketime, which gives wixl the commit's time), osslsigncode and openssl for signing
# them, Python's YAML for the test of the winget manifest and pefile for the check of the
# programs' protections; and 32-bit Wine, with the i386 architecture, where this machine
# runs 32-bit Linux programs. Where it does not, 32-bit Wine could not start: it is not
# installed, or left unused if it is there.
# 32-bit Wine is the one package a run can do without: where apt cannot install it, the
# tools take the 64-bit path and say why (tools/env.sh reads apt's reason, kept in the
# build folder; it is not asked for again within the hour).
set -euo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/apt.sh"
navolet_on_error
packages=(git cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine wine64 xvfb x11-apps imagemagick xdotool procps fonts-wine nsis wixl msitools faketime osslsigncode openssl python3-yaml python3-pefile)
wine32=()
navolet_probe32 && wine32=(wine32:i386)
mapfile -t missing < <(navolet_apt_missing "${packages[@]}")
mapfile -t missing32 < <(navolet_apt_missing "${wine32[@]}")
[ ${#missing32[@]} -gt 0 ] || rm -f "$NAVOLET_WINE32_NOTE"
if [ ${#missing32[@]} -gt 0 ] && [ -n "$(find "$NAVOLET_WINE32_NOTE" -mmin -60 2>/dev/null)" ]; then
  echo "setup: 32-bit Wine could not be installed at $(date -r "$NAVOLET_WINE32_NOTE" +%H:%M)" \
       "(apt: $(cat "$NAVOLET_WINE32_NOTE")); it is tried again an hour after that"
  missing32=()
fi
[ ${#missing[@]} -gt 0 ] || [ ${#missing32[@]} -gt 0 ] || exit 0

echo "setup: installing $(echo ${missing[*]} ${missing32[*]})"
added_i386=""
if [ ${#missing32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $APT_SUDO dpkg --add-architecture i386
  added_i386=1
fi
# An architecture added for 32-bit Wine is taken away again when 32-bit Wine is not there:
# the machine is left as it was found.
drop_i386() {
  [ -z "$added_i386" ] || $APT_SUDO dpkg --remove-architecture i386 >/dev/null 2>&1 || true
}
navolet_apt_update || { drop_i386; NAVOLET_REPORTED=1; exit 1; }
if [ ${#missing[@]} -gt 0 ] && ! navolet_apt_install "${missing[@]}"; then
  navolet_apt_failed "${missing[@]}"
  drop_i386
  NAVOLET_REPORTED=1
  exit 1
fi
if [ ${#missing32[@]} -gt 0 ]; then
  if navolet_apt_install "${missing32[@]}"; then
    rm -f "$NAVOLET_WINE32_NOTE"
  else
    mkdir -p "$(dirname "$NAVOLET_WINE32_NOTE")"
    printf '%s\n' "$APT_REASON" >"$NAVOLET_WINE32_NOTE"
    echo "setup: 32-bit Wine could not be installed, so the tools take the 64-bit path (apt: $APT_REASON)"
    drop_i386
  fi
fi
