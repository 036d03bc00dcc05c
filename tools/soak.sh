#!/usr/bin/env bash
# Soak under Wine with the demo camera, for each architecture that runs here: RUNS
# launches of the real Navolet.exe (a double-click, the frame shown, the frame closed),
# with Navolet's handle-table entries, windows and committed memory after the first and
# after the last launch (and its handles, GDI and USER objects and private bytes where
# the platform counts them). Fails when they grew beyond a small allowance or a launch
# did not open and close the frame.
#   tools/soak.sh [RUNS]
set -euo pipefail
"$(dirname "$0")/setup.sh" >/dev/null
source "$(dirname "$0")/env.sh"
navolet_wine_line
RUNS=${1:-200}
navolet_build >/dev/null
navolet_bench_prefix
navolet_democam

# Wine 8 itself keeps handles on every launch, whoever makes the calls: 2 registry keys
# per enumeration of the video input devices, 1 event per filter graph manager created
# and released. The floor program (enumeration, no graph) shows its share; Navolet is
# allowed the 3 per launch that its calls cost the platform, and nothing more.
status=0
for arch in $NAVOLET_ARCHS; do
  dir=$(navolet_dir $arch)
  echo "== $arch-bit ($dir)"
  wine "$dir/BenchFloor.exe" &
  PIDS+=($!)
  echo "Reference: $RUNS launches of the floor program (same camera, fewest calls)"
  wine "$dir/BenchDriver.exe" soak "Navolet-Floor" "$RUNS" 2 || true
  end_all

  wine "$dir/Navolet.exe" &
  PIDS+=($!)
  echo "Soak: $RUNS launches of Navolet.exe with the demo camera"
  wine "$dir/BenchDriver.exe" soak "Navolet-Quendal Property Page" "$RUNS" 3 || status=1
  end_all
done
exit $status
