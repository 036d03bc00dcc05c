#!/usr/bin/env bash
# Runs Navolet with the demo camera registered. With a display it starts the program for
# you: it lives in the notification area; double-click its icon for the camera's property
# pages, right-click it and choose "Exit" to end it. Without a display it starts Xvfb,
# drives the program through its journeys and keeps screenshots and a transcript in
# build/run/.
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/tools/setup.sh"
navolet_build >/dev/null

NAVOLET=$BUILD/Navolet.exe
DRIVER=$BUILD/NavoletDriver.exe
PROBE=$BUILD/FrameProbe.exe
DEMOCAM=$BUILD/democam.dll
SHOTS=$BUILD/run
source "$ROOT/tools/journeys.sh"
source "$ROOT/tools/camera_journeys.sh"

# Every journey, in order; each leaves Navolet running with its icon in the tray.
JOURNEYS=(journey_tray journey_camera)

run_headless() {
  navolet_display
  trap navolet_cleanup EXIT
  navolet_prefix
  navolet_wineserver
  rm -rf "$SHOTS"
  mkdir -p "$SHOTS"
  exec > >(tee "$SHOTS/transcript.txt") 2>&1
  register_camera
  reset_live_filters
  start_navolet
  for journey in "${JOURNEYS[@]}"; do "$journey"; done
  end_navolet menu
  echo "Done: screenshots and transcript.txt in build/run/"
}

run_on_display() {
  navolet_prefix
  navolet_democam
  echo "Navolet runs in the notification area: double-click its icon for the camera's"
  echo "property pages, right-click it for its menu."
  wine "$NAVOLET"
}

if [ -n "${DISPLAY:-}" ]; then run_on_display; else run_headless; fi
