#!/usr/bin/env bash
# The main job under Wine with the demo camera: the property frame on a double-click,
# once at a time, nothing left alive when it closes, quiet without the camera.
#   e2e_camera.sh NAVOLET_EXE DRIVER_EXE PROBE_EXE DEMOCAM_DLL SCREENSHOT_DIR
set -uo pipefail
NAVOLET=$1 DRIVER=$2 PROBE=$3 DEMOCAM=$4 SHOTS=$5
source "$(dirname "$0")/../../tools/journeys.sh"
source "$(dirname "$0")/../../tools/camera_journeys.sh"
mkdir -p "$SHOTS"
# Whatever happens, the prefix keeps the camera for the other tests.
trap 'register_camera >/dev/null' EXIT
register_camera
reset_live_filters
start_navolet
journey_camera
journey_no_camera
end_navolet command
echo "PASS: screenshots in $SHOTS"
