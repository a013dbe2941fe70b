#!/bin/sh
# Frame time of a full redraw of vantyr's towplane form with 32 towplanes
# (software OpenGL on Xvfb): the form is asked to redraw by Expose events,
# one at a time, and each redraw ends with the damage its buffer swap does
# to the window. The bare GLX window of the same size, asked the same way,
# gives the floor: the round trip and a swap of an almost empty frame.
# BENCH_REDRAWS (default 50) redraws per run, medians of BENCH_RUNS
# (default 3) runs.
set -eu
. "$(dirname "$0")/lib.sh"
bench_setup
runs=${BENCH_RUNS:-3}
redraws=${BENCH_REDRAWS:-50}
subjects="vantyr bare_glx example"
floor_size=$(form_size)
out="$work/frame.txt"
: >"$out"
for r in $(seq 1 "$runs"); do
  for s in $subjects; do watch "$s" --settle 400 --redraws "$redraws" >>"$out"; done
done

m() { grep "^subject=$1 " "$out" | value "$2" | median; }
v=$(m vantyr redraw_ms)
g=$(m bare_glx redraw_ms)
echo "## Frame time of a full redraw"
echo
echo "Expose event to the damage of the buffer swap, median of $redraws redraws per run,"
echo "median of $runs runs; windows of the form's size ($floor_size) except the example."
echo
echo "| Window | redraw (ms) |"
echo "|---|---:|"
echo "| vantyr, towplane form with 32 tick boxes | $v |"
echo "| bare GLX window (floor: round trip and swap) | $g |"
echo "| toolkit example window (420 x 60, one line) | $(m example redraw_ms) |"
echo
echo "The form's own drawing: $(awk -v a="$v" -v b="$g" 'BEGIN { printf "%.2f", a - b }') ms a frame beyond the floor."
echo
echo "Machine: $(machine). Reproduce: \`bench/run.sh frame\` (BENCH_RUNS=$runs, BENCH_REDRAWS=$redraws)."
