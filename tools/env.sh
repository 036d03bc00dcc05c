# Sourced by the tools: where the builds live and how Wine is set up for them.
# The 32-bit build is in build/, the 64-bit one in build/x64/; one Wine prefix in the
# build folder (never in the home folder) runs both.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${NAVOLET_BUILD:-$ROOT/build}
BUILD64=$BUILD/x64
# The build folder of an architecture (32 or 64).
navolet_dir() { if [ "$1" = 64 ]; then echo "$BUILD64"; else echo "$BUILD"; fi; }
export WINEPREFIX=$BUILD/wineprefix
# A 64-bit prefix runs 32-bit and 64-bit programs alike, each with its own registry view.
export WINEARCH=win64
# What the caller's shell holds must not change which loader, server, DLLs or prefix
# a run takes (WINELOADER is set or unset below, with the loader). Wine's logs stay quiet,
# as the tests compare what Wine programs print; NAVOLET_WINEDEBUG turns them on.
unset WINESERVER WINEDLLPATH WINELOADERNOEXEC WINEPRELOADRESERVE WINEPATH
export WINEDEBUG=${NAVOLET_WINEDEBUG:--all}
# No Mono or Gecko installers: nothing may wait for input. No sound driver: nothing here
# plays sound, and on a machine without a sound card it only fills the logs.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv="

# Which Wine loader works here, chosen once. Debian's `wine` and its wrappers (wineboot,
# winepath, regsvr32, ...) take the 32-bit loader whenever it is installed, and some
# kernels run no 32-bit Linux program at all: there every call through them fails. So
# the tools call Wine only through a folder of our own, first on PATH, whose `wine`,
# `wineserver` and wrappers start the loader chosen here; 32-bit Windows programs are
# run only where a 32-bit Linux program was seen to run.
#   NAVOLET_ONLY_64=1     take the 64-bit-only path even where 32-bit programs run
#   NAVOLET_WINE_LIB      where Wine's loaders are (/usr/lib/wine)
#   NAVOLET_WINE_BIN      the folder of our own (build/wine-bin)
# Afterwards NAVOLET_ARCHS is "32 64" or "64" (or empty: no Wine), NAVOLET_WIN32 is 1
# where 32-bit programs run, and NAVOLET_WHY says why in a few words.
WINE_LIB=${NAVOLET_WINE_LIB:-/usr/lib/wine}
NAVOLET_WINE_BIN=${NAVOLET_WINE_BIN:-$BUILD/wine-bin}
WINE64=$WINE_LIB/wine64
# apt's reason, where tools/setup.sh could not install 32-bit Wine.
NAVOLET_WINE32_NOTE=$BUILD/wine32-not-installed.txt

# Runs a 32-bit Linux program of 96 bytes that needs no library and only exits with
# status 42. On failure NAVOLET_PROBE_ERROR has the shell's words for it.
navolet_probe32() {
  local probe=$NAVOLET_WINE_BIN/probe32 err
  mkdir -p "$NAVOLET_WINE_BIN"
  # ELF header, one loadable segment at 0x08048000, then: mov eax,1; mov ebx,42; int 0x80
  printf '%b' '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08' \
    '\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0' \
    '\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x60\0\0\0\x60\0\0\0\x05\0\0\0\0\x10\0\0' \
    '\xb8\x01\0\0\0\xbb\x2a\0\0\0\xcd\x80' >"$probe"
  chmod +x "$probe"
  err=$( ("$probe") 2>&1 )
  [ $? -eq 42 ] && return 0
  NAVOLET_PROBE_ERROR=${err##*"$probe": }
  NAVOLET_PROBE_ERROR=${NAVOLET_PROBE_ERROR:-it did not run}
  return 1
}

navolet_choose_wine() {
  NAVOLET_WIN32="" NAVOLET_ARCHS=64
  local loader=$WINE64 err name
  if [ ! -x "$WINE64" ]; then
    NAVOLET_ARCHS="" NAVOLET_WHY="64-bit Wine is not installed (tools/setup.sh installs it)"
  elif [ -n "${NAVOLET_ONLY_64:-}" ]; then
    NAVOLET_WHY="NAVOLET_ONLY_64 is set, so 32-bit Wine is left unused"
  elif ! navolet_probe32; then
    NAVOLET_WHY="this machine runs no 32-bit Linux programs (a 32-bit test program: $NAVOLET_PROBE_ERROR)"
  elif [ ! -x "$WINE_LIB/wine" ] && [ -f "$NAVOLET_WINE32_NOTE" ]; then
    NAVOLET_WHY="32-bit Wine could not be installed (apt: $(cat "$NAVOLET_WINE32_NOTE"))"
  elif [ ! -x "$WINE_LIB/wine" ]; then
    NAVOLET_WHY="32-bit Wine is not installed (tools/setup.sh installs it)"
  elif ! err=$("$WINE_LIB/wine" --version 2>&1); then
    NAVOLET_WHY="32-bit Wine does not start (${err:-no output})"
  else
    NAVOLET_WIN32=1 NAVOLET_ARCHS="32 64" loader=$WINE_LIB/wine
    NAVOLET_WHY="this machine runs 32-bit programs"
  fi
  local env=""
  # A 64-bit process starts programs through the loader named here, which must not be
  # the 32-bit one (Debian's `wine` sets it so too when it falls back to the 64-bit one).
  if [ -n "$NAVOLET_WIN32" ]; then
    unset WINELOADER
  else
    export WINELOADER=$loader
    env="export WINELOADER='$loader'"
  fi
  navolet_shim wine "exec '$loader' \"\$@\""
  navolet_shim wine-stable "exec '$loader' \"\$@\""
  navolet_shim wine64 "exec '$WINE64' \"\$@\""
  navolet_shim wineserver "exec '$WINE_LIB/wineserver64' \"\$@\""
  for name in wineboot winepath regsvr32 winecfg winedbg wineconsole msiexec regedit; do
    navolet_shim "$name" "exec '$loader' $name.exe \"\$@\""
  done
  case ":$PATH:" in *":$NAVOLET_WINE_BIN:"*) ;; *) export PATH=$NAVOLET_WINE_BIN:$PATH ;; esac
}
# One script of that folder. It is replaced only when it changes, and then in one step:
# a script may be running from it.
navolet_shim() {
  local file=$NAVOLET_WINE_BIN/$1 text
  text=$(printf '#!/bin/sh\n%s%s' "${env:+$env$'\n'}" "$2")
  [ "$(cat "$file" 2>/dev/null)" = "$text" ] && return 0
  mkdir -p "$NAVOLET_WINE_BIN"
  printf '%s\n' "$text" >"$file.new" && chmod +x "$file.new" && mv -f "$file.new" "$file"
}
navolet_choose_wine

# One line for a run's start: which Windows programs run here, and why.
navolet_wine_line() {
  if [ -n "$NAVOLET_WIN32" ]; then echo "Wine: 32-bit and 64-bit programs ($NAVOLET_WHY)"
  else echo "Wine: 64-bit programs only; $NAVOLET_WHY"; fi
}

# Configures and builds one architecture, or both (the default); everything, or only the
# targets given after the architecture.
#   navolet_build [32|64 [TARGET...]]
navolet_build() {
  local arch archs=(32 64) targets=()
  if [ $# -gt 0 ]; then archs=("$1"); shift; targets=("$@"); fi
  for arch in "${archs[@]}"; do
    local dir toolchain=i686-w64-mingw32
    dir=$(navolet_dir "$arch")
    [ "$arch" = 64 ] && toolchain=x86_64-w64-mingw32
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$toolchain.cmake" \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dir" -j "$(nproc)" ${targets[@]:+--target "${targets[@]}"}
  done
}

# Runs one step of a tool with its output kept aside; if it fails, says which step it was
# and shows the end of what it printed, so that no tool ends on a bare exit status.
#   navolet_step WHAT COMMAND...
navolet_step() {
  local what=$1 out rc=0
  shift
  out=$("$@" 2>&1) || rc=$?
  [ $rc -eq 0 ] && return 0
  echo "FAILED: $what (status $rc${out:+; it printed:})" >&2
  NAVOLET_REPORTED=1
  [ -n "$out" ] && printf '%s\n' "$out" | tail -n 20 | sed 's/^/  | /' >&2
  return $rc
}

# A private prefix with the crash dialog off, made once per build folder and choice of
# loader: one made where 32-bit programs did not run has no 32-bit half, and one made
# before it had to be 64-bit is made again too.
navolet_prefix() {
  local ready=$WINEPREFIX/.navolet-ready-win64
  [ -n "$NAVOLET_WIN32" ] || ready=$ready-only
  [ -f "$ready" ] && return 0
  rm -rf "$WINEPREFIX"
  navolet_wineboot &&
    navolet_step "turning the crash dialog off" \
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
    # The unit tests open and close many windows; a managed one waits up to 2 s for a
    # window manager, which Xvfb does not run.
    navolet_step "leaving the unit tests' windows unmanaged" \
      wine reg add 'HKCU\Software\Wine\AppDefaults\navolet_tests.exe\X11 Driver' /v Managed /t REG_SZ /d N /f &&
    wineserver -w &&
    touch "$ready"
}

# Makes the prefix. Now and then Wine 8 fails to make a fresh one ("could not load
# kernel32.dll, status c0000135") where the same command at once again works: it is tried
# once more, after ending its wineserver and with the half-made prefix removed, and the
# first failure is said in one line all the same.
navolet_wineboot() {
  local out rc=0
  out=$(wineboot -i 2>&1) || rc=$?
  [ $rc -eq 0 ] && return 0
  echo "Making the Wine prefix: wineboot -i failed (status $rc: $(printf '%s' "$out" | tail -n 1));" \
       "trying once more after wineserver -k" >&2
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  navolet_step "making the Wine prefix: wineboot -i, the second time, after wineserver -k" wineboot -i
}

# Xvfb when there is no display; remembers what it started so it can be stopped.
NAVOLET_XVFB_PID=""
navolet_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=99
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    NAVOLET_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  fi
}

# One persistent wineserver for the whole run: each Wine process then starts quickly.
navolet_wineserver() {
  wineserver -p >/dev/null 2>&1
  # Start Wine's own services now, with nothing attached to them: a service started by a
  # test would inherit the test's output and keep CTest waiting for it.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# For a tool's own steps: a command that fails and ends the tool says what it was, unless
# navolet_step has said it already.
navolet_on_error() {
  set -E
  trap 'rc=$?; [ -n "${NAVOLET_REPORTED:-}" ] || echo "FAILED: $BASH_COMMAND (status $rc)" >&2; exit $rc' ERR
}

navolet_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$NAVOLET_XVFB_PID" ] && kill "$NAVOLET_XVFB_PID" 2>/dev/null || true
}

# The demo camera in the prefix (needs a running wineserver or starts one), for each
# architecture that is built and runs here: the 32-bit DLL by the 32-bit regsvr32 into
# the 32-bit registry view, the 64-bit DLL by the 64-bit regsvr32 into the 64-bit view.
#   navolet_democam                register under the camera's name
#   navolet_democam register NAME  register under another name
#   navolet_democam unregister     remove the device and its classes
navolet_democam() {
  local dll regsvr32 path
  for dll in "$BUILD/democam.dll" "$BUILD64/democam.dll"; do
    [ -f "$dll" ] || continue
    regsvr32=("$WINE64" 'C:\windows\system32\regsvr32.exe')
    if [ "$dll" = "$BUILD/democam.dll" ]; then
      [ -n "$NAVOLET_WIN32" ] || continue
      regsvr32=(wine 'C:\windows\syswow64\regsvr32.exe')
    fi
    path=$(winepath -w "$dll") || { echo "FAILED: winepath -w $dll" >&2; return 1; }
    if [ "${1:-register}" = unregister ]; then
      navolet_step "unregistering the demo camera ${dll#"$ROOT"/}" "${regsvr32[@]}" /s /u "$path" || return
    else
      NAVOLET_DEMOCAM_NAME="${2:-}" navolet_step "registering the demo camera ${dll#"$ROOT"/}" \
        "${regsvr32[@]}" /s "$path" || return
    fi
  done
}

# The bench's and the soak's own prefix, whose windows Wine leaves unmanaged: under Xvfb no
# window manager runs, and Wine's X11 driver waits up to 2 s for one whenever a managed
# window is shown again, which would put the same 2 s into every launch after the first.
# Starts the display and the wineserver; end_all ends what the caller put in PIDS and waits
# for it, so that no window of an ended program is found by the next measurement.
navolet_bench_prefix() {
  export WINEPREFIX=$BUILD/bench-prefix
  navolet_display
  PIDS=()
  end_all() {
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
    PIDS=()
  }
  trap 'end_all; navolet_cleanup' EXIT
  navolet_prefix
  navolet_wineserver
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
}
