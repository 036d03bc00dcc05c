#!/usr/bin/env bash
# Builds both architectures and runs every test of each under Wine (on Xvfb when there
# is no display): the 32-bit build under 32-bit Wine, the 64-bit build under 64-bit Wine,
# in one prefix with the demo camera registered in both registry views.
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/tools/setup.sh"
navolet_build
navolet_display
trap navolet_cleanup EXIT
navolet_prefix
navolet_wineserver
navolet_democam
status=0
echo "== 32-bit ($BUILD)"
(cd "$BUILD" && ctest --output-on-failure -j 2) || status=1
echo "== 64-bit ($BUILD64)"
(cd "$BUILD64" && ctest --output-on-failure -j 2) || status=1
exit $status
