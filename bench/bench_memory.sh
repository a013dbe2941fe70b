#!/bin/sh
# Peak resident size (VmHWM) while the form is shown, once its image has
# settled: vantyr's towplane form with 32 towplanes, the toolkit example,
# yad's form and zenity's checklist with the same 32 choices, and the bare
# GLX window of the form's size. Medians of BENCH_RUNS (default 5) runs.
set -eu
. "$(dirname "$0")/lib.sh"
bench_setup
runs=${BENCH_RUNS:-5}
subjects="vantyr example yad zenity bare_glx bare_x11"
floor_size=$(form_size)
out="$work/memory.txt"
: >"$out"
for r in $(seq 1 "$runs"); do
  for s in $subjects; do watch "$s" --settle 400 >>"$out"; done
done

mb() { grep "^subject=$1 " "$out" | value hwm_kb | median | awk '{ printf "%.1f\n", $1 / 1024 }'; }
echo "## Memory: peak resident size while the form is shown"
echo
echo "VmHWM of the process once the window's image has settled, median of $runs runs."
echo
echo "| Program | peak resident (MB) |"
echo "|---|---:|"
echo "| vantyr, towplane form with 32 tick boxes | $(mb vantyr) |"
echo "| toolkit example window | $(mb example) |"
echo "| yad --form, 32 check fields | $(mb yad) |"
echo "| zenity --list --checklist, 32 rows | $(mb zenity) |"
echo "| bare GLX window (floor) | $(mb bare_glx) |"
echo "| bare X11 window | $(mb bare_x11) |"
v=$(mb vantyr)
echo
echo "vantyr: $(ratio "$v" "$(mb yad)") of yad's (goal below 1);" \
  "$(awk -v a="$v" -v b="$(mb bare_glx)" 'BEGIN { printf "%+.1f", a - b }') MB over the bare GLX window (goal 12 or less)."
echo
echo "Machine: $(machine). Reproduce: \`bench/run.sh memory\` (BENCH_RUNS=$runs)."
