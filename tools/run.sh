#!/usr/bin/env bash
# Runs Navolet with the demo camera registered. With a display it starts the program for
# you: it lives in the notification area; double-click its icon for the camera's property
# pages, right-click it and choose "Exit" to end it. Without a display it starts Xvfb,
# follows the end-to-end journey and keeps screenshots and a transcript in build/run/.
#   tools/run.sh [--pictures]    --pictures: headless, and refreshes the pictures in docs/
set -euo pipefail
source "$(dirname "$0")/env.sh"
PICTURES=""
[ "${1:-}" = --pictures ] && PICTURES=1 && unset DISPLAY
NAVOLET=$BUILD/Navolet.exe
DRIVER=$BUILD/NavoletDriver.exe
DEMOCAM=$BUILD/democam.dll
SHOTS=$BUILD/run
source "$ROOT/tools/journeys.sh"

echo "Checking the packages it needs (installing what is missing)"
"$ROOT/tools/setup.sh"

if [ -n "${DISPLAY:-}" ]; then
  echo "Building Navolet.exe and the demo camera into ${BUILD#"$ROOT"/}/"
  navolet_build 32 Navolet democam
  navolet_prefix
  navolet_democam
  echo "Navolet runs in the notification area: double-click its icon for the camera's"
  echo "property pages, right-click it for its menu."
  wine "$NAVOLET"
  exit
fi

navolet_display
trap navolet_cleanup EXIT
# The Wine prefix is made while the build runs.
echo "Making the Wine prefix in ${WINEPREFIX#"$ROOT"/} (once) while building"
mkdir -p "$BUILD"
navolet_prefix &
prefix=$!
echo "Building Navolet.exe, the demo camera and the driver into ${BUILD#"$ROOT"/}/"
navolet_build 32 Navolet democam NavoletDriver
wait $prefix
navolet_wineserver
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
exec > >(tee "$SHOTS/transcript.txt") 2>&1
# The journey checks each step itself and stops at the first that fails.
set +e
journey
echo "Done: screenshots and transcript.txt in ${SHOTS#"$ROOT"/}/"
if [ -n "$PICTURES" ]; then
  cp "$SHOTS"/docs/*.png "$ROOT/docs/"
  echo "README pictures refreshed: $(cd "$SHOTS/docs" && echo *.png) in docs/"
fi
