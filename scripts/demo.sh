#!/bin/sh
# The README's demo: installs what is missing, builds the Linux program, makes
# a demo installation of Condor 3 (towplanes and gliders, some of them hidden)
# under build/demo/, runs vantyr on it from a working folder there, with its
# message boxes on the console, and says what it did.
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
echo
echo "Running vantyr on the demo installation (Condor 3 in $demo/prefix/drive_c/Condor3) ..."
(cd "$demo/work" && WINEPREFIX="$demo/prefix" VANTYR_DIALOGS=console \
  "$build/linux/app/vantyr" <"/dev/null" >"$out" 2>&1)

# The program's trace: "npln N" and the N towplanes; then the counts and the
# tick of every input ("i type value ...").
awk '
  /^npln [0-9]+$/ { n = $2; i = 0; next }
  n && i < n && /^[0-9]+ / { i++; sub(/^[0-9]+ /, ""); name[i] = $0; next }
  /^npln NForm NFound NAct / { counted = 1; total = $5; active = $8; hidden = $9; j = 0; next }
  counted && j < total && /^[0-9]+ 4 / { j++; tick[$1] = $3; next }
  END {
    printf "Towplanes found: %d (%d active under Planes, %d hidden under Hidden_Planes)\n", total, active, hidden
    for (k = 1; k <= total; k++) printf "  [%s] %s\n", tick[k] == 1 ? "x" : " ", name[k]
  }' "$out"
grep -A3 '^Vantyr$' "$out" | sed 's/^/  box: /' || true
if grep -q '^frm_do_form : 0$' "$out"; then
  echo "The dialog window is not built yet: the form was not shown, so nothing was moved."
fi
echo "Log file: $demo/work/Logfile.txt"
sed 's/^/  /' "$demo/work/Logfile.txt"
echo "Full output of the run: $out"
