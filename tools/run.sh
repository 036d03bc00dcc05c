#!/usr/bin/env bash
# Runs Navolet with the demo camera registered. With a display it starts the program for
# you: it lives in the notification area; double-click its icon for the camera's property
# pages, right-click it and choose "Exit" to end it. Without a display it starts Xvfb,
# follows the end-to-end journey and keeps screenshots and a transcript in build/run/.
# It runs the 32-bit build where 32-bit programs run, else the 64-bit one.
#   tools/run.sh [--pictures]    --pictures: headless, and refreshes the pictures in docs/
set -euo pipefail
PICTURES=""
[ "${1:-}" = --pictures ] && PICTURES=1 && unset DISPLAY

echo "Checking the packages it needs (installing what is missing)"
"$(dirname "$0")/setup.sh"
source "$(dirname "$0")/env.sh"
navolet_on_error
[ -n "$NAVOLET_ARCHS" ] || { echo "FAILED: $NAVOLET_WHY" >&2; exit 1; }
# The first architecture that runs here: 32-bit where it can.
ARCH=${NAVOLET_ARCHS%% *}
DIR=$(navolet_dir $ARCH)
echo "Running the $ARCH-bit build: $NAVOLET_WHY"
NAVOLET=$DIR/Navolet.exe
DRIVER=$DIR/NavoletDriver.exe
DEMOCAM=$DIR/democam.dll
SHOTS=$BUILD/run
source "$ROOT/tools/journeys.sh"

if [ -n "${DISPLAY:-}" ]; then
  echo "Building Navolet.exe and the demo camera into ${DIR#"$ROOT"/}/"
  navolet_build $ARCH Navolet democam
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
echo "Building Navolet.exe, the demo camera and the driver into ${DIR#"$ROOT"/}/"
navolet_build $ARCH Navolet democam NavoletDriver
wait $prefix || { echo "FAILED: the Wine prefix was not made (see above)" >&2; exit 1; }
navolet_wineserver
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
exec > >(tee "$SHOTS/transcript.txt") 2>&1
# The journey checks each step itself and stops at the first that fails, saying which.
set +eE
trap - ERR
journey
echo "Done: screenshots and transcript.txt in ${SHOTS#"$ROOT"/}/"
if [ -n "$PICTURES" ]; then
  cp "$SHOTS"/docs/*.png "$ROOT/docs/"
  echo "README pictures refreshed: $(cd "$SHOTS/docs" && echo *.png) in docs/"
fi
