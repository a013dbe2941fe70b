# Shared steps of the window benchmarks (bench_start.sh, bench_memory.sh,
# bench_idle.sh, bench_frame.sh): the programs they need, the installation
# with 32 towplanes, the programs compared, and medians.
#
# Sourced by a benchmark run from bench/run.sh (DISPLAY is set, the Linux
# build exists). The tools come from the Linux build (VANTYR_BUILD, default
# build/linux); BENCH_SUBJECT_BUILD names another build whose vantyr and
# toolkit example are measured instead (an older one, for a before and
# after); BENCH_RUNS overrides a benchmark's number of runs.
. "$(dirname "$0")/../scripts/common.sh"
bench_dir="$root/bench"
bin=$(cd "${VANTYR_BUILD:-$build/linux}" && pwd)
subject_bin=$(cd "${BENCH_SUBJECT_BUILD:-$bin}" && pwd)
work="$build/bench"
mkdir -p "$work"

# yad (one of the tools compared) and the DAMAGE extension's header for the
# window watcher.
bench_packages() {
  missing=""
  for p in $(grep -v '^#' "$bench_dir/packages.txt"); do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing="$missing $p"
  done
  if [ -n "$missing" ]; then
    as_root apt-get update -qq >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >&2
    # A new header: CMake looks for it again.
    cmake "$bin" >/dev/null
  fi
}

bench_setup() {
  bench_packages
  cmake --build "$bin" -j "$jobs" --target bench >/dev/null
  towplanes32
}

# An installation with 32 towplanes (24 active, 8 hidden) and two gliders,
# made once; vantyr runs on it from $work/run.
towplanes32() {
  prefix="$work/towplanes32"
  if [ ! -f "$prefix/.ready" ]; then
    rm -rf "$prefix"
    active="" hidden=""
    for i in $(seq 1 24); do active="$active,Tow$(printf %02d "$i")"; done
    for i in $(seq 25 32); do hidden="$hidden,Tow$(printf %02d "$i")"; done
    "$bin/tools/condor_fixture/make_condor_install" --prefix "$prefix" --condor 3 \
      --towplanes "${active#,}" --hidden-towplanes "${hidden#,}" --gliders ASK21,LS8 >/dev/null
    touch "$prefix/.ready"
  fi
  mkdir -p "$work/run"
}

# The same 32 choices for yad and zenity (the first 24 ticked).
yad_fields() {
  for i in $(seq 1 32); do printf -- '--field=Tow%02d:CHK\n' "$i"; done
  for i in $(seq 1 32); do [ "$i" -le 24 ] && echo TRUE || echo FALSE; done
}
zenity_rows() {
  for i in $(seq 1 32); do
    [ "$i" -le 24 ] && echo TRUE || echo FALSE
    printf 'Tow%02d\n' "$i"
  done
}

# watch SUBJECT [WATCH OPTIONS]: bench_watch on one of the programs compared;
# prints its line of name=value pairs, prefixed with "subject=SUBJECT".
# The bare windows take the size in $floor_size ("WIDTH HEIGHT").
watch() {
  subject=$1
  shift
  w="$bin/bench/bench_watch"
  case $subject in
    vantyr)
      line=$(cd "$work/run" && WINEPREFIX="$work/towplanes32" VANTYR_DIALOGS=console \
        "$w" --title Vantyr "$@" -- "$subject_bin/app/vantyr" </dev/null 2>/dev/null) ;;
    example)
      line=$("$w" --title "Toolkit example" "$@" -- "$subject_bin/toolkit/toolkit_example" "Toolkit example" 2>/dev/null) ;;
    yad)
      line=$(yad_fields | tr '\n' '\0' | xargs -0 "$w" --title "yad form" "$@" -- \
        yad --title="yad form" --form 2>/dev/null) ;;
    zenity)
      line=$(zenity_rows | tr '\n' '\0' | xargs -0 "$w" --title "zenity list" "$@" -- \
        zenity --list --checklist --title="zenity list" --height=900 --column=Active --column=Towplane 2>/dev/null) ;;
    bare_x11)
      line=$("$w" --title "Bare X11" "$@" -- "$bin/bench/bench_bare_x11" "Bare X11" $floor_size 2>/dev/null) ;;
    bare_glx)
      line=$("$w" --title "Bare GLX" "$@" -- "$bin/bench/bench_bare_glx" "Bare GLX" $floor_size 2>/dev/null) ;;
  esac
  printf 'subject=%s %s\n' "$subject" "$line"
}

# The size of vantyr's form window, for the floors.
form_size() {
  watch vantyr --settle 300 | sed -n 's/.* width=\([0-9]*\) height=\([0-9]*\).*/\1 \2/p'
}

# value NAME < lines: the values of NAME=...
value() { sed -n "s/.* $1=\([-0-9.]*\).*/\1/p"; }

# median < numbers
median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# ratio A B: A / B to two decimals
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0 || a == "-" || b == "-") print "-"; else printf "%.2f\n", a / b }'; }

# The machine, for the report's sections (with the load average: the
# machine may be shared).
machine() {
  echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(uname -sr)," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg);" \
    "Xvfb $(dpkg-query -W -f='${Version}' xvfb 2>/dev/null)," \
    "Mesa $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null)," \
    "yad $(dpkg-query -W -f='${Version}' yad 2>/dev/null), zenity $(dpkg-query -W -f='${Version}' zenity 2>/dev/null)" \
    "$([ "$subject_bin" = "$bin" ] || echo "; vantyr and the example from $subject_bin")"
}
