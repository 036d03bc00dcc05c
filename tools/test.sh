#!/usr/bin/env bash
# Builds both architectures and runs every test of each that this machine can run, under
# Wine (on Xvfb when there is no display): the 32-bit build under 32-bit Wine, the 64-bit
# build under 64-bit Wine, in one prefix with the demo camera registered in both registry
# views. Where no 32-bit Linux program runs, neither does 32-bit Wine: the 32-bit build is
# made all the same, only its packages are tested, and the run says so at its start and
# its end.
set -euo pipefail
"$(dirname "$0")/setup.sh"
source "$(dirname "$0")/env.sh"
navolet_on_error
navolet_wine_line
[ -n "$NAVOLET_ARCHS" ] || { echo "FAILED: $NAVOLET_WHY" >&2; exit 1; }
not_run=""
if [ -z "$NAVOLET_WIN32" ]; then
  not_run="the 32-bit tests ($BUILD: navolet_tests, e2e, install and msi, whose installer and package are 32-bit)"
  echo "Not run here: $not_run, because $NAVOLET_WHY"
fi
navolet_build
navolet_display
trap navolet_cleanup EXIT
navolet_prefix
navolet_wineserver
navolet_democam
status=0 summary=""
for arch in 32 64; do
  dir=$(navolet_dir "$arch") only=()
  # The packages of an architecture that does not run here are checked all the same:
  # that test runs no Windows program.
  [[ " $NAVOLET_ARCHS " = *" $arch "* ]] || only=(-R '^packages$')
  echo "== $arch-bit ($dir)${only[*]:+: its packages only}"
  log=$dir/ctest.txt
  (cd "$dir" && ctest --output-on-failure -j 2 "${only[@]}") 2>&1 | tee "$log" || status=1
  summary+="$arch-bit: $(grep -E 'tests passed, ' "$log" | tail -n 1)"$'\n'
done
echo "== Summary"
navolet_wine_line
printf '%s\n' "${summary%$'\n'}"
if [ -n "$not_run" ]; then echo "Not run: $not_run, because $NAVOLET_WHY"; fi
exit $status
