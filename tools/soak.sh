#!/usr/bin/env bash
# Soak under Wine with the demo camera: RUNS launches of the real Navolet.exe (a
# double-click, the frame shown, the frame closed), with Navolet's handle count, GDI and
# USER objects and private bytes after the first and after the last launch. Fails when
# they grew beyond a small allowance or a launch did not open and close the frame.
#   tools/soak.sh [RUNS]
set -euo pipefail
source "$(dirname "$0")/env.sh"
RUNS=${1:-200}
"$ROOT/tools/setup.sh" >/dev/null
navolet_build >/dev/null
# A prefix of its own, whose windows Wine leaves unmanaged: under Xvfb no window manager
# runs, and Wine's X11 driver waits up to 2 s for one whenever a managed window is shown
# again, which would put the same 2 s into every launch after the first.
export WINEPREFIX=$BUILD/bench-prefix
navolet_display
NAVOLET_PID=""
trap '[ -n "$NAVOLET_PID" ] && kill "$NAVOLET_PID" 2>/dev/null; navolet_cleanup' EXIT
navolet_prefix
navolet_wineserver
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

wine regsvr32 /s "$(winepath -w "$BUILD/democam.dll")" >/dev/null 2>&1
# Wine 8 itself keeps handles on every launch, whoever makes the calls: 2 registry keys
# per enumeration of the video input devices, 1 event per filter graph manager created
# and released. The floor program (enumeration, no graph) shows its share; Navolet is
# allowed the 3 per launch that its calls cost the platform, and nothing more.
FLOOR_PID=""
wine "$BUILD/BenchFloor.exe" &
FLOOR_PID=$!
trap '[ -n "$NAVOLET_PID" ] && kill "$NAVOLET_PID" 2>/dev/null; kill "$FLOOR_PID" 2>/dev/null; navolet_cleanup' EXIT
echo "Reference: $RUNS launches of the floor program (same camera, fewest calls)"
wine "$BUILD/BenchDriver.exe" soak "Navolet-Floor" "$RUNS" 2 || true

wine "$BUILD/Navolet.exe" &
NAVOLET_PID=$!
echo "Soak: $RUNS launches of Navolet.exe with the demo camera"
wine "$BUILD/BenchDriver.exe" soak "Navolet-Quendal Property Page" "$RUNS" 3
