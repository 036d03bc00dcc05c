#!/usr/bin/env bash
# The release packages as tools/package.sh makes them, checked without running a Windows
# program: Navolet.exe and the demo camera carry the commit's time and name no folder of
# this machine; the zip's entries carry that time too; packed again later, into another
# folder, in another time zone, from a Navolet.exe touched since, the packages are the same
# bytes; the Windows Installer package's tables say what Windows must find there; a
# throwaway certificate signs Navolet.exe in every package, the installer and the Windows
# Installer package so that osslsigncode verifies them, and a time-stamp server's address reaches osslsigncode;
# SHA256SUMS and the winget manifest (tools/manifests.sh) match the packages.
#   packages.sh CPACK BUILD_DIR
set -uo pipefail
CPACK=$1 BUILD=$2
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
# Debian's Python, which has the YAML module that tools/setup.sh installs.
PYTHON=/usr/bin/python3 CHECK=$(dirname "$0")/packages.py
source "$(dirname "$0")/certificate.sh"
# What is signed, and how, is the test's to say.
unset NAVOLET_SIGN_PKCS12 NAVOLET_SIGN_PASSWORD_FILE NAVOLET_SIGN_TIMESTAMP_URL
WORK=$(mktemp -d)
SERVER_PID=""
trap '[ -z "$SERVER_PID" ] || kill "$SERVER_PID"; rm -rf "$WORK"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
# CPack as package.sh runs it, into a folder of the work folder, with CPACK_ARGS.
#   pack FOLDER [VAR=VALUE...]
CPACK_ARGS=()
pack() {
  local out=$WORK/$1
  shift
  env "$@" "$CPACK" --config "$BUILD/CPackConfig.cmake" -B "$out" "${CPACK_ARGS[@]}" >"$out.txt" 2>&1 ||
    { cat "$out.txt"; echo "FAIL: CPack made no packages in $out"; exit 1; }
  rm -rf "$out/_CPack_Packages" "$out"/Navolet-*.json
}
pe_time() { od -An -tu4 -j$(($(od -An -tu4 -j60 -N4 "$1") + 8)) -N4 "$1" | tr -d ' '; }

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct)}
echo "The commit's time: $epoch ($(date -u -d "@$epoch"))"
for f in Navolet.exe democam.dll; do
  [ "$(pe_time "$BUILD/$f")" = "$epoch" ] || fail "$f is stamped $(pe_time "$BUILD/$f")"
  for dir in "$ROOT" "$BUILD"; do
    ! grep -q -a -F -- "$dir" "$BUILD/$f" || fail "$f names $dir"
  done
done

echo "Packing, then packing again 1 s later, elsewhere, in Tokyo's time"
pack a
sleep 1
touch "$BUILD/Navolet.exe"
mkdir -p "$WORK/another"
pack another/b TZ=Asia/Tokyo
for p in "$WORK"/a/Navolet-*; do
  cmp -s "$p" "$WORK/another/b/${p##*/}" || fail "${p##*/} is not the same bytes when packed again"
done
"$PYTHON" "$CHECK" zip-times "$WORK"/a/Navolet-*.zip "$epoch" || status=1
"$PYTHON" "$CHECK" msi "$WORK"/a/Navolet-*.msi "$epoch" "$BUILD/Navolet.exe" || status=1

echo "Signing with a throwaway self-signed certificate"
throwaway_certificate "$WORK" || { echo "FAIL: openssl made no certificate"; exit 1; }
# The uninstaller that the installer writes is a file of its own only while makensis has
# it signed: a copy of each file signed is kept then.
mkdir -p "$WORK/kept"
printf '#!/usr/bin/env bash\n"%s" "$1" && cp "$1" "%s/$(date +%%s%%N)-${1##*/}"\n' "$ROOT/cmake/sign.sh" "$WORK/kept" \
  >"$WORK/sign-and-keep.sh"
chmod +x "$WORK/sign-and-keep.sh"
CPACK_ARGS=(-D "CPACK_NAVOLET_SIGN=$WORK/sign-and-keep.sh")
pack signed
CPACK_ARGS=()
"$PYTHON" -m zipfile -e "$WORK"/signed/Navolet-*.zip "$WORK/unzipped"
zipped=$(echo "$WORK"/unzipped/*/Navolet.exe)
msiextract -C "$WORK/extracted" "$WORK"/signed/Navolet-*.msi >/dev/null
extracted=$(find "$WORK/extracted" -name Navolet.exe)
for f in "$zipped" "$extracted" "$WORK"/signed/Navolet-*.exe "$WORK"/signed/Navolet-*.msi; do
  signed_by_throwaway "$f" || fail "${f##*/}: no signature osslsigncode verifies"
done
# The signature is all that signing added to the program.
for f in "$zipped" "$extracted"; do
  osslsigncode remove-signature -in "$f" -out "$WORK/unsigned.exe" >/dev/null &&
    cmp "$WORK/unsigned.exe" "$BUILD/Navolet.exe" || fail "the signed Navolet.exe in ${f#"$WORK"/} is not the built one signed"
  rm -f "$WORK/unsigned.exe"
done

echo "Signing with a time stamp from a server that does not answer"
"$PYTHON" "$CHECK" timestamp-server "$WORK/requests" "$WORK/port" &
SERVER_PID=$!
for _ in $(seq 50); do [ -f "$WORK/port" ] && break; sleep 0.1; done
cp "$BUILD/Navolet.exe" "$WORK/stamped.exe"
if NAVOLET_SIGN_TIMESTAMP_URL="http://127.0.0.1:$(cat "$WORK/port")/tsa" \
     SOURCE_DATE_EPOCH=$epoch "$ROOT/cmake/sign.sh" "$WORK/stamped.exe" 2>"$WORK/sign.txt"; then
  fail "signing succeeded without the time stamp it was asked for"
fi
[ "$(head -n 1 "$WORK/requests" 2>/dev/null)" = "/tsa application/timestamp-query" ] ||
  fail "the server was asked \"$(cat "$WORK/requests" 2>/dev/null)\", not for an RFC 3161 time stamp"
cmp -s "$WORK/stamped.exe" "$BUILD/Navolet.exe" || fail "a failed signing changed the program"

echo "The protections a security review reads in every program shipped"
uninstaller=$(find "$WORK/kept" -type f ! -name '*-Navolet.exe' ! -name '*-Navolet-*' | head -n 1)
[ -n "$uninstaller" ] || fail "makensis signed no uninstaller"
"$PYTHON" "$(dirname "$0")/protections.py" OURS "$BUILD/Navolet.exe" || status=1
"$PYTHON" "$(dirname "$0")/protections.py" NSIS "$WORK"/a/Navolet-*.exe $uninstaller || status=1

echo "SHA256SUMS and the winget manifest"
NAVOLET_RELEASE_URL=https://example.org/releases "$ROOT/tools/manifests.sh" "$WORK/a" "$BUILD/CPackConfig.cmake" ||
  fail "tools/manifests.sh failed"
(cd "$WORK/a" && sha256sum --quiet --strict -c SHA256SUMS) || fail "sha256sum -c SHA256SUMS"
"$PYTHON" "$CHECK" manifest "$WORK/a" "$BUILD/Navolet.exe" || status=1
[ $status -eq 0 ] && echo "PASS"
exit $status
