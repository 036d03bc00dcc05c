#!/usr/bin/env bash
# Signs a Windows program in place (Authenticode, SHA-256) with the packager's code-signing
# certificate, by Debian's osslsigncode. CPack calls it for Navolet.exe, makensis for the
# uninstaller and the installer (README, "Packages"):
#   NAVOLET_SIGN_PKCS12         the certificate with its key, a PKCS#12 file
#   NAVOLET_SIGN_PASSWORD_FILE  the file that holds its password
#   NAVOLET_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server, if one is to countersign
# The signing time is SOURCE_DATE_EPOCH, the commit's: the same certificate signs the same
# program into the same bytes; only a server's time stamp differs from run to run.
#   sign.sh FILE
set -euo pipefail
file=$1
fail() { echo "FAILED: signing $file: $*" >&2; exit 1; }
[ -n "${SOURCE_DATE_EPOCH:-}" ] || fail "SOURCE_DATE_EPOCH is not set: the signing time would be the clock's"
[ -r "${NAVOLET_SIGN_PKCS12:-}" ] || fail "NAVOLET_SIGN_PKCS12 names no readable certificate (\"${NAVOLET_SIGN_PKCS12:-}\")"
[ -r "${NAVOLET_SIGN_PASSWORD_FILE:-}" ] ||
  fail "NAVOLET_SIGN_PASSWORD_FILE names no readable password file (\"${NAVOLET_SIGN_PASSWORD_FILE:-}\")"
args=(-pkcs12 "$NAVOLET_SIGN_PKCS12" -readpass "$NAVOLET_SIGN_PASSWORD_FILE" -h sha256 -n Navolet
      -time "$SOURCE_DATE_EPOCH")
[ -z "${NAVOLET_SIGN_TIMESTAMP_URL:-}" ] || args+=(-ts "$NAVOLET_SIGN_TIMESTAMP_URL")
rm -f "$file.signed"
out=$(osslsigncode sign "${args[@]}" -in "$file" -out "$file.signed" 2>&1) ||
  { rm -f "$file.signed"; fail "osslsigncode said: $(printf '%s' "$out" | tail -n 3)"; }
# The signed copy keeps the program's mode, which the zip records.
chmod --reference="$file" "$file.signed"
mv -f "$file.signed" "$file"
