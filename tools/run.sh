#!/usr/bin/env bash
# Runs Navolet. With a display it starts the program for you: it lives in the
# notification area; right-click its icon and choose "Exit" to end it. Without a display
# it starts Xvfb, drives the program through its journeys and keeps screenshots in
# build/run/.
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/tools/setup.sh"
navolet_build >/dev/null

NAVOLET=$BUILD/Navolet.exe
DRIVER=$BUILD/NavoletDriver.exe
SHOTS=$BUILD/run
source "$ROOT/tools/journeys.sh"

# Every journey, in order; each leaves Navolet running with its icon in the tray.
JOURNEYS=(journey_tray)

run_headless() {
  navolet_display
  trap navolet_cleanup EXIT
  navolet_prefix
  navolet_wineserver
  rm -rf "$SHOTS"
  mkdir -p "$SHOTS"
  start_navolet
  for journey in "${JOURNEYS[@]}"; do "$journey"; done
  end_navolet menu
  echo "Done: screenshots in build/run/"
}

run_on_display() {
  navolet_prefix
  echo "Navolet runs in the notification area: right-click its icon for its menu."
  wine "$NAVOLET"
}

if [ -n "${DISPLAY:-}" ]; then run_on_display; else run_headless; fi
