#!/bin/sh
# The search for the simulator's Wine prefix without WINEPREFIX: a fake home
# folder with 40 Proton prefixes whose user.reg is about 4 MB each (as a
# Proton prefix's is) and the simulator in one more, in a second library.
# Times the whole discovery (the search, then finding the installation) with
# discovery_probe, best and median of 7 runs, warm file cache.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build="$here/../build"
probe="$build/linux/tests/simulator/discovery_probe"
maker="$build/linux/tools/condor_fixture/make_condor_install"
cmake --build "$build/linux" --target discovery_probe make_condor_install >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home="$work/home"
steam="$home/.local/share/Steam"
lib2="$work/disk2/SteamLibrary"
mkdir -p "$steam/steamapps" "$lib2"
printf '"libraryfolders"\n{\n\t"0"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n\t"1"\n\t{\n\t\t"path"\t\t"%s"\n\t}\n}\n' \
  "$steam" "$lib2" >"$steam/steamapps/libraryfolders.vdf"

# One big registry, copied into every prefix without the simulator.
awk 'BEGIN {
  print "WINE REGISTRY Version 2"
  for (i = 0; i < 40000; i++)
    printf "\n[Software\\\\Classes\\\\CLSID\\\\{%08d-0000-0000-0000-000000000000}] 1700000000\n#time=1d9f0e0c0a0b0c0\n@=\"Component number %d of the prefix\"\n\"ThreadingModel\"=\"Both\"\n", i, i
}' >"$work/user.reg"
size=$(wc -c <"$work/user.reg")
n=40
i=0
while [ $i -lt $n ]; do
  mkdir -p "$steam/steamapps/compatdata/$((1000 + i))/pfx"
  cp "$work/user.reg" "$steam/steamapps/compatdata/$((1000 + i))/pfx/user.reg"
  i=$((i + 1))
done
"$maker" --prefix "$lib2/steamapps/compatdata/2001/pfx" --user steamuser --condor 3 --towplanes DR400,PAWNEE >/dev/null

times=""
for run in 1 2 3 4 5 6 7; do
  start=$(date +%s%N)
  (cd "$work" && env -u WINEPREFIX HOME="$home" "$probe" >"$work/out.txt" 2>&1)
  end=$(date +%s%N)
  times="$times $(((end - start) / 1000000))"
done
grep -q "^found=3$" "$work/out.txt" || { echo "the probe did not find the simulator" >&2; cat "$work/out.txt" >&2; exit 1; }
sorted=$(echo $times | tr ' ' '\n' | sort -n)
best=$(echo "$sorted" | head -1)
median=$(echo "$sorted" | sed -n 4p)

echo "## Finding the Wine prefix"
echo
echo "$n Proton prefixes without the simulator (user.reg of $((size / 1000)) kB each) and one with it,"
echo "in a second Steam library; the whole discovery (search, then the installation) in one process:"
echo
echo "| runs | best | median |"
echo "|---|---|---|"
echo "| 7 | $best ms | $median ms |"
