#!/usr/bin/env bash
# The Wine loader that tools/env.sh chooses, against what this machine does. 32-bit Wine
# is chosen exactly where the 32-bit loader starts; NAVOLET_ONLY_64, and a 32-bit loader
# that cannot start (as where the kernel runs no 32-bit programs), give the 64-bit one;
# every Wine program the tools call, Debian's own wrappers too, then starts that loader
# and never the 32-bit one. Needs the run's prefix and wineserver.
#   loader.sh
set -uo pipefail
ENV_SH=$(cd "$(dirname "$0")/../.." && pwd)/tools/env.sh
WINE_LIB=/usr/lib/wine
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
status=0
check() {
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: got \"$2\", expected \"$3\""; status=1; fi
}
# Sources env.sh as a tool does, in a shell of its own with its own folder of Wine
# programs (the run's own is not touched), and runs COMMAND there.
#   in_choice NAME [VAR=VALUE...] -- COMMAND
in_choice() {
  local bin=$WORK/$1
  shift
  local vars=()
  while [ "$1" != -- ]; do vars+=("$1"); shift; done
  shift
  env -u NAVOLET_ONLY_64 "${hostile[@]}" "${vars[@]}" NAVOLET_WINE_BIN="$bin" bash -c 'source "$0"; eval "$1"' "$ENV_SH" "$*"
}
# A 32-bit loader that cannot start, and notes each time something tries it: a program
# run through it, or asked only whether it starts (the choice's own question, --version).
mkdir -p "$WORK/lib"
printf '#!/bin/sh\necho "$*" >>"%s"\necho "Exec format error" >&2\nexit 126\n' "$WORK/tried" >"$WORK/lib/wine"
chmod +x "$WORK/lib/wine"
# What a caller's shell may hold; none of it may change which loader, server or prefix the
# tools use, nor what Wine programs print.
hostile=(WINELOADER="$WORK/lib/wine" WINESERVER="$WORK/lib/wine" WINEDLLPATH="$WORK/nowhere"
         WINEPREFIX="$WORK/nowhere" WINEARCH=win32 WINEDEBUG=+process)

# This machine as it is.
if "$WINE_LIB/wine" --version >/dev/null 2>&1; then expected="32 64"; else expected=64; fi
check "chosen here: $(in_choice as-is -- 'echo "$NAVOLET_WHY"')" "$(in_choice as-is -- 'echo "$NAVOLET_ARCHS"')" "$expected"
for tool in wine wine64 wine-stable wineboot winepath regsvr32 wineserver; do
  check "$tool comes from our folder" "$(in_choice as-is -- "type -P $tool")" "$WORK/as-is/$tool"
done

check "a program runs through the loader chosen here" "$(in_choice as-is -- 'wine cmd /c echo started' 2>&1 | tr -d '\r')" started

check "NAVOLET_ONLY_64 leaves 32-bit Wine unused" \
  "$(in_choice only-64 NAVOLET_ONLY_64=1 -- 'echo "$NAVOLET_ARCHS $WINELOADER"')" "64 $WINE_LIB/wine64"

ln -s "$WINE_LIB/wine64" "$WORK/lib/wine64"
ln -s "$WINE_LIB/wineserver64" "$WORK/lib/wineserver64"
broken() { in_choice broken NAVOLET_WINE_LIB="$WORK/lib" -- "$@" 2>&1 | tr -d '\r'; }
check "a 32-bit loader that cannot start is left unused" "$(broken 'echo "$NAVOLET_ARCHS"')" 64
check "wine runs a program" "$(broken 'wine cmd /c echo started')" started
check "winepath" "$(broken 'winepath -w /')" 'Z:\'
check "Debian's winepath, through our wine-stable" "$(broken '/usr/bin/winepath -w /')" 'Z:\'
# Wine's regsvr32 ends with 3 when it cannot load the DLL: it ran, and looked. (What it
# says about it differs between Wine releases.)
check "regsvr32 runs and answers" "$(broken 'regsvr32 /s no-such.dll >/dev/null 2>&1; echo $?')" 3
check "wineserver is the one beside the loader" "$(broken 'wineserver --version' | head -n 1)" \
  "$("$WINE_LIB/wineserver64" --version 2>&1 | head -n 1)"
# Where the 32-bit probe runs, the choice asks the loader whether it starts; nothing may
# run a program through it.
check "nothing ran through a 32-bit loader that cannot start" "$(grep -vx -e '--version' "$WORK/tried" 2>/dev/null)" ""
exit $status
