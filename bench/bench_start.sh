#!/bin/sh
# Start to the window's map and to its first drawn frame (the image it
# settles on): vantyr's towplane form with 32 towplanes on a generated
# installation (the whole run: discovery, listings, form reading), the
# toolkit's one-line example window, yad's form with 32 check fields and
# zenity's checklist with 32 rows, and the floors: a bare X11 and a bare GLX
# window of the form's size. Runs interleaved, one discarded warm-up round,
# medians of BENCH_RUNS (default 11) runs.
set -eu
. "$(dirname "$0")/lib.sh"
bench_setup
runs=${BENCH_RUNS:-11}
subjects="vantyr example yad zenity bare_x11 bare_glx"
floor_size=$(form_size)
out="$work/start.txt"
: >"$out"
for r in $(seq 0 "$runs"); do
  for s in $subjects; do
    line=$(watch "$s")
    [ "$r" -eq 0 ] || echo "$line" >>"$out"
  done
done

m() { grep "^subject=$1 " "$out" | value "$2" | median; }
echo "## Start-up: to the window's map and to its first drawn frame"
echo
echo "Median of $runs runs each, interleaved, on Xvfb (software OpenGL); times from the"
echo "program's start. The first frame is the first image of the window that shows what"
echo "it settles on (read from the server at every damage report); vantyr's runs"
echo "include finding the installation, listing the aircraft folders and reading the"
echo "form. Floors are windows of the form's size ($floor_size). Processor time: of all the"
echo "program's threads by then, which a busy machine disturbs less than the times."
echo
echo "| Program | map (ms) | first frame (ms) | processor time to the map (ms) | to the first frame (ms) | content |"
echo "|---|---:|---:|---:|---:|---|"
for s in $subjects; do
  content=$(grep "^subject=$s " "$out" | value content | sort | uniq | tr '\n' ' ')
  case $s in
    vantyr) name="vantyr, towplane form with 32 tick boxes" ;;
    example) name="toolkit example window (one line of text)" ;;
    yad) name="yad --form, 32 check fields" ;;
    zenity) name="zenity --list --checklist, 32 rows" ;;
    bare_x11) name="bare X11 window (floor)" ;;
    bare_glx) name="bare GLX window (floor)" ;;
  esac
  echo "| $name | $(m "$s" map_ms) | $(m "$s" frame_ms) | $(m "$s" map_cpu_ms) | $(m "$s" frame_cpu_ms) |" \
    "$([ "$content" = "1 " ] && echo drawn || echo "blank in some runs") |"
done
vf=$(m vantyr frame_ms)
echo
echo "Ratios of vantyr's first frame: to yad's $(ratio "$vf" "$(m yad frame_ms)") (goal below 1),"
echo "to the toolkit example's $(ratio "$vf" "$(m example frame_ms)") (goal 1.1 or less),"
echo "to zenity's $(ratio "$vf" "$(m zenity frame_ms)"), to the bare GLX window's $(ratio "$vf" "$(m bare_glx frame_ms)")."
vc=$(m vantyr frame_cpu_ms)
echo "In processor time to the first frame: $(ratio "$vc" "$(m yad frame_cpu_ms)") of yad's, $(ratio "$vc" "$(m example frame_cpu_ms)") of the example's."
echo
echo "Machine: $(machine). Reproduce: \`bench/run.sh start\` (BENCH_RUNS=$runs)."
