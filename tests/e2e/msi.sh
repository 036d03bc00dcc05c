#!/usr/bin/env bash
# The Windows Installer package under Wine's own msiexec, as a fleet's tools run it:
# a silent install for the machine, over the other architecture's package of the same
# version, replaces it and puts Navolet, its shortcut, the start at sign-in and the
# Add/Remove entry with its icon and folder in place, one of each, and one Navolet starts
# from the Run values' command line; a package of a later version replaces it in one step
# and ends the Navolet that runs; an older one over it is refused; the silent removal
# leaves the machine's files and keys as they were. AUTOSTART=0 with a user interface
# leaves no Run value, a package of the other architecture keeps that choice, and
# AUTOSTART=1 given with an upgrade wins over it.
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
# Program Files and registry view, through the 32-bit msiexec. The other architecture's
# package is made in its build, beside this one (tools/env.sh; navolet_build makes both),
# and goes through the 64-bit msiexec, which takes packages of either, as Windows'
# installer service does.
machine() { od -An -tx2 -j$(($(od -An -tu4 -j60 -N4 "$1") + 4)) -N2 "$1" | tr -d ' '; }
msiexec64=(wine64 'C:\windows\system32\msiexec.exe')
if [ "$(machine "$BUILD/Navolet.exe")" = 8664 ]; then
  msiexec=("${msiexec64[@]}") programs='C:\Program Files' other=$(dirname "$BUILD")
else
  msiexec=(wine 'C:\windows\syswow64\msiexec.exe') programs='C:\Program Files (x86)' other=$BUILD/x64
fi
dir=$(winepath -u "$programs")/Navolet
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
ARP='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
# The machine's Run values named Navolet, of both registry views.
run_values() { for view in 32 64; do query "$RUN" /v Navolet /reg:$view | sed -n 's/.*REG_SZ *//p'; done; }
# The Add/Remove entries named Navolet in both views, one line each: key, version, folder,
# publisher.
entries() {
  for view in 32 64; do query "$ARP" /s /reg:$view; done |
    awk '/^HKEY/ { key = $0 } $1 == "DisplayName" && $3 == "Navolet" { name[key] = 1 } $1 == "DisplayVersion" { version[key] = $3 }
      $1 == "InstallLocation" || $1 == "Publisher" { v = $0; sub(/.*REG_SZ +/, "", v); value[$1, key] = v }
      END { for (k in name) print k, version[k], value["InstallLocation", k], value["Publisher", k] }'
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
other_msi() {
  echo "msiexec $* (the other architecture's)"
  "${msiexec64[@]}" "$@"
}
package_path() { winepath -w "$(echo "$WORK/$1"/Navolet-*.msi)"; }

echo "Making the package with CPack, and one of a later version with another README"
printf 'file(APPEND ${CPACK_TEMPORARY_DIRECTORY}/README.txt "A later build.\\n")\n' >"$WORK/later.cmake"
stage=$(sed -n 's/^set(CPACK_PRE_BUILD_SCRIPTS "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
"$CPACK" -G External --config "$BUILD/CPackConfig.cmake" -B "$WORK/v1" >"$WORK/cpack.txt" 2>&1 &&
  "$CPACK" -G External --config "$BUILD/CPackConfig.cmake" -B "$WORK/v2" -D CPACK_PACKAGE_VERSION=1.0.0.6 \
    -D "CPACK_PRE_BUILD_SCRIPTS=$stage;$WORK/later.cmake" >>"$WORK/cpack.txt" 2>&1 &&
  "$CPACK" -G External --config "$other/CPackConfig.cmake" -B "$WORK/other" >>"$WORK/cpack.txt" 2>&1 ||
  { cat "$WORK/cpack.txt"; fail "CPack made no packages"; }
code() { msiinfo export "$(echo "$WORK/$1"/Navolet-*.msi)" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
v1=$(package_path v1) v2=$(package_path v2) code2=$(code v2) other_v1=$(package_path other)
[ -n "$code2" ] || fail "no product code in the later package"
# What a failed run may have left installed goes first.
for c in "$(code v1)" "$code2" "$(code other)"; do "${msiexec64[@]}" /x "$c" /qn >/dev/null 2>&1; done
state >"$WORK/before"

other_msi /i "$other_v1" /qn || fail "the other architecture's install failed"
[ -n "$(run_values)" ] || fail "the other architecture's package wrote no Run value"
msi /i "$v1" /qn || fail "the silent install failed"
for f in Navolet.exe README.txt LICENSE.txt; do
  [ -f "$dir/$f" ] || fail "$f is not in $programs\\Navolet"
done
cmp -s "$dir/Navolet.exe" "$BUILD/Navolet.exe" || fail "the installed Navolet.exe is not the built one"
run=$(run_values)
[ "$run" = "\"$programs\\Navolet\\Navolet.exe\"" ] || fail "the machine's Run values are: ${run:-none}"
# Windows puts an all-users package's shortcut into the all-users Start menu; Wine 8 puts
# it into the installing user's.
lnk=$(find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" \
           "$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs" \
           -name Navolet.lnk 2>/dev/null)
[ -n "$lnk" ] || fail "no Start menu shortcut"
grep -q -a -F "$programs\\Navolet\\Navolet.exe" "$lnk" || fail "the shortcut does not start $programs\\Navolet\\Navolet.exe"
entry=$(entries)
[ "$(wc -l <<<"$entry")" = 1 ] && [[ "$entry" = *" 1.0.5 $programs\\Navolet\\ the Navolet authors" ]] ||
  fail "the Add/Remove entries are: ${entry:-none}, not one of version 1.0.5 in $programs\\Navolet by the Navolet authors"
# Add/Remove takes an installer package's icon from its registration.
icon=$(query 'HKCR\Installer\Products' /s | sed -n 's/.*ProductIcon *REG_SZ *//p')
cmp -s "$(winepath -u "$icon" 2>/dev/null)" "$ROOT/res/Navolet.ico" || fail "the product's icon is \"$icon\", not Navolet's"
echo "  the other architecture's package replaced: files, shortcut, one Run value, one Add/Remove entry with its icon and folder"

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
[ "$(run_values)" = "$run" ] || fail "the upgrade lost the Run value"
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

# Wine's MigrateFeatureStates does nothing: the packages test reads its condition.
echo "Installing the other architecture's package with AUTOSTART=0 and a user interface, then this one, then upgrading with AUTOSTART=1"
other_msi /i "$other_v1" AUTOSTART=0 /qr || fail "the install with AUTOSTART=0 failed"
[ -z "$(run_values)" ] || fail "AUTOSTART=0 with a user interface wrote the Run value $(run_values)"
msi /i "$v1" /qn || fail "the install over the other architecture's failed"
[ -f "$dir/Navolet.exe" ] && [ -z "$(run_values)" ] || fail "the start at sign-in was turned on: $(run_values)"
msi /i "$v2" AUTOSTART=1 /qn || fail "the upgrade failed"
[ "$(run_values)" = "$run" ] || fail "AUTOSTART=1 given with the upgrade left the Run values: $(run_values)"
msi /x "$code2" /qn || fail "the silent removal failed"
state >"$WORK/after"
diff "$WORK/before" "$WORK/after" || fail "the removal left the above behind"
echo "PASS: the package installs, upgrades, refuses to downgrade and leaves nothing behind"
