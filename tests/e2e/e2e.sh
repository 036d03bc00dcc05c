#!/usr/bin/env bash
# The end-to-end journey under Wine: tools/journeys.sh, which tools/run.sh follows too.
#   e2e.sh NAVOLET_EXE DRIVER_EXE DEMOCAM_DLL SCREENSHOT_DIR
set -uo pipefail
NAVOLET=$1 DRIVER=$2 DEMOCAM=$3 SHOTS=$4
source "$(dirname "$0")/../../tools/journeys.sh"
# Whatever happens, the prefix keeps the camera for the other tests.
trap 'camera >/dev/null' EXIT
journey
echo "PASS: screenshots in $SHOTS"
