#!/bin/sh
# Installs what is missing, builds the Linux and the Windows build, and runs
# every test: unit tests, tests on a display (Xvfb), the fuzz tests and the
# Windows tests under Wine in one test run, then the unit and display tests
# again in the sanitizer build.
set -eu
. "$(dirname "$0")/common.sh"

install_packages
build_windows
build_linux
build_sanitize
prepare_wine_prefix

# Both test runs count: the main one, then the sanitizer build's.
status=0
(cd "$build/linux" && xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --output-on-failure -j "$jobs" "$@") || status=1
xvfb-run -a -s "-screen 0 1280x1024x24" \
  sh -c '. "$0"; run_sanitize_tests' "$root/scripts/common.sh" || status=1
exit $status
