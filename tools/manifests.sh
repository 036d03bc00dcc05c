#!/usr/bin/env bash
# Writes what is published beside the packages in a folder: SHA256SUMS, and the winget
# manifest of this version for the installers there (the per-user NSIS installers and the
# per-machine Windows Installer packages, whose codes are read from the packages), in the layout of a winget repository
# (winget/manifests/n/Navolet/Navolet/VERSION/: the version, installer and default-locale
# files). Name, version, publisher and summary are CPack's, from a build's CPackConfig.cmake.
#   NAVOLET_RELEASE_URL   where the packages will be downloaded from (the folder's URL);
#                         without it the installer URLs point to example.invalid
#   manifests.sh PACKAGES_DIR CPACK_CONFIG
set -euo pipefail
DIR=$1 CONFIG=$2
# The winget-pkgs repository's current manifest schema.
SCHEMA=1.10.0
PLACEHOLDER=https://example.invalid/Navolet
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack_var() {
  local value
  value=$(sed -n "s/^set($1 \"\(.*\)\")\$/\1/p" "$CONFIG")
  [ -n "$value" ] || fail "$CONFIG sets no $1"
  printf '%s' "$value"
}
# A YAML scalar in single quotes, which keep everything but the quote itself.
q() { printf "'%s'" "${1//\'/\'\'}"; }
# The installer's architecture as winget names it, from the machine field of its PE header.
architecture() {
  local machine
  machine=$(od -An -tx2 -j$(($(od -An -tu4 -j60 -N4 "$1") + 4)) -N2 "$1" | tr -d ' ')
  case $machine in
    014c) echo x86 ;;
    8664) echo x64 ;;
    *) fail "$1 is a program for machine $machine, which winget has no name for" ;;
  esac
}
# A value of the Windows Installer package's Property table.
msi_property() {
  msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p" | grep . || fail "$1 has no $2"
}
msi_architecture() {
  case $(msiinfo suminfo "$1" | sed -n 's/^Template: \([^;]*\);.*/\1/p') in
    Intel) echo x86 ;;
    x64) echo x64 ;;
    *) fail "$1 is a package for a platform winget has no name for" ;;
  esac
}
sha256() { sha256sum "$1" | cut -d' ' -f1 | tr a-f A-F; }
header() {
  printf '# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json\n\n' "$1" "$SCHEMA"
  printf 'PackageIdentifier: %s\nPackageVersion: %s\n' "$(q "$ID")" "$(q "$VERSION")"
}
footer() { printf 'ManifestType: %s\nManifestVersion: %s\n' "$1" "$SCHEMA"; }

NAME=$(cpack_var CPACK_PACKAGE_NAME)
VERSION=$(cpack_var CPACK_PACKAGE_VERSION)
ID=$NAME.$NAME
installers=("$DIR/$NAME-$VERSION"-win*.exe)
[ -f "${installers[0]}" ] || fail "no installer $NAME-$VERSION-win*.exe in $DIR"
packages=("$DIR/$NAME-$VERSION"-win*.msi)
[ -f "${packages[0]}" ] || fail "no Windows Installer package $NAME-$VERSION-win*.msi in $DIR"

(cd "$DIR" && sha256sum -- "$NAME-$VERSION"-win*.zip "$NAME-$VERSION"-win*.exe "$NAME-$VERSION"-win*.msi >SHA256SUMS)

url=${NAVOLET_RELEASE_URL:-$PLACEHOLDER/$VERSION}
out=$DIR/winget/manifests/$(printf '%s' "${NAME:0:1}" | tr A-Z a-z)/$NAME/$NAME/$VERSION
rm -rf "$DIR/winget"
mkdir -p "$out"
{
  header version
  printf 'DefaultLocale: en-US\n'
  footer version
} >"$out/$ID.yaml"
{
  header defaultLocale
  printf 'PackageLocale: en-US\nPublisher: %s\nPackageName: %s\nMoniker: %s\nLicense: MIT\nShortDescription: %s\n' \
    "$(q "$(cpack_var CPACK_PACKAGE_VENDOR)")" "$(q "$NAME")" "$(q "${NAME,,}")" \
    "$(q "$(cpack_var CPACK_PACKAGE_DESCRIPTION_SUMMARY)")"
  footer defaultLocale
} >"$out/$ID.locale.en-US.yaml"
# NSIS's installer is for the user alone, its uninstall entry the key "Navolet"; the
# Windows Installer package for the machine, found by its product and upgrade codes.
# Both take every install mode: winget gives a package its own switches for them.
{
  header installer
  printf 'InstallModes:\n- interactive\n- silent\n- silentWithProgress\nUpgradeBehavior: install\nInstallers:\n'
  for exe in "${installers[@]}"; do
    printf -- '- Architecture: %s\n  InstallerType: nullsoft\n  Scope: user\n  InstallerUrl: %s\n  InstallerSha256: %s\n' \
      "$(architecture "$exe")" "$(q "${url%/}/${exe##*/}")" "$(sha256 "$exe")"
    printf '  InstallerSwitches:\n    Silent: /S\n    SilentWithProgress: /S\n  ProductCode: %s\n' "$(q "$NAME")"
  done
  for msi in "${packages[@]}"; do
    arch=$(msi_architecture "$msi")
    code=$(msi_property "$msi" ProductCode)
    upgrade=$(msi_property "$msi" UpgradeCode)
    version=$(msi_property "$msi" ProductVersion)
    printf -- '- Architecture: %s\n  InstallerType: wix\n  Scope: machine\n  InstallerUrl: %s\n  InstallerSha256: %s\n' \
      "$arch" "$(q "${url%/}/${msi##*/}")" "$(sha256 "$msi")"
    # Windows Installer's version of this one (PackageMsi.cmake), as Add/Remove shows it.
    printf '  ProductCode: %s\n  AppsAndFeaturesEntries:\n  - DisplayVersion: %s\n    ProductCode: %s\n    UpgradeCode: %s\n' \
      "$(q "$code")" "$(q "$version")" "$(q "$code")" "$(q "$upgrade")"
  done
  footer installer
} >"$out/$ID.installer.yaml"
[ -n "${NAVOLET_RELEASE_URL:-}" ] ||
  echo "winget manifest: NAVOLET_RELEASE_URL is not set, so its installer URLs are $url/...; set it to where the packages will be"
