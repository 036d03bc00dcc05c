# Sourced by the tools: where the builds live and how Wine is set up for them.
# The 32-bit build is in build/, the 64-bit one in build/x64/; one Wine prefix in the
# build folder (never in the home folder) runs both.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${NAVOLET_BUILD:-$ROOT/build}
BUILD64=$BUILD/x64
export WINEPREFIX=$BUILD/wineprefix
# A 64-bit prefix runs 32-bit and 64-bit programs alike, each with its own registry view.
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: nothing may wait for input. No sound driver: nothing here
# plays sound, and on a machine without a sound card it only fills the logs.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv="
# Debian keeps the 64-bit loader out of PATH; plain `wine` starts either kind of program.
WINE64=/usr/lib/wine/wine64

# Configures and builds one architecture, or both (the default); everything, or only the
# targets given after the architecture.
#   navolet_build [32|64 [TARGET...]]
navolet_build() {
  local arch archs=(32 64) targets=()
  if [ $# -gt 0 ]; then archs=("$1"); shift; targets=("$@"); fi
  for arch in "${archs[@]}"; do
    local dir=$BUILD toolchain=i686-w64-mingw32
    if [ "$arch" = 64 ]; then dir=$BUILD64 toolchain=x86_64-w64-mingw32; fi
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$toolchain.cmake" \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dir" -j "$(nproc)" ${targets[@]:+--target "${targets[@]}"}
  done
}

# A private prefix with the crash dialog off, made once per build folder. A prefix made
# before it had to be 64-bit is made again.
navolet_prefix() {
  if [ ! -f "$WINEPREFIX/.navolet-ready-win64" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # The unit tests open and close many windows; a managed one waits up to 2 s for a
    # window manager, which Xvfb does not run.
    wine reg add 'HKCU\Software\Wine\AppDefaults\navolet_tests.exe\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.navolet-ready-win64"
  fi
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

navolet_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$NAVOLET_XVFB_PID" ] && kill "$NAVOLET_XVFB_PID" 2>/dev/null || true
}

# The demo camera in the prefix (needs a running wineserver or starts one), for each
# architecture that is built: the 32-bit DLL by the 32-bit regsvr32 into the 32-bit
# registry view, the 64-bit DLL by the 64-bit regsvr32 into the 64-bit view.
#   navolet_democam                register under the camera's name
#   navolet_democam register NAME  register under another name
#   navolet_democam unregister     remove the device and its classes
navolet_democam() {
  local dll regsvr32
  for dll in "$BUILD/democam.dll" "$BUILD64/democam.dll"; do
    [ -f "$dll" ] || continue
    regsvr32=(wine 'C:\windows\syswow64\regsvr32.exe')
    [ "$dll" = "$BUILD64/democam.dll" ] && regsvr32=("$WINE64" 'C:\windows\system32\regsvr32.exe')
    if [ "${1:-register}" = unregister ]; then
      "${regsvr32[@]}" /s /u "$(winepath -w "$dll")" >/dev/null 2>&1
    else
      NAVOLET_DEMOCAM_NAME="${2:-}" "${regsvr32[@]}" /s "$(winepath -w "$dll")" >/dev/null 2>&1
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
