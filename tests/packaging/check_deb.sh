#!/bin/bash
# Checks the Debian package as a player's machine would take it:
#   check_deb.sh DEB VERSION MAKE_CONDOR_INSTALL EXPECTED_CONTENTS
#
# Its fields and dependencies (dpkg-deb --info), its files, modes and links
# (dpkg-deb --contents against EXPECTED_CONTENTS), its menu entry; then the
# unpacked tree (dpkg-deb -x) run by a user who cannot write to it, on a
# generated installation in that user's home: `vantyr` on the PATH without a
# display, and the menu's wrapper on an Xvfb of the user's own, its form
# driven with xdotool (one towplane unticked, OK). Last, apt resolves the
# dependencies on a machine with nothing installed (apt-get -s, from the
# package lists alone; exit 77, a skip, when there are none).
#
# As root the runs are made as "nobody" (root writes through permissions);
# as another user, as that user with the unpacked tree made read-only.
set -u

deb=$1 version=$2 make_install=$3 expected_contents=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
step() { echo "--- $*"; }

[ -f "$deb" ] || fail "$deb is missing: build the target deb"

work=$(mktemp -d /tmp/vantyr-deb.XXXXXX) || fail "no scratch folder"
chmod 755 "$work"
xvfb_pid="" vantyr_pid=""
cleanup() {
  [ -n "$vantyr_pid" ] && kill "$vantyr_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

step "dpkg-deb --info"
timeout 20 dpkg-deb --info "$deb" || fail "dpkg-deb --info failed"
field() { timeout 20 dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = vantyr ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ "$(basename "$deb")" = "vantyr_${version}_$(dpkg --print-architecture).deb" ] || fail "file name $(basename "$deb")"
depends=$(field Depends)
# The libraries the programs link, and what they run or read.
for p in libc6 libstdc++6 libx11-6 libglx0 libopengl0 libglu1-mesa libfreetype6 libfontconfig1 fonts-liberation zenity; do
  [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] || fail "Depends lacks $p: $depends"
done

step "dpkg-deb --contents"
# Mode, owner and name (with a link's target) of every entry, in name order.
timeout 20 dpkg-deb --contents "$deb" | awk '{ $3 = ""; $4 = ""; $5 = ""; print }' | tr -s " " | LC_ALL=C sort -k3 >"$work/contents"
if ! diff -u "$expected_contents" "$work/contents"; then
  fail "the package's files differ from $expected_contents"
fi

step "unpack"
root=$work/root
timeout 30 dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
desktop=$root/usr/share/applications/vantyr.desktop
if command -v desktop-file-validate >/dev/null; then
  timeout 10 desktop-file-validate "$desktop" || fail "the menu entry does not validate"
else
  fail "desktop-file-validate is missing (Debian package desktop-file-utils)"
fi
grep -qx 'Exec=/opt/vantyr/vantyr-menu' "$desktop" || fail "the menu entry does not start the wrapper"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$wm_class" ] || fail "the menu entry has no StartupWMClass"
zcat "$root/usr/share/doc/vantyr/changelog.gz" | head -n 1 | grep -q "^vantyr ($version) " ||
  fail "the changelog's first entry is not version $version"

# The user who runs the program, and a home of that user's own.
if [ "$(id -u)" = 0 ]; then
  user=nobody
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  give() { chown -R 65534:65534 "$@"; }
else
  user=$(id -un)
  as_user=()
  give() { :; }
  chmod -R a-w "$root"  # as an installation owned by root would be
fi
home=$work/home
state=$home/.local/state/vantyr
mkdir -p "$home/run"
timeout 30 "$make_install" --prefix "$home/.wine" --user "$user" \
  --condor 3 --towplanes DR400,PAWNEE --hidden-towplane WILGA >/dev/null || fail "make_condor_install failed"
give "$home"
planes=$home/.wine/drive_c/Condor3/Planes
hidden=$home/.wine/drive_c/Condor3/Hidden_Planes
(cd "$root" && find . | sort) >"$work/tree-before"
run_env=(env -i "HOME=$home" "USER=$user" "PATH=$root/usr/bin:/usr/bin:/bin" VANTYR_DIALOGS=console)

step "vantyr on the PATH, without a display"
out=$(cd "$home/run" && "${as_user[@]}" "${run_env[@]}" timeout 60 vantyr </dev/null 2>&1) || fail "vantyr failed: $out"
echo "$out" | tail -n 20
# Started through its link, it finds its form beside the real file; its
# folder is read-only, so the listing file goes to the current folder.
[[ $out != *"ERROR OPENING"* ]] || fail "vantyr did not find its form"
[[ $out == *"the listing file goes to the current folder: Z:${home//\//\\}\\run\\Vantyr_planes_list.txt"* ]] ||
  fail "no trace of the listing file in the current folder"
[[ $out == *"npln NForm NFound NAct 3 3 3 2 1"* ]] || fail "the towplanes were not all located"
[[ $out == *"frm_do_form : 0"* ]] || fail "the run did not reach the form"

step "the menu's wrapper on an Xvfb of the user's own"
"${as_user[@]}" Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")
unset XAUTHORITY
"${as_user[@]}" "${run_env[@]}" "DISPLAY=$DISPLAY" timeout 60 "$root/opt/vantyr/vantyr-menu" </dev/null &
vantyr_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vantyr$' | head -n 1)
[ -n "$win" ] || fail "no form window; the program wrote: $(cat "$state/Console.txt" 2>/dev/null)"
class=$(timeout 10 xprop -id "$win" WM_CLASS)
echo "$class"
[[ $class == *"\"$wm_class\""* ]] || fail "the window's $class does not hold the menu entry's StartupWMClass $wm_class"
eval "$(timeout 10 xdotool getwindowgeometry --shell "$win")"
# The form is drawn when its bottom-left pixel has the form's grey (240).
drawn=""
for _ in $(seq 50); do
  pixel=$(timeout 10 import -window "$win" -crop "1x1+0+$((HEIGHT - 1))" -depth 8 txt:- 2>/dev/null | tail -n 1)
  [[ $pixel =~ \((239|240|241),(239|240|241),(239|240|241)\) ]] && { drawn=1; break; }
  sleep 0.2
done
[ -n "$drawn" ] || fail "the form was never drawn ($pixel)"
# Tick boxes 8 to a column from (20, 238) down in steps of 24, y upwards
# from the window's bottom: the towplanes are WILGA, PAWNEE, DR400. OK is a
# button centred at a quarter of the width, at y 10.
click() { timeout 10 xdotool mousemove $((X + $1)) $((Y + HEIGHT - $2)) click 1 || fail "xdotool failed"; sleep 0.3; }
click 27 221                   # PAWNEE off
click $((WIDTH / 4)) 17        # OK
wait "$vantyr_pid" || fail "the wrapper's run ended with $?; the program wrote: $(cat "$state/Console.txt")"
vantyr_pid=""
console=$(cat "$state/Console.txt")
echo "$console" | tail -n 12
[ -d "$hidden/PAWNEE" ] && [ ! -e "$planes/PAWNEE" ] || fail "PAWNEE was not moved to Hidden_Planes"
[ -d "$planes/DR400" ] && [ -d "$hidden/WILGA" ] || fail "a towplane that was not changed moved"
[[ $console == *" PAWNEE: DEACTIVATED"* ]] || fail "no summary of the move"
[[ $console == *"the listing file goes to the current folder: Z:${state//\//\\}\\Vantyr_planes_list.txt"* ]] ||
  fail "no trace of the listing file in the wrapper's folder"
left=$(cd "$state" && ls -A | tr '\n' ' ')
[ "$left" = "Console.txt Logfile.txt frm_forms.log " ] || fail "the wrapper's folder holds: $left"
(cd "$root" && find . | sort) >"$work/tree-after"
diff -u "$work/tree-before" "$work/tree-after" || fail "the program wrote into the unpacked tree"

step "apt-get -s install on a machine with nothing installed"
if ! compgen -G "/var/lib/apt/lists/*_Packages*" >/dev/null; then
  echo "SKIPPED: no package lists under /var/lib/apt/lists (apt-get update makes them)"
  exit 77
fi
apt_out=$(timeout 60 apt-get -s -o Dir::State::status=/dev/null install "$deb" 2>&1) ||
  fail "apt-get -s install failed: $apt_out"
for p in vantyr zenity fonts-liberation libglx0 libglx-mesa0 libgl1-mesa-dri libx11-6; do
  grep -q "^Inst $p " <<<"$apt_out" || fail "apt-get -s installs no $p: $apt_out"
done
grep "^Inst vantyr " <<<"$apt_out"
echo "apt-get -s: $(grep -c '^Inst ' <<<"$apt_out") packages to install on an empty machine"
echo "PASS"
