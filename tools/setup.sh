#!/usr/bin/env bash
# Installs what building and running Navolet needs on Debian: git (the build stamps what
# it makes with the last commit's time), cmake, the MinGW-w64 cross compilers for 32-bit
# and 64-bit Windows, GoogleTest's sources, 64-bit Wine, Xvfb, the screenshot tools,
# makensis for the installer, wixl and msitools for the Windows Installer package (with
# faketime, which gives wixl the commit's time), osslsigncode and openssl for signing
# them, Python's YAML for the test of the winget manifest; and 32-bit Wine, with the i386
# architecture, where this machine runs 32-bit Linux programs. Where it does not, 32-bit
# Wine could not start: it is not installed, or left unused if it is there.
set -euo pipefail
source "$(dirname "$0")/env.sh"
navolet_on_error
packages=(git cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine wine64 xvfb x11-apps imagemagick xdotool procps fonts-wine nsis wixl msitools faketime osslsigncode openssl python3-yaml)
navolet_probe32 && packages+=(wine32:i386)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing ${missing[*]}"
if [[ " ${missing[*]} " = *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
