#!/bin/sh
# Processor time while the form waits for the user: 10 seconds (BENCH_IDLE)
# after its image has settled, for vantyr's towplane form, the toolkit
# example, yad, zenity and the bare GLX window. The share of a core comes
# from the on-CPU time of all the process's threads (/proc/PID/task/*/schedstat);
# the clock ticks of /proc/PID/stat and the context switches (wake-ups) are
# shown beside it. Medians of BENCH_RUNS (default 3) runs.
set -eu
. "$(dirname "$0")/lib.sh"
bench_setup
runs=${BENCH_RUNS:-3}
idle=${BENCH_IDLE:-10}
subjects="vantyr example yad zenity bare_glx"
floor_size=$(form_size)
out="$work/idle.txt"
: >"$out"
for r in $(seq 1 "$runs"); do
  for s in $subjects; do watch "$s" --settle 400 --idle "$idle" >>"$out"; done
done

m() { grep "^subject=$1 " "$out" | value "$2" | median; }
echo "## Processor time while the form waits"
echo
echo "Over $idle seconds after the window's image settled, nothing happening; median of $runs runs."
echo
echo "| Program | share of a core (%) | clock ticks (/proc/PID/stat) | context switches |"
echo "|---|---:|---:|---:|"
for s in $subjects; do
  case $s in
    vantyr) name="vantyr, towplane form with 32 tick boxes" ;;
    example) name="toolkit example window" ;;
    yad) name="yad --form, 32 check fields" ;;
    zenity) name="zenity --list --checklist, 32 rows" ;;
    bare_glx) name="bare GLX window" ;;
  esac
  echo "| $name | $(m "$s" idle_pct) | $(m "$s" idle_ticks) | $(m "$s" idle_switches) |"
done
echo
echo "Goal: 0.1 % or less for vantyr. A clock tick is 1/$(getconf CLK_TCK) s, $(awk -v t="$(getconf CLK_TCK)" -v s="$idle" 'BEGIN { printf "%.2f", 100 / (t * s) }') % of a core over $idle s."
echo
echo "Machine: $(machine). Reproduce: \`bench/run.sh idle\` (BENCH_RUNS=$runs, BENCH_IDLE=$idle)."
