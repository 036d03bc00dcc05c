#!/usr/bin/env bash
# Launch benchmark under Wine with the demo camera: the time from a tray double-click to
# the visible property frame, for Navolet and for the floor program (the fewest calls
# that open the same frame), 30 runs each; Navolet's CPU time over 60 s of idle with its
# icon shown; the size of Navolet.exe. Prints figures; it is not a test.
#   tools/bench.sh [RUNS [IDLE_SECONDS]]
set -euo pipefail
source "$(dirname "$0")/env.sh"
RUNS=${1:-30}
IDLE=${2:-60}
"$ROOT/tools/setup.sh" >/dev/null
navolet_build >/dev/null
# A prefix of its own, whose windows Wine leaves unmanaged: under Xvfb no window manager
# runs, and Wine's X11 driver waits up to 2 s for one whenever a managed window is shown
# again, which would put the same 2 s into every launch after the first.
export WINEPREFIX=$BUILD/bench-prefix
navolet_display
trap 'end_all; navolet_cleanup' EXIT
navolet_prefix
navolet_wineserver
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

PIDS=()
end_all() { for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; }
bench() { wine "$BUILD/BenchDriver.exe" "$@"; }

wine regsvr32 /s "$(winepath -w "$BUILD/democam.dll")" >/dev/null 2>&1

echo "Navolet launch benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), Wine $(wine --version), $(nproc) cores"
echo "Time from the posted tray double-click to a visible property frame:"

wine "$BUILD/Navolet.exe" &
NAVOLET_PID=$!
PIDS+=($NAVOLET_PID)
bench launch "Navolet-Quendal Property Page" 1 >/dev/null  # warm-up: first load of the DLLs
navolet_out=$(bench launch "Navolet-Quendal Property Page" "$RUNS")
echo "$navolet_out" | grep -v '^median-ms'

wine "$BUILD/BenchFloor.exe" &
PIDS+=($!)
bench launch "Navolet-Floor" 1 >/dev/null
floor_out=$(bench launch "Navolet-Floor" "$RUNS")
echo "$floor_out" | grep -v '^median-ms'

n=$(echo "$navolet_out" | sed -n 's/^median-ms //p' | tr -d '\r')
f=$(echo "$floor_out" | sed -n 's/^median-ms //p' | tr -d '\r')
echo "Ratio of medians, Navolet / floor: $(awk -v n="$n" -v f="$f" 'BEGIN { printf "%.2f", n / f }')"

echo "Navolet at rest with its icon shown:"
bench resources "Navolet-Quendal Property Page"
# Wine's process, as Linux counts it (utime + stime, in clock ticks), beside the driver's
# GetProcessTimes reading of the same interval.
ticks() { awk '{ print $14 + $15 }' "/proc/$NAVOLET_PID/stat"; }
before=$(ticks)
bench idle-cpu "Navolet-Quendal Property Page" "$IDLE"
after=$(ticks)
echo "idle CPU over $IDLE s as Linux counts it: $(( (after - before) * 1000 / $(getconf CLK_TCK) )) ms"
stripped=$(mktemp)
i686-w64-mingw32-strip -o "$stripped" "$BUILD/Navolet.exe"
echo "Navolet.exe: $(stat -c %s "$BUILD/Navolet.exe") bytes as built (static runtime), $(stat -c %s "$stripped") bytes stripped"
rm -f "$stripped"
