#!/usr/bin/env bash
# Runs Navolet's launch against hostile camera drivers, one world per seed (the unit test
# program's hostile worlds, tests/faults/World.h), and says how many worlds ran, how
# many launches ended, the most calls one launch made and the seed of every world that
# went wrong; a seed replays its world. It runs the 32-bit build where 32-bit programs run,
# else the 64-bit one (NAVOLET_ONLY_64=1 takes the 64-bit one anywhere).
#   tools/hostile.sh [COUNT [FIRST]]   COUNT worlds from seed FIRST (100000 from 1)
#   tools/hostile.sh --seed S          the world of seed S again
set -euo pipefail
"$(dirname "$0")/setup.sh"
source "$(dirname "$0")/env.sh"
navolet_on_error
[ -n "$NAVOLET_ARCHS" ] || { echo "FAILED: $NAVOLET_WHY" >&2; exit 1; }
count=${1:-100000} first=${2:-1}
if [ "$count" = --seed ]; then
  first=${2:?"which seed?"} count=1
fi
ARCH=${NAVOLET_ARCHS%% *}
DIR=$(navolet_dir "$ARCH")
echo "Hostile worlds on the $ARCH-bit build: $count from seed $first"
navolet_build "$ARCH" navolet_tests >/dev/null
navolet_display
trap navolet_cleanup EXIT
navolet_prefix
navolet_wineserver
navolet_democam
out=$DIR/hostile.txt
start=$SECONDS
# A crash the program's filter cannot catch ends the run without its closing lines: the
# progress lines then say which thousand worlds to run again.
NAVOLET_HOSTILE_SEEDS="$first:$count" \
  wine "$DIR/tests/navolet_tests.exe" --gtest_filter='HostileDrivers.NoAnswer*' 2>&1 | tr -d '\r' >"$out" || true
grep -E '^(FAILED seed|crashed)' "$out" | sed 's/^/  /' || true
if ! grep -q '^hostile worlds:' "$out"; then
  done=$(grep -E '^[0-9]+ worlds done' "$out" | tail -n 1)
  echo "FAILED: the run ended early (${done:-before a thousand worlds were done}); see ${out#"$ROOT"/}" >&2
  exit 1
fi
grep -E '^(hostile worlds|most calls)' "$out"
echo "$((SECONDS - start)) s; the whole output is in ${out#"$ROOT"/}"
if grep -q '^FAILED seed' "$out"; then
  echo "Replay one: tools/hostile.sh --seed $(sed -n 's/^FAILED seed \([0-9]*\).*/\1/p' "$out" | head -n 1)"
  exit 1
fi
