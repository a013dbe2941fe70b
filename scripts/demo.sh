#!/bin/sh
# The README's demo: installs what is missing, builds the Linux program, makes
# a demo installation of Condor 3 (towplanes and gliders, some of them hidden)
# under build/demo/, runs vantyr on it from a working folder there (its form
# on the display when there is one), and says what it did.
set -eu
. "$(dirname "$0")/common.sh"

install_packages
configure_linux >/dev/null
cmake --build "$build/linux" -j "$jobs" --target vantyr make_condor_install

demo="$build/demo"
rm -rf "$demo"
mkdir -p "$demo/work"
"$build/linux/tools/condor_fixture/make_condor_install" --prefix "$demo/prefix" \
  --condor 3 --towplanes DR400,PAWNEE,Husky --gliders ASK21,LS8 \
  --hidden-towplanes Wilga,Piper_Cub --hidden-glider Discus >/dev/null

out="$demo/work/vantyr-output.txt"
planes="$demo/prefix/drive_c/Condor3/Planes"
hidden="$demo/prefix/drive_c/Condor3/Hidden_Planes"
listing() { ls "$1" 2>/dev/null | tr '\n' ' '; }
echo
echo "Demo installation: Condor 3 in $demo/prefix/drive_c/Condor3"
echo "  Planes:        $(listing "$planes")"
echo "  Hidden_Planes: $(listing "$hidden")"
if [ -n "${DISPLAY:-}" ]; then
  # With a display the form opens: tick and untick towplanes, then OK (the
  # folders move and a box says what moved), or Cancel.
  echo "Running vantyr: its form opens on $DISPLAY ..."
  (cd "$demo/work" && WINEPREFIX="$demo/prefix" "$build/linux/app/vantyr" <"/dev/null" >"$out" 2>&1) || true
else
  # Without one the program tells why its form cannot open, and moves nothing.
  echo "Running vantyr without a display (DISPLAY is not set), message boxes on the console ..."
  (cd "$demo/work" && WINEPREFIX="$demo/prefix" VANTYR_DIALOGS=console \
    "$build/linux/app/vantyr" <"/dev/null" >"$out" 2>&1) || true
fi

# The program's trace: "npln N" and the N towplanes; then the counts and the
# tick of every input ("i type value ...") before the form.
awk '
  /^npln [0-9]+$/ { n = $2; i = 0; next }
  n && i < n && /^[0-9]+ / { i++; sub(/^[0-9]+ /, ""); name[i] = $0; next }
  /^npln NForm NFound NAct / { counted = 1; total = $5; active = $8; hidden = $9; j = 0; next }
  counted && j < total && /^[0-9]+ 4 / { j++; tick[$1] = $3; next }
  END {
    printf "Towplanes found: %d (%d active under Planes, %d hidden under Hidden_Planes)\n", total, active, hidden
    for (k = 1; k <= total; k++) printf "  [%s] %s\n", tick[k] == 1 ? "x" : " ", name[k]
  }' "$out"
grep '^frm_do_form : ' "$out" | sed 's/^frm_do_form : /The form ended with status /' || true
# Message boxes on the console: the title "Vantyr", then their text, up to
# the next trace line.
awk '/^Vantyr$/ { box = 1; next }
  box && /^(frm_do_form|[0-9]+ |[A-Z_ ]+:|START HOOK|STOP HOOK|exitstat|MOVE |\*\*\*\*)/ { box = 0 }
  box { print "  box: " $0 }' "$out"
echo "After the run:"
echo "  Planes:        $(listing "$planes")"
echo "  Hidden_Planes: $(listing "$hidden")"
echo "Log file: $demo/work/Logfile.txt"
echo "Full output of the run: $out"
