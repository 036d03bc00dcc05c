#!/usr/bin/env bash
# Builds everything and runs every test under Wine (on Xvfb when there is no display).
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/tools/setup.sh"
navolet_build
navolet_display
trap navolet_cleanup EXIT
navolet_prefix
navolet_wineserver
navolet_democam
cd "$BUILD"
ctest --output-on-failure -j 2
