# Sourced by the tools: where the build lives and how Wine is set up for it.
# The Wine prefix lives in the build folder, never in the home folder.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${NAVOLET_BUILD:-$ROOT/build}
export WINEPREFIX=$BUILD/wineprefix
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: nothing may wait for input.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Configures, then builds everything or only the targets given.
navolet_build() {
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686-w64-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" -j "$(nproc)" ${1:+--target "$@"}
}

# A private prefix with the crash dialog off, made once per build folder.
navolet_prefix() {
  if [ ! -f "$WINEPREFIX/.navolet-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.navolet-ready"
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

# The demo camera in the prefix (needs a running wineserver or starts one).
#   navolet_democam                register under the camera's name
#   navolet_democam register NAME  register under another name
#   navolet_democam unregister     remove the device and its classes
navolet_democam() {
  local dll
  dll=$(winepath -w "$BUILD/democam.dll" 2>/dev/null)
  if [ "${1:-register}" = unregister ]; then
    wine regsvr32 /s /u "$dll" >/dev/null 2>&1
  else
    NAVOLET_DEMOCAM_NAME="${2:-}" wine regsvr32 /s "$dll" >/dev/null 2>&1
  fi
}
