#!/usr/bin/env bash
# Benchmark under Wine with the demo camera, for each architecture that runs here. Prints
# figures; it is not a test.
#   - the launch: the time from a tray double-click to the visible property frame for
#     Navolet, for the required floor (BenchRequired: the work every launch must do, with
#     plain calls; and the same built with Navolet's manifest) and for the first floor
#     (BenchFloor: the fewest calls that open the frame), RUNS launches of each taken in
#     turns, with the CPU time each used; the launch of the timing build cut into phases
#     beside the floors';
#   - the start, as at sign-in: process creation to the icon in the tray and the window
#     hidden, for Navolet and the tray floor (BenchTray: a hidden window, its icon, the
#     tray call), RUNS starts of each in turns, and the timing build's start in phases;
#   - the resident cost at rest with the icon shown, Navolet and the tray floor side by
#     side, and their CPU time over IDLE_SECONDS;
#   - the size of Navolet.exe.
# The output is also left in build/bench-output.txt; --page puts it into
# docs/performance.md, in place of the run that is there. --against DIR measures only the
# launch and the start, of the build beside an earlier Navolet.exe (DIR/32/Navolet.exe,
# DIR/64/Navolet.exe), each against its floor, in turns of RUNS: earlier, this, earlier, this.
#   tools/bench.sh [--page] [RUNS [IDLE_SECONDS]]     (100 runs, 60 s by default)
#   tools/bench.sh --against DIR [RUNS]
set -euo pipefail
TOOLS=$(cd "$(dirname "$0")" && pwd)
if [ -z "${NAVOLET_BENCH_RUN:-}" ]; then
  page=""
  [ "${1:-}" = --page ] && { page=1; shift; }
  if [ "${1:-}" = --against ]; then
    export NAVOLET_BENCH_AGAINST
    NAVOLET_BENCH_AGAINST=$(cd "$2" && pwd)
    shift 2
  fi
  "$TOOLS/setup.sh" >/dev/null
  source "$TOOLS/env.sh"
  mkdir -p "$BUILD"
  out=$BUILD/bench-output.txt
  NAVOLET_BENCH_RUN=1 "$0" "$@" | tee "$out"
  [ "${PIPESTATUS[0]}" -eq 0 ] || exit 1
  if [ -n "$page" ]; then
    doc=$ROOT/docs/performance.md
    awk -v out="$out" '
      /^<!-- bench output begins -->$/ { print; while ((getline line < out) > 0) print (line == "" ? "" : "    " line); skip = 1; next }
      /^<!-- bench output ends -->$/ { skip = 0 }
      !skip' "$doc" >"$doc.new"
    grep -q '^<!-- bench output ends -->$' "$doc.new" && mv "$doc.new" "$doc" ||
      { rm -f "$doc.new"; echo "FAILED: no place for the output in $doc" >&2; exit 1; }
    echo "(written into ${doc#"$ROOT"/})"
  fi
  exit 0
fi

source "$TOOLS/env.sh"
RUNS=${1:-100}
IDLE=${2:-60}
navolet_build >/dev/null
navolet_bench_prefix
navolet_democam

NAVOLET="Navolet-Quendal Property Page"
start() { "$@" & PIDS+=($!); }
# What Linux counts of a Wine process: resident, anonymous, private (resident and not
# shared), and CPU time (utime + stime) in milliseconds.
linux_memory() {
  awk '/^VmRSS:/ { rss = $2 } /^RssAnon:/ { anon = $2 } END { printf "resident %d KB, anonymous %d KB", rss, anon }' "/proc/$1/status"
  awk '/^Private_(Clean|Dirty):/ { p += $2 } END { printf ", private %d KB\n", p }' "/proc/$1/smaps_rollup"
}
linux_cpu() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%d\n", ($14 + $15) * 1000 / hz }' "/proc/$1/stat"; }

navolet_wine_line
if [ -n "${NAVOLET_BENCH_AGAINST:-}" ]; then
  echo "Navolet beside the earlier build in $NAVOLET_BENCH_AGAINST, $(date -u '+%Y-%m-%d %H:%M UTC'), Wine $(wine --version)," \
       "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
  for arch in $NAVOLET_ARCHS; do
    dir=$(navolet_dir $arch) run=wine
    [ $arch = 64 ] && run=wine64
    for round in 1 2; do
      for build in "$NAVOLET_BENCH_AGAINST/$arch" "$dir"; do
        echo "== $arch-bit, round $round: $build/Navolet.exe ($(stat -c %s "$build/Navolet.exe") bytes)"
        start $run "$build/Navolet.exe"
        start $run "$dir/BenchRequiredManifest.exe"
        $run "$dir/BenchDriver.exe" alternate "$RUNS" "$NAVOLET" Navolet-Required+manifest | grep '^Ratio'
        end_all
        $run "$dir/BenchDriver.exe" startup "$RUNS" "\"$(winepath -w "$build/Navolet.exe")\"" "$NAVOLET" \
          "\"$(winepath -w "$dir/BenchTray.exe")\"" Navolet-Tray | grep '^Ratio'
      done
    done
  done
  exit 0
fi
echo "Navolet benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), Wine $(wine --version), $(nproc) cores," \
     "load average $(cut -d' ' -f1-3 /proc/loadavg)"
for arch in $NAVOLET_ARCHS; do
  dir=$(navolet_dir $arch) strip=i686-w64-mingw32-strip
  [ $arch = 64 ] && strip=x86_64-w64-mingw32-strip
  # A 64-bit program through the 64-bit loader: the process started is then Wine's
  # process of the program itself, whose /proc figures are read below.
  run=wine
  [ $arch = 64 ] && run=wine64
  bench() { $run "$dir/BenchDriver.exe" "$@"; }
  exe() { winepath -w "$dir/$1"; }
  echo
  echo "== $arch-bit ($dir)"
  echo "Launch: the time from the posted tray double-click to a visible property frame, $RUNS runs each, in turns:"
  floors=(Navolet-Required Navolet-Required+manifest Navolet-Floor)
  start $run "$dir/Navolet.exe"
  start $run "$dir/BenchRequired.exe"
  start $run "$dir/BenchRequiredManifest.exe"
  start $run "$dir/BenchFloor.exe"
  cpu=()
  for p in "${PIDS[@]}"; do cpu+=($(linux_cpu $p)); done
  bench alternate "$RUNS" "$NAVOLET" "${floors[@]}"
  line="CPU time of each program's Wine process per launch, as Linux counts it ($((RUNS + 1)) launches with the warm-up):"
  names=(Navolet "${floors[@]#Navolet-}")
  for i in "${!PIDS[@]}"; do
    line+="$([ $i = 0 ] || echo ,) ${names[$i]} $(awk -v t=$(( $(linux_cpu ${PIDS[$i]}) - cpu[i] )) -v n=$((RUNS + 1)) 'BEGIN { printf "%.2f", t / n }') ms"
  done
  echo "$line"
  end_all

  echo "Where the launch's time goes: the timing build (NavoletTiming.exe) and the floors, $RUNS runs each, in turns"
  export NAVOLET_TIMING_FILE
  NAVOLET_TIMING_FILE=$(winepath -w "$BUILD/bench-phases.txt")
  start $run "$dir/NavoletTiming.exe"
  start $run "$dir/BenchRequired.exe"
  start $run "$dir/BenchRequiredManifest.exe"
  start $run "$dir/BenchFloor.exe"
  bench phases "$RUNS" "$NAVOLET_TIMING_FILE" "$NAVOLET" "${floors[@]}"
  end_all
  echo "What the filter graph manager's worker thread costs: the same, the timing build creating"
  echo "CLSID_FilterGraphNoThread in place of CLSID_FilterGraph (Navolet itself never does)"
  NAVOLET_TIMING_NOTHREAD=1 $run "$dir/NavoletTiming.exe" &
  PIDS+=($!)
  start $run "$dir/BenchRequired.exe"
  bench phases "$RUNS" "$NAVOLET_TIMING_FILE" "$NAVOLET" Navolet-Required
  end_all
  unset NAVOLET_TIMING_FILE

  # The tray floor, and the same with the DLLs that Navolet imports beyond the floor's
  # loaded before its window: those its start needs (InitCommonControls, CoInitialize),
  # and with oleaut32 too, which Navolet loads only at its first launch. The start is
  # timed against all three, its phases and the resident cost against the first two.
  tray="\"$(exe BenchTray.exe)\""
  needs=(comctl32 ole32) imports=(comctl32 ole32 oleaut32)
  trays=("$tray" Navolet-Tray "$tray ${needs[*]}" "Navolet-Tray$(printf '+%s' "${needs[@]}")"
          "$tray ${imports[*]}" "Navolet-Tray$(printf '+%s' "${imports[@]}")")
  echo "Start, as at sign-in: process creation to the icon in the tray and the window hidden, $RUNS starts each, in turns:"
  bench startup "$RUNS" "\"$(exe Navolet.exe)\"" "$NAVOLET" "${trays[@]}"
  echo "Where the start's time goes: the timing build and the tray floors, $RUNS starts each, in turns"
  bench startup-phases "$RUNS" "$(winepath -w "$BUILD/bench-start.txt")" "\"$(exe NavoletTiming.exe)\"" "$NAVOLET" \
        "${trays[0]}" "${trays[1]}" "${trays[2]}" "${trays[3]}"

  echo "At rest with the icon shown, Navolet and the tray floors, 2 s after their start:"
  start $run "$dir/Navolet.exe"
  navolet_pid=${PIDS[-1]}
  start $run "$dir/BenchTray.exe"
  tray_pid=${PIDS[-1]}
  start $run "$dir/BenchTray.exe" "${needs[@]}"
  sleep 2
  bench resources "$NAVOLET" Navolet-Tray "${trays[3]}"
  echo "  as Linux counts the Wine processes: Navolet $(linux_memory $navolet_pid)"
  echo "                                      Tray    $(linux_memory $tray_pid)"
  navolet_cpu=$(linux_cpu $navolet_pid) tray_cpu=$(linux_cpu $tray_pid)
  bench idle-cpu "$IDLE" "$NAVOLET" Navolet-Tray
  echo "CPU time over the same $IDLE s as Linux counts it: Navolet $(( $(linux_cpu $navolet_pid) - navolet_cpu )) ms," \
       "Tray $(( $(linux_cpu $tray_pid) - tray_cpu )) ms"
  echo "Navolet after one launch (the frame opened and closed; the capture DLLs stay loaded):"
  bench alternate 1 "$NAVOLET" >/dev/null
  bench resources "$NAVOLET" Navolet-Tray
  echo "  as Linux counts the Wine processes: Navolet $(linux_memory $navolet_pid)"
  end_all

  stripped=$(mktemp)
  $strip -o "$stripped" "$dir/Navolet.exe"
  echo "Navolet.exe ($arch-bit): $(stat -c %s "$dir/Navolet.exe") bytes as built, $(stat -c %s "$stripped") bytes stripped"
  rm -f "$stripped"
done
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
