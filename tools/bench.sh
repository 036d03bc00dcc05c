#!/usr/bin/env bash
# Launch benchmark under Wine with the demo camera, for each architecture that runs here:
# the time from a tray double-click to the visible property frame for Navolet and for the
# floor program (the fewest calls that open the same frame), RUNS launches of each taken
# in turns, and the ratio of their medians; the launch of the timing build cut into
# phases; Navolet's CPU time over IDLE_SECONDS with its icon shown; the size of
# Navolet.exe. Prints figures; it is not a test.
#   tools/bench.sh [RUNS [IDLE_SECONDS]]     (100 runs, 60 s by default)
set -euo pipefail
"$(dirname "$0")/setup.sh" >/dev/null
source "$(dirname "$0")/env.sh"
RUNS=${1:-100}
IDLE=${2:-60}
navolet_build >/dev/null
navolet_bench_prefix
navolet_democam

TITLE="Navolet-Quendal Property Page"
FLOOR="Navolet-Floor"
TIMING_FILE=$BUILD/bench-phases.txt
start() { "$@" & PIDS+=($!); }

navolet_wine_line
echo "Navolet launch benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), Wine $(wine --version), $(nproc) cores," \
     "load average $(cut -d' ' -f1-3 /proc/loadavg)"
for arch in $NAVOLET_ARCHS; do
  dir=$(navolet_dir $arch) strip=i686-w64-mingw32-strip
  [ $arch = 64 ] && strip=x86_64-w64-mingw32-strip
  bench() { wine "$dir/BenchDriver.exe" "$@"; }
  echo
  echo "== $arch-bit ($dir)"
  echo "Time from the posted tray double-click to a visible property frame, $RUNS runs each, in turns:"
  start wine "$dir/Navolet.exe"
  navolet_pid=${PIDS[-1]}
  start wine "$dir/BenchFloor.exe"
  bench alternate "$RUNS" "$TITLE" "$FLOOR"

  echo "Navolet at rest with its icon shown:"
  bench resources "$TITLE"
  # Wine's process, as Linux counts it (utime + stime, in clock ticks), beside the
  # driver's GetProcessTimes reading of the same interval.
  ticks() { awk '{ print $14 + $15 }' "/proc/$navolet_pid/stat"; }
  before=$(ticks)
  bench idle-cpu "$TITLE" "$IDLE"
  after=$(ticks)
  echo "idle CPU over $IDLE s as Linux counts it: $(( (after - before) * 1000 / $(getconf CLK_TCK) )) ms"
  end_all

  echo "Where the time goes: the timing build (NavoletTiming.exe) and the floor, $RUNS runs each, in turns"
  rm -f "$TIMING_FILE"
  export NAVOLET_TIMING_FILE
  NAVOLET_TIMING_FILE=$(winepath -w "$TIMING_FILE")
  start wine "$dir/NavoletTiming.exe"
  start wine "$dir/BenchFloor.exe"
  bench phases "$RUNS" "$TITLE" "$FLOOR" "$NAVOLET_TIMING_FILE"
  end_all
  echo "What the filter graph manager's worker thread costs: the same, the timing build creating"
  echo "CLSID_FilterGraphNoThread in place of CLSID_FilterGraph (Navolet itself never does)"
  NAVOLET_TIMING_NOTHREAD=1 wine "$dir/NavoletTiming.exe" &
  PIDS+=($!)
  start wine "$dir/BenchFloor.exe"
  bench phases "$RUNS" "$TITLE" "$FLOOR" "$NAVOLET_TIMING_FILE"
  end_all
  unset NAVOLET_TIMING_FILE

  stripped=$(mktemp)
  $strip -o "$stripped" "$dir/Navolet.exe"
  echo "Navolet.exe ($arch-bit): $(stat -c %s "$dir/Navolet.exe") bytes as built, $(stat -c %s "$stripped") bytes stripped"
  rm -f "$stripped"
done
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
