#!/bin/sh
# Runs a program of the Windows build under Wine, quietly, in the project's
# test prefix (or the prefix the caller names in WINEPREFIX).
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=${VANTYR_WINEPREFIX:-$here/build/wine-prefix}}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
