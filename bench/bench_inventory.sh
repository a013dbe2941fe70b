#!/bin/sh
# The inventory benchmark: the program's towplane inventory and locating steps
# on generated installations of 100, 1,000 and 5,000 aircraft folders (30
# towplanes, 20 active and 10 hidden; the others gliders, a tenth of them
# hidden), against the floor: a minimal loop making the same directory reads
# and existence checks on the same folders. Both are timed inside their
# process (start-up not counted), run alternately, medians of repeated runs.
# The whole run of `vantyr` without a display, which ends after the scan, is
# timed beside them. Prints a Markdown section on standard output.
#   VANTYR_BENCH_REPS   runs per size (default 9)
#   VANTYR_BENCH_SIZES  aircraft per installation (default "100 1000 5000")
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
bin="$root/build/linux"
work="$root/build/bench/inventory"
reps=${VANTYR_BENCH_REPS:-9}
sizes=${VANTYR_BENCH_SIZES:-"100 1000 5000"}

cmake --build "$bin" -j "$(nproc)" --target inventory_steps inventory_floor vantyr make_condor_install >/dev/null
for p in "$bin/bench/inventory/inventory_steps" "$bin/bench/inventory/inventory_floor" "$bin/app/vantyr" \
  "$bin/tools/condor_fixture/make_condor_install"; do
  [ -x "$p" ] || { echo "bench_inventory: $p is not built" >&2; exit 1; }
done

# NAME0001,NAME0002,... from FIRST to LAST.
names() { seq -f "$1%04g" "$2" "$3" | paste -sd, -; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
now_ns() { date +%s%N; }

mkdir -p "$work/run"
rows=""
for n in $sizes; do
  prefix="$work/prefix-$n"
  rm -rf "$prefix"
  gliders=$((n - 30))
  hidden=$((gliders / 10))
  "$bin/tools/condor_fixture/make_condor_install" --prefix "$prefix" --condor 3 \
    --towplanes "$(names TOW 1 20)" --hidden-towplanes "$(names TOW 21 30)" \
    --gliders "$(names GL 1 $((gliders - hidden)))" --hidden-gliders "$(names GL $((gliders - hidden + 1)) $gliders)" \
    >/dev/null
  planes="$prefix/drive_c/Condor3/Planes"
  hidden_planes="$prefix/drive_c/Condor3/Hidden_Planes"
  : >"$work/steps" && : >"$work/floor" && : >"$work/whole"
  cd "$work/run"
  # One run of each first, not counted: the folders come into the caches.
  for r in $(seq 0 "$reps"); do
    rm -f Logfile.txt
    steps=$(WINEPREFIX="$prefix" "$bin/bench/inventory/inventory_steps" 2>/dev/null)
    floor=$("$bin/bench/inventory/inventory_floor" "$planes" "$hidden_planes")
    rm -f Logfile.txt
    t0=$(now_ns)
    env -u DISPLAY WINEPREFIX="$prefix" VANTYR_DIALOGS=console "$bin/app/vantyr" </dev/null >/dev/null 2>&1
    t1=$(now_ns)
    # Both must have found what the installation holds.
    echo "$steps" | awk '{ exit !($3 == 30 && $4 == 30 && $5 == 20 && $6 == 10) }' ||
      { echo "bench_inventory: the steps found $steps" >&2; exit 1; }
    echo "$floor" | awk -v n="$n" '{ exit !($3 == 30 && $4 == n) }' ||
      { echo "bench_inventory: the floor found $floor" >&2; exit 1; }
    [ "$r" -eq 0 ] && continue
    echo "$steps" >>"$work/steps"
    echo "$floor" >>"$work/floor"
    echo $(((t1 - t0) / 1000)) | awk '{ print $1 / 1000 }' >>"$work/whole"
  done
  cd "$root"
  s=$(cut -d' ' -f1 "$work/steps" | median)
  sc=$(cut -d' ' -f2 "$work/steps" | median)
  f=$(cut -d' ' -f1 "$work/floor" | median)
  fc=$(cut -d' ' -f2 "$work/floor" | median)
  w=$(median <"$work/whole")
  rows="$rows$n $s $f $sc $fc $w
"
  rm -rf "$prefix"
done

echo "## Inventory and locating"
echo
echo "Listing the towplanes (\`DIR /AD\` of \`Planes\` and \`Hidden_Planes\`, the seven"
echo "existence checks per aircraft folder), filling the form and locating the"
echo "towplanes (\`DIR /B /S *.dta\` of both trees, an existence check per data file),"
echo "timed inside the process (\`bench/inventory/inventory_steps\`), against a minimal"
echo "C++ loop making the same directory reads and existence checks"
echo "(\`bench/inventory/inventory_floor\`). Installations of 30 towplanes (20 active,"
echo "10 hidden), the other aircraft gliders (a tenth hidden). Medians of $reps runs of"
echo "each, alternately; elapsed time, and processor time (user and system) beside it."
echo "The whole run is \`vantyr\` without a display (it ends after the scan with the"
echo "\"window cannot be opened\" box), process start to end."
echo
echo "| aircraft | steps ms | floor ms | ratio | steps CPU ms | floor CPU ms | CPU ratio | whole run ms |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|"
printf '%s' "$rows" | awk '{ printf "| %d | %.1f | %.1f | %.2f | %.1f | %.1f | %.2f | %.0f |\n", $1, $2, $3, $2 / $3, $4, $5, $4 / $5, $6 }'
echo
# Growth: the time per aircraft between the sizes.
printf '%s' "$rows" | awk 'NR > 1 { printf "From %d to %d aircraft (x%.1f): steps x%.2f, floor x%.2f.\n", p, $1, $1 / p, $2 / s, $3 / f }
  { p = $1; s = $2; f = $3 }'
echo
echo "Reproduce: \`bench/run.sh inventory\`."
