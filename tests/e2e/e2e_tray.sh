#!/usr/bin/env bash
# Navolet under Wine: starts hidden with its icon in the tray, opens its popup on the
# right button, shows the About box, and ends on a posted Exit command.
#   e2e_tray.sh NAVOLET_EXE DRIVER_EXE SCREENSHOT_DIR
set -uo pipefail
NAVOLET=$1 DRIVER=$2 SHOTS=$3
source "$(dirname "$0")/../../tools/journeys.sh"
mkdir -p "$SHOTS"
start_navolet
journey_tray
end_navolet command
echo "PASS: screenshots in $SHOTS"
