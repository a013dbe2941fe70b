#!/bin/sh
# The README's demo: installs what is missing, builds the Linux program, makes
# a fresh demo installation of Condor 3 (a Wine prefix of its own, with
# towplanes active and hidden, gliders and a pilot) and runs vantyr on it.
#
# With a display (DISPLAY set and reachable) the form opens for the user and
# the program's own boxes show; the run ends with the summary box. Without
# one, the script runs on an Xvfb of its own and works the form itself: it
# unticks an active towplane, ticks a hidden one, saves a screenshot of the
# form and presses OK; the boxes are printed on the console. Either way it
# then says what moved, and leaves the installation for a second look.
#
# VANTYR_BUILD names the Linux build folder (default build/linux), and
# VANTYR_DEMO the demo's folder (default build/demo), which every run makes
# anew. VANTYR_DEMO_PREBUILT=1 skips installing and building (the test that
# runs the demo after the build). The scripted run ends with a non-zero
# status when the form did not come up, did not take the clicks, or the
# folders did not move as the form said.
set -eu
. "$(dirname "$0")/common.sh"

bin="${VANTYR_BUILD:-$build/linux}"
demo="${VANTYR_DEMO:-$build/demo}"
prefix="$demo/prefix"
work="$demo/work"
out="$work/vantyr-output.txt"
shot="$demo/form-before-ok.png"
condor="$prefix/drive_c/Condor3"

# The demo installation's aircraft, and what the scripted run changes.
active=DR400,PAWNEE,Husky
hidden=Wilga,Piper_Cub
to_hide=PAWNEE
to_show=Wilga

say() { printf '%s\n' "$*"; }
fail() {
  say "demo: $*" >&2
  exit 1
}
listing() { ls "$1" 2>/dev/null | tr '\n' ' '; }

# What the run moved, from the folders on disk before ($1, $2) and after.
report_moves() {
  say "After the run:"
  say "  Planes:        $(listing "$condor/Planes")"
  say "  Hidden_Planes: $(listing "$condor/Hidden_Planes")"
  hid="" shown=""
  for a in $2; do [ -d "$condor/Planes/$a" ] && shown="$shown $a"; done
  for a in $1; do [ -d "$condor/Hidden_Planes/$a" ] && hid="$hid $a"; done
  if [ -z "$hid$shown" ]; then
    say "Nothing moved."
  else
    [ -n "$hid" ] && say "Moved to Hidden_Planes (deactivated):$hid"
    [ -n "$shown" ] && say "Moved to Planes (activated):$shown"
  fi
  say "The demo installation stays for a second look: $condor"
  say "  log of the run:    $work/Logfile.txt"
  say "  program's output:  $out"
  say "  run it again:      cd $work && WINEPREFIX=$prefix $bin/app/vantyr"
}

# ---- the scripted run, on the Xvfb that the first part started -------------
if [ "${1:-}" = --scripted ]; then
  child=""
  frames=$(mktemp -d)
  cleanup() {
    [ -n "$child" ] && kill "$child" 2>/dev/null || true
    rm -rf "$frames"
  }
  trap cleanup EXIT
  before_planes=$(listing "$condor/Planes")
  before_hidden=$(listing "$condor/Hidden_Planes")

  say "Running vantyr on an Xvfb display ($DISPLAY); its boxes are printed here (VANTYR_DIALOGS=console) ..."
  (cd "$work" && WINEPREFIX="$prefix" VANTYR_DIALOGS=console exec timeout 120 "$bin/app/vantyr") \
    </dev/null >"$out" 2>&1 &
  child=$!

  # The form's window, once mapped (20 seconds at most; sooner when the
  # program ends without one).
  window=""
  for _ in $(seq 20); do
    window=$(timeout 1 xdotool search --sync --onlyvisible --name '^Vantyr$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$child" 2>/dev/null || break
  done
  if [ -z "$window" ]; then
    why="no window \"Vantyr\" appeared within 20 seconds"
    kill -0 "$child" 2>/dev/null || why="vantyr ended without opening its form"
    kill "$child" 2>/dev/null || true
    wait "$child" 2>/dev/null || true
    child=""
    say "The program's output ($out) ends with:" >&2
    tail -n 15 "$out" >&2
    fail "$why"
  fi
  height=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p')
  width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')

  # The boxes of the shipped form: towplane i (from 1) has its 14-pixel tick
  # box at form point (20 + 260 * ((i-1) / 8), 238 - 24 * ((i-1) % 8)), 8 to a
  # column; form points count y upwards from the window's bottom edge, X
  # counts it downwards from the top. The towplanes come in descending order
  # of their names' character codes (LC_ALL=C sort -r).
  names=$(printf '%s\n' $(echo "$active,$hidden" | tr ',' ' ') | LC_ALL=C sort -r)
  count=$(printf '%s\n' "$names" | wc -l)
  index_of() { printf '%s\n' "$names" | grep -n -x "$1" | cut -d: -f1; }
  box_x() { echo $((20 + ($1 - 1) / 8 * 260)); }
  box_top() { echo $((height - (238 - ($1 - 1) % 8 * 24) - 14)); }  # X row of the box's top edge
  # The ticks of every box in a window image, as a text of 1 and 0: a tick
  # darkens the inside of its box.
  ticks_in() {
    t=""
    for i in $(seq "$count"); do
      m=$(convert "$1" -crop "12x12+$(($(box_x "$i") + 1))+$(($(box_top "$i") + 1))" +repage \
        -colorspace gray -format '%[fx:mean<0.95?1:0]' info: 2>/dev/null) || m="?"
      t="$t$m"
    done
    echo "$t"
  }
  # Waits until the window shows the ticks `$1` (10 seconds at most); the
  # image is left in $frames/now.png.
  wait_for_ticks() {
    deadline=$(($(date +%s) + 10))
    while [ "$(date +%s)" -lt "$deadline" ]; do
      if timeout 5 import -window "$window" "$frames/now.png" 2>/dev/null &&
        [ "$(ticks_in "$frames/now.png")" = "$1" ]; then
        return 0
      fi
      sleep 0.2
    done
    return 1
  }
  expect=""
  for n in $names; do
    case ",$active," in *",$n,"*) expect="${expect}1" ;; *) expect="${expect}0" ;; esac
  done
  wait_for_ticks "$expect" || fail "the form never showed its towplanes' ticks ($expect; last seen $(ticks_in "$frames/now.png"))"
  say "The form is up: $count towplanes, ticked when active."

  click_form() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
  hide=$(index_of "$to_hide")
  show=$(index_of "$to_show")
  say "Unticking $to_hide (box $hide), ticking $to_show (box $show) ..."
  click_form $(($(box_x "$hide") + 7)) $(($(box_top "$hide") + 7))
  click_form $(($(box_x "$show") + 7)) $(($(box_top "$show") + 7))
  changed=$(echo "$expect" | awk -v a="$hide" -v b="$show" '{
    s = $0; s = substr(s, 1, a - 1) (substr(s, a, 1) == "1" ? "0" : "1") substr(s, a + 1)
    s = substr(s, 1, b - 1) (substr(s, b, 1) == "1" ? "0" : "1") substr(s, b + 1); print s }')
  wait_for_ticks "$changed" || fail "the form did not take the clicks (wanted $changed, saw $(ticks_in "$frames/now.png"))"
  cp "$frames/now.png" "$shot"
  say "Screenshot of the form before OK: $shot"

  # OK: 80 pixels wide, centred at a quarter of the window's width, its
  # bottom edge at form y 10.
  say "Pressing OK ..."
  click_form $((width / 4)) $((height - 10 - 7))
  for _ in $(seq 100); do
    kill -0 "$child" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$child" 2>/dev/null; then
    fail "the program did not end within 20 seconds of OK"
  fi
  wait "$child" || fail "the program ended with status $?"
  child=""

  # The summary box as the program printed it: its title "Vantyr", then its
  # text, up to the next trace line (the inputs' values, numbered).
  say "The program's summary box:"
  awk '/^Vantyr$/ { box = 1; next } box && /^[0-9]+ / { box = 0 } box { print "  | " $0 }' "$out"
  report_moves "$before_planes" "$before_hidden"
  [ -d "$condor/Hidden_Planes/$to_hide" ] && [ ! -e "$condor/Planes/$to_hide" ] &&
    [ -d "$condor/Planes/$to_show" ] && [ ! -e "$condor/Hidden_Planes/$to_show" ] ||
    fail "the folders did not move as the form said ($to_hide to Hidden_Planes, $to_show to Planes)"
  exit 0
fi

# ---- install, build, make the installation ---------------------------------
if [ -z "${VANTYR_DEMO_PREBUILT:-}" ]; then
  install_packages
  [ -f "$bin/CMakeCache.txt" ] || configure_linux >/dev/null
  cmake --build "$bin" -j "$jobs" --target vantyr make_condor_install >/dev/null
fi
bin=$(cd "$bin" && pwd)

# Every run starts from a fresh installation.
rm -rf "$demo"
mkdir -p "$work"
"$bin/tools/condor_fixture/make_condor_install" --prefix "$prefix" \
  --condor 3 --pilot Demo_Pilot --towplanes "$active" --gliders ASK21,LS8 \
  --hidden-towplanes "$hidden" --hidden-glider Discus >/dev/null
say
say "Demo installation: Condor 3 in $condor"
say "  (a Wine prefix of its own: WINEPREFIX=$prefix; pilot Demo_Pilot)"
say "  Planes:        $(listing "$condor/Planes")"
say "  Hidden_Planes: $(listing "$condor/Hidden_Planes")"
say "  Towplanes active: $active; hidden: $hidden; the others are gliders."
export VANTYR_BUILD="$bin" VANTYR_DEMO="$demo"

if [ -n "${DISPLAY:-}" ] && timeout 5 xdpyinfo >/dev/null 2>&1; then
  before_planes=$(listing "$condor/Planes")
  before_hidden=$(listing "$condor/Hidden_Planes")
  say "Running vantyr: its form opens on $DISPLAY. Tick and untick towplanes and press OK"
  say "(a box says what moved), or Cancel (nothing moves). Its trace goes to $out."
  # Waits for the user, however long they take; standard input stays the
  # terminal for a box that has to fall back to the console.
  (cd "$work" && WINEPREFIX="$prefix" exec "$bin/app/vantyr") >"$out" 2>&1 || true
  report_moves "$before_planes" "$before_hidden"
else
  if [ -n "${DISPLAY:-}" ]; then
    say "DISPLAY=$DISPLAY cannot be reached: the form is worked on an Xvfb display instead."
  fi
  unset DISPLAY
  timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" sh "$0" --scripted
fi
