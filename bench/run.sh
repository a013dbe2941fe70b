#!/bin/sh
# Runs every benchmark of this folder (bench/bench_*.sh) in turn, on an Xvfb
# of its own when there is no DISPLAY, after building what they need. Each
# benchmark prints a Markdown section of the report on standard output; the
# report goes to standard output and to build/bench/report.md.
#   bench/run.sh            every benchmark
#   bench/run.sh NAME...    only bench/bench_NAME.sh
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../scripts/common.sh"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

install_packages
build_linux >/dev/null

mkdir -p "$build/bench"
report="$build/bench/report.md"
if [ $# -eq 0 ]; then
  set -- $(cd "$here" && ls bench_*.sh | sed 's/^bench_//; s/\.sh$//')
fi
{
  echo "# Benchmarks"
  echo
  echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'),"
  echo "$(uname -sr), run on $(date -u +%Y-%m-%d)."
  for name in "$@"; do
    echo
    sh "$here/bench_$name.sh"
  done
} | tee "$report"
