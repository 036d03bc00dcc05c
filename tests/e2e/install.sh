#!/usr/bin/env bash
# The installer under Wine, signed with a throwaway certificate as a packager's would sign
# it: a silent install for this user puts Navolet and the uninstaller, both signed, with
# its README and licence, a Start-menu shortcut, the start at sign-in and the
# installed-apps entry in place; Navolet started as sign-in starts it shows its icon; a
# later build installed over it ends it, leaves one entry with the new files and keeps
# the start at sign-in as it was, on or off; the silent uninstall ends a running Navolet
# and leaves no file, shortcut, key or value behind.
#   install.sh CPACK BUILD_DIR DRIVER_EXE
set -uo pipefail
CPACK=$1 BUILD=$2 DRIVER=$3 SHOTS=$2/tests/e2e/install
source "$(dirname "$0")/../../tools/journeys.sh"
source "$(dirname "$0")/certificate.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$SHOTS"
own_desktop

KEY='HKCU\Software\Microsoft\Windows\CurrentVersion'
folder() { winepath -u "$(wine cmd /c echo %$1% | tr -d '\r')"; }
value() { wine reg query "$KEY\\$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z]* *//p'; }
# The user's files and keys as they are now; not the temporary files, where NSIS's
# uninstaller leaves the copy of itself that it ran from, nor Wine's own keys, some of
# which Wine makes as programs start.
state() {
  find "$WINEPREFIX/drive_c/users" -path '*/Temp' -prune -o -print | sort
  wine reg export HKCU "$(winepath -w "$WORK/hkcu.reg")" /y >/dev/null 2>&1
  iconv -f UTF-16 -t UTF-8 "$WORK/hkcu.reg" | awk '/^\[/ { wine = index($0, "[HKEY_CURRENT_USER\\Software\\Wine") == 1 } !wine'
}

programs=$(folder LOCALAPPDATA)/Programs
menu=$(folder APPDATA)/Microsoft/Windows/Start\ Menu/Programs
# What a failed run may have left behind goes first.
rm -rf "$programs/Navolet" "$menu/Navolet.lnk"
rmdir "$programs" 2>/dev/null
wine reg delete "$KEY\\Run" /v Navolet /f >/dev/null 2>&1
wine reg delete "$KEY\\Uninstall\\Navolet" /f >/dev/null 2>&1
wine reg query "$KEY\\Uninstall" 2>/dev/null | grep -q 'Uninstall\\' || wine reg delete "$KEY\\Uninstall" /f >/dev/null 2>&1

echo "Making the installer with CPack, signed"
throwaway_certificate "$WORK" || fail "openssl made no certificate"
unset NAVOLET_SIGN_TIMESTAMP_URL
"$CPACK" -G NSIS --config "$BUILD/CPackConfig.cmake" -B "$WORK" >"$WORK/cpack.txt" 2>&1 ||
  { cat "$WORK/cpack.txt"; fail "CPack made no installer"; }
# A later build: another version, another README.
printf 'file(APPEND ${CPACK_TEMPORARY_DIRECTORY}/README.txt "A later build.\\n")\n' >"$WORK/later.cmake"
stage=$(sed -n 's/^set(CPACK_PRE_BUILD_SCRIPTS "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
"$CPACK" -G NSIS --config "$BUILD/CPackConfig.cmake" -B "$WORK/later" -D CPACK_PACKAGE_VERSION=1.0.0.6 \
  -D "CPACK_PRE_BUILD_SCRIPTS=$stage;$WORK/later.cmake" >"$WORK/cpack.txt" 2>&1 ||
  { cat "$WORK/cpack.txt"; fail "CPack made no later installer"; }
# The installer is a program of Navolet's own architecture: the 64-bit one also runs where
# no 32-bit program can. (The machine field of the PE header.)
machine() { od -An -tx2 -j$(($(od -An -tu4 -j60 -N4 "$1") + 4)) -N2 "$1" | tr -d ' '; }
[ "$(machine "$WORK"/Navolet-*.exe)" = "$(machine "$BUILD/Navolet.exe")" ] ||
  fail "the installer is a program for machine $(machine "$WORK"/Navolet-*.exe), Navolet.exe for $(machine "$BUILD/Navolet.exe")"
state >"$WORK/before"
echo "Installing silently"
wine "$WORK"/Navolet-*.exe /S || fail "the silent install failed"
dir=$programs/Navolet
[ "$(value Uninstall\\Navolet InstallLocation)" = "$(winepath -w "$dir")" ] ||
  fail "not installed in the user's programs folder"
for f in Navolet.exe README.txt LICENSE.txt Uninstall.exe; do
  [ -f "$dir/$f" ] || fail "$f is not in the install folder"
done
for f in "$dir/Navolet.exe" "$dir/Uninstall.exe"; do
  signed_by_throwaway "$f" || fail "${f##*/} carries no signature of the certificate"
done
[ -f "$menu/Navolet.lnk" ] || fail "no Start-menu shortcut"
[ "$(value Uninstall\\Navolet DisplayVersion)" = 1.0.0.5 ] || fail "the installed-apps entry lacks version 1.0.0.5"
run=$(value Run Navolet)
[ "$run" = "\"$(winepath -w "$dir")\\Navolet.exe\"" ] || fail "the start at sign-in runs \"$run\""
echo "  files, signatures, shortcut, installed-apps entry and start at sign-in are in place"

echo "Starting Navolet as sign-in would: $run"
wine "${run//\"/}" &
NAVOLET_PID=$!
drive wait-tray 30 || fail "the installed Navolet shows no icon"

echo "Installing a later build over it, silently"
wine "$WORK"/later/Navolet-*.exe /S || fail "the install over the earlier one failed"
for _ in $(seq 25); do kill -0 "$NAVOLET_PID" 2>/dev/null || break; sleep 0.2; done
kill -0 "$NAVOLET_PID" 2>/dev/null && fail "the install over the earlier one left its Navolet running"
entries=$(wine reg query "$KEY\\Uninstall" /s | tr -d '\r' | grep -c 'DisplayName *REG_SZ *Navolet$')
[ "$entries" = 1 ] && [ "$(value Uninstall\\Navolet DisplayVersion)" = 1.0.0.6 ] ||
  fail "$entries installed-apps entries, version $(value Uninstall\\Navolet DisplayVersion), not one of 1.0.0.6"
grep -q "A later build" "$dir/README.txt" || fail "the later build's files are not in place"
windows=$(drive wait-tray 0 | sed -n 's/^\([0-9]*\) tray window(s).*/\1/p')
[ "${windows:-2}" -le 1 ] || fail "$windows Navolet tray windows after the install over the earlier one"
[ "$(value Run Navolet)" = "$run" ] || fail "the install over the earlier one lost the start at sign-in"
echo "Turning the start at sign-in off, then installing the later build again"
wine reg delete "$KEY\\Run" /v Navolet /f >/dev/null 2>&1
wine "$WORK"/later/Navolet-*.exe /S || fail "the second install over the earlier one failed"
[ -z "$(value Run Navolet)" ] || fail "the install over the earlier one turned the start at sign-in back on"
echo "  one entry, the later build's files, no Navolet left running, the start at sign-in kept"

echo "Starting Navolet again"
wine "$dir/Navolet.exe" &
NAVOLET_PID=$!
drive wait-tray 30 || fail "the later Navolet shows no icon"
echo "Uninstalling silently while it runs"
uninstall=$(value Uninstall\\Navolet QuietUninstallString)  # "C:\...\Uninstall.exe" /S
exe=${uninstall#\"}
wine "${exe%%\"*}" ${uninstall##*\" } || fail "the silent uninstall failed"
for _ in $(seq 150); do
  { [ -d "$dir" ] || kill -0 "$NAVOLET_PID" 2>/dev/null; } || break
  sleep 0.2
done
kill -0 "$NAVOLET_PID" 2>/dev/null && fail "the uninstaller did not end Navolet"
NAVOLET_PID=""
[ -d "$dir" ] && fail "the install folder is still there"
state >"$WORK/after"
diff "$WORK/before" "$WORK/after" || fail "the uninstall left the above behind"
echo "PASS: nothing left behind"
