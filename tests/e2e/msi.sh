#!/usr/bin/env bash
# The Windows Installer package under Wine's own msiexec, as a fleet's tools run it:
# a silent install for the machine puts Navolet, its shortcut, the start at sign-in and
# the Add/Remove entry with its icon in place, and Navolet starts from the Run value's
# command line; a package of a later version replaces it in one step and ends the
# Navolet that runs; an older one over it is refused; the silent removal leaves the
# machine's files and keys as they were; AUTOSTART=0 leaves no Run value, and an upgrade
# keeps that choice.
#   msi.sh CPACK BUILD_DIR DRIVER_EXE
set -uo pipefail
CPACK=$1 BUILD=$2 DRIVER=$3 SHOTS=$2/tests/e2e/msi
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/tools/journeys.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$SHOTS"
own_desktop
unset NAVOLET_SIGN_PKCS12 NAVOLET_SIGN_PASSWORD_FILE NAVOLET_SIGN_TIMESTAMP_URL

# The package is of Navolet.exe's architecture; the 32-bit one goes to the 32-bit
# Program Files and registry view, through the 32-bit msiexec.
machine() { od -An -tx2 -j$(($(od -An -tu4 -j60 -N4 "$1") + 4)) -N2 "$1" | tr -d ' '; }
if [ "$(machine "$BUILD/Navolet.exe")" = 8664 ]; then
  msiexec=(wine64 'C:\windows\system32\msiexec.exe') view=/reg:64 programs='C:\Program Files'
else
  msiexec=(wine 'C:\windows\syswow64\msiexec.exe') view=/reg:32 programs='C:\Program Files (x86)'
fi
dir=$(winepath -u "$programs")/Navolet
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
ARP='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
run_value() { query "$RUN" /v Navolet $view | sed -n 's/.*REG_SZ *//p'; }
# The Add/Remove entries named Navolet, one line each: key, version, publisher.
entries() {
  query "$ARP" /s $view | awk '/^HKEY/ { key = $0 } $1 == "DisplayName" && $3 == "Navolet" { name[key] = 1 }
    $1 == "DisplayVersion" { version[key] = $3 } $1 == "Publisher" { sub(/.*REG_SZ +/, ""); publisher[key] = $0 }
    END { for (k in name) print k, version[k], publisher[k] }'
}
# The machine's files and keys, and the user's, as they are now; not the temporary files,
# nor Wine's own keys, some of which Wine makes as programs start (its console's settings
# among them), nor the machine's hardware and system keys, which Wine fills in as the
# display comes and goes. Keys are compared by their values: Windows Installer makes empty
# keys of its own on first use and takes away a key the removal left empty.
state() {
  find "$WINEPREFIX/drive_c" -path "$WINEPREFIX/drive_c/windows" -prune -o -path '*/Temp' -prune -o -print |
    sort
  find "$WINEPREFIX/drive_c/windows/Installer" -mindepth 1 2>/dev/null | sort
  for key in 'HKLM\Software' HKCU; do
    wine64 reg export "$key" "$(winepath -w "$WORK/keys.reg")" /y >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$WORK/keys.reg" | tr -d '\r' |
      awk '/^\[/ { key = $0; skip = index($0, "\\Software\\Wine") > 0 || $0 == "[HKEY_CURRENT_USER\\Console]"; next }
           /^$/ || skip { next } { if (key != "") print key; key = ""; print }'
  done
}
msi() {
  echo "msiexec $*"
  "${msiexec[@]}" "$@"
}
package_path() { winepath -w "$(echo "$WORK/$1"/Navolet-*.msi)"; }

echo "Making the package with CPack, and one of a later version with another README"
printf 'file(APPEND ${CPACK_TEMPORARY_DIRECTORY}/README.txt "A later build.\\n")\n' >"$WORK/later.cmake"
stage=$(sed -n 's/^set(CPACK_PRE_BUILD_SCRIPTS "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
"$CPACK" -G External --config "$BUILD/CPackConfig.cmake" -B "$WORK/v1" >"$WORK/cpack.txt" 2>&1 &&
  "$CPACK" -G External --config "$BUILD/CPackConfig.cmake" -B "$WORK/v2" -D CPACK_PACKAGE_VERSION=1.0.0.6 \
    -D "CPACK_PRE_BUILD_SCRIPTS=$stage;$WORK/later.cmake" >>"$WORK/cpack.txt" 2>&1 ||
  { cat "$WORK/cpack.txt"; fail "CPack made no packages"; }
code() { msiinfo export "$(echo "$WORK/$1"/Navolet-*.msi)" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
v1=$(package_path v1) v2=$(package_path v2) code2=$(code v2)
[ -n "$code2" ] || fail "no product code in the later package"
# What a failed run may have left installed goes first.
for c in "$(code v1)" "$code2"; do "${msiexec[@]}" /x "$c" /qn >/dev/null 2>&1; done
state >"$WORK/before"

msi /i "$v1" /qn || fail "the silent install failed"
for f in Navolet.exe README.txt LICENSE.txt; do
  [ -f "$dir/$f" ] || fail "$f is not in $programs\\Navolet"
done
cmp -s "$dir/Navolet.exe" "$BUILD/Navolet.exe" || fail "the installed Navolet.exe is not the built one"
run=$(run_value)
[ "$run" = "\"$programs\\Navolet\\Navolet.exe\"" ] || fail "the machine's Run value is \"$run\""
# Windows puts an all-users package's shortcut into the all-users Start menu; Wine 8 puts
# it into the installing user's.
lnk=$(find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
           "$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs" \
           -name Navolet.lnk 2>/dev/null)
[ -n "$lnk" ] || fail "no Start menu shortcut"
grep -q -a -F "$programs\\Navolet\\Navolet.exe" "$lnk" || fail "the shortcut does not start $programs\\Navolet\\Navolet.exe"
entry=$(entries)
[ "$(wc -l <<<"$entry")" = 1 ] && [[ "$entry" = *" 1.0.5 the Navolet authors" ]] ||
  fail "the Add/Remove entries are: ${entry:-none}, not one of version 1.0.5 by the Navolet authors"
# Add/Remove takes an installer package's icon from its registration.
icon=$(query 'HKCR\Installer\Products' /s | sed -n 's/.*ProductIcon *REG_SZ *//p')
cmp -s "$(winepath -u "$icon" 2>/dev/null)" "$ROOT/res/Navolet.ico" || fail "the product's icon is \"$icon\", not Navolet's"
echo "  files, shortcut, Run value and Add/Remove entry with its icon are in place"

echo "Starting Navolet as sign-in would: $run"
wine "${run//\"/}" &
NAVOLET_PID=$!
drive wait-tray 30 || fail "the installed Navolet shows no icon"

echo "Upgrading while it runs"
msi /i "$v2" /qn || fail "the upgrade failed"
for _ in $(seq 50); do kill -0 "$NAVOLET_PID" 2>/dev/null || break; sleep 0.2; done
kill -0 "$NAVOLET_PID" 2>/dev/null && fail "the upgrade did not end the Navolet that ran"
NAVOLET_PID=""
entry=$(entries)
[ "$(wc -l <<<"$entry")" = 1 ] && [[ "$entry" = *"$code2 1.0.6 "* ]] ||
  fail "after the upgrade the Add/Remove entries are: ${entry:-none}, not the one of 1.0.6"
grep -q "A later build" "$dir/README.txt" || fail "the upgrade left the earlier files"
[ "$(run_value)" = "$run" ] || fail "the upgrade lost the Run value"
echo "  one entry, of the later version, with its files; Navolet ended"

# Wine's log does not carry the refusal's words; the packages test reads them in the package.
echo "Installing the earlier package over the later one"
msi /i "$v1" /qn && fail "the earlier package installed over the later one"
[[ "$(entries)" = *"$code2 1.0.6 "* ]] || fail "the refused package changed what is installed"
echo "  refused"

msi /x "$code2" /qn || fail "the silent removal failed"
state >"$WORK/after"
diff "$WORK/before" "$WORK/after" || fail "the removal left the above behind"
echo "  nothing left behind"

echo "Installing with AUTOSTART=0, then upgrading"
msi /i "$v1" AUTOSTART=0 /qn || fail "the install with AUTOSTART=0 failed"
[ -f "$dir/Navolet.exe" ] && [ -z "$(run_value)" ] || fail "AUTOSTART=0 installed Navolet with the Run value \"$(run_value)\""
msi /i "$v2" /qn || fail "the upgrade failed"
[ -f "$dir/Navolet.exe" ] && [ -z "$(run_value)" ] || fail "the upgrade turned the start at sign-in on: \"$(run_value)\""
msi /x "$code2" /qn || fail "the silent removal failed"
state >"$WORK/after"
diff "$WORK/before" "$WORK/after" || fail "the removal left the above behind"
echo "PASS: the package installs, upgrades, refuses to downgrade and leaves nothing behind"
