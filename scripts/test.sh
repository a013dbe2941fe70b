#!/bin/sh
# Installs what is missing, builds the Linux and the Windows build, and runs
# every test: unit tests, tests on a display (Xvfb) and the Windows tests
# under Wine, in one test run.
set -eu
. "$(dirname "$0")/common.sh"

install_packages
build_windows
build_linux
prepare_wine_prefix

cd "$build/linux"
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure -j "$jobs" "$@"
