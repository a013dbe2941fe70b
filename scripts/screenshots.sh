#!/bin/sh
# The documentation's screenshots, made by running the programs on a display
# and taking their windows as PNG files:
#   docs/screenshots/towplanes-8.png    vantyr on an installation with 8 towplanes
#   docs/screenshots/towplanes-20.png   the same with 20 (three columns)
#   docs/screenshots/every-element.png  vantyr-form on docs/every_element.frm, a
#                                       key captured and a text selected
#   docs/screenshots/every-element-typing.png  the same with a digit typed
#   docs/screenshots/example-form.png   vantyr-form on docs/example.frm, the
#                                       form definition guide's example
#
# Without a DISPLAY it runs on an Xvfb of its own. It builds what it needs in
# the Linux build folder (VANTYR_BUILD, default build/linux).
set -eu
. "$(dirname "$0")/common.sh"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

bin="${VANTYR_BUILD:-$build/linux}"
[ -f "$bin/CMakeCache.txt" ] || configure_linux >/dev/null
cmake --build "$bin" -j "$jobs" --target vantyr vantyr-form make_condor_install x11_send_close >/dev/null
bin=$(cd "$bin" && pwd)

shots="$root/docs/screenshots"
mkdir -p "$shots"
work=$(mktemp -d)
child=""
cleanup() {
  [ -n "$child" ] && kill "$child" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# shot TITLE PNG COMMAND...: runs the command in the background, waits for
# its window, takes it once drawn, closes it and waits for the command's end.
shot() {
  title=$1
  png=$2
  shift 2
  timeout 60 "$@" </dev/null >"$work/out.txt" 2>&1 &
  child=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
  [ -n "$window" ] || {
    kill "$child" 2>/dev/null || true
    echo "no window \"$title\"; the program wrote:" >&2
    cat "$work/out.txt" >&2
    return 1
  }
  # The window draws within moments of being mapped; take it when it has.
  sleep 0.5
  timeout 20 import -window "$window" "$png"
  "$bin/tests/toolkit/x11_send_close" "$title" 10
  wait "$child" || true
  child=""
  echo "$png"
}

# towplane_shot NAME ACTIVE HIDDEN: an installation with these towplanes
# (comma-separated), and vantyr's form on it.
towplane_shot() {
  prefix="$work/$1"
  "$bin/tools/condor_fixture/make_condor_install" --prefix "$prefix" --condor 3 \
    --towplanes "$2" --hidden-towplanes "$3" --gliders ASK21,LS8 >/dev/null
  mkdir -p "$prefix/run"
  (cd "$prefix/run" && WINEPREFIX="$prefix" VANTYR_DIALOGS=console shot Vantyr "$shots/$1.png" "$bin/app/vantyr")
}

towplane_shot towplanes-8 DR400,PAWNEE,Husky,Piper_Cub,Robin,Maule Wilga,Super_Cub
towplane_shot towplanes-20 \
  DR400,PAWNEE,Husky,Piper_Cub,Robin,Maule,Dimona,Zlin,Tecnam,Savage,C182,AN2 \
  Wilga,Super_Cub,J3_Cub,Stemme,Morane,Rotax_Tug,Dragonfly,PA18

(cd "$work" && VANTYR_DIALOGS=console shot Launch "$shots/example-form.png" \
  "$bin/app/vantyr-form" "$root/docs/example.frm" "$root/docs/example.dat")

# form_shot TITLE PNG ACTIONS COMMAND...: as shot, with the shell function
# ACTIONS run on the window (its id in $window, its height in $height)
# before it is taken.
form_shot() {
  title=$1
  png=$2
  actions=$3
  shift 3
  timeout 60 "$@" </dev/null >"$work/out.txt" 2>&1 &
  child=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
  [ -n "$window" ] || {
    kill "$child" 2>/dev/null || true
    cat "$work/out.txt" >&2
    return 1
  }
  height=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  sleep 0.5
  "$actions"
  sleep 0.5
  timeout 20 import -window "$window" "$png"
  "$bin/tests/toolkit/x11_send_close" "$title" 10
  wait "$child" || true
  child=""
  echo "$png"
}

# The pointer at form point (x, y) of the window (y upwards).
at() { echo "--window $window $1 $((height - $2))"; }

# A key captured (Ctrl+Shift+F5), then part of the text selected.
key_and_selection() {
  xdotool mousemove $(at 45 90) click 1
  sleep 0.2
  xdotool keydown ctrl keydown shift key F5 keyup shift keyup ctrl
  sleep 0.2
  xdotool mousemove $(at 30 150) mousedown 1 mousemove $(at 60 150) mousemove $(at 70 150) mouseup 1
}

# A digit typed after the integer's value: the caret behind it.
typing() {
  xdotool mousemove $(at 30 210) click 1
  sleep 0.2
  xdotool type --delay 30 7
  xdotool mousemove $(at 30 260)
}

(cd "$work" && VANTYR_DIALOGS=console form_shot "Every element" "$shots/every-element.png" key_and_selection \
  "$bin/app/vantyr-form" "$root/docs/every_element.frm" "$root/docs/every_element.dat")
(cd "$work" && VANTYR_DIALOGS=console form_shot "Every element" "$shots/every-element-typing.png" typing \
  "$bin/app/vantyr-form" "$root/docs/every_element.frm" "$root/docs/every_element.dat")
