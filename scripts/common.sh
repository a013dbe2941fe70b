# Shared steps of the README's commands: installing what is missing,
# building both builds, and preparing the Wine prefix of the Windows tests.
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=$(nproc 2>/dev/null || echo 2)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages of scripts/packages.txt that are missing.
install_packages() {
  missing=""
  for p in $(grep -v '^#' "$root/scripts/packages.txt"); do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing="$missing $p"
  done
  if [ -n "$missing" ]; then
    echo "Installing:$missing"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
  fi
}

configure_linux() {
  cmake -S "$root" -B "$build/linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTYR_WINDOWS_BUILD_DIR="$build/windows" "$@"
}

build_linux() {
  configure_linux "$@"
  cmake --build "$build/linux" -j "$jobs"
}

# The sanitizer build: the Linux program with its unit and display tests
# under AddressSanitizer and UndefinedBehaviorSanitizer (gcc), any finding
# fatal; no Windows tests, no fuzz tests.
# (gcc warns of maybe-uninitialized values inside libstdc++ under the
# sanitizers, wrongly: that warning is off here.)
sanitize_flags="-O1 -g -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -Wno-maybe-uninitialized"
build_sanitize() {
  cmake -S "$root" -B "$build/sanitize" -DCMAKE_BUILD_TYPE=Sanitize \
    -DCMAKE_C_FLAGS_SANITIZE="$sanitize_flags" -DCMAKE_CXX_FLAGS_SANITIZE="$sanitize_flags" \
    -DCMAKE_EXE_LINKER_FLAGS_SANITIZE="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS_SANITIZE="-fsanitize=address,undefined" \
    -DVANTYR_FUZZ=OFF "$@"
  cmake --build "$build/sanitize" -j "$jobs"
}

# Runs the sanitizer build's tests on the display of the caller (xvfb-run):
# unit tests with leak detection, display tests without it (Mesa and Xlib
# keep memory for the life of the process).
run_sanitize_tests() {
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  ok=0
  (cd "$build/sanitize" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$jobs" -L unit) || ok=1
  (cd "$build/sanitize" && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j "$jobs" -L display) || ok=1
  return $ok
}

# FreeType for the Windows build: Debian's source package, from the archive
# the system's apt sources name (as deb-src), fetched once into build/.
fetch_freetype_source() {
  dest="$build/freetype-src"
  for d in "$dest"/freetype-*/; do
    [ -f "$d/CMakeLists.txt" ] && { freetype_source=${d%/}; return 0; }
  done
  apt="$build/apt"
  rm -rf "$dest" "$apt"
  mkdir -p "$apt/parts" "$apt/lists/partial" "$apt/cache" "$dest"
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$apt/parts/debian-src.sources"
  opts="-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt/parts"
  opts="$opts -o Dir::State::Lists=$apt/lists -o Dir::Cache=$apt/cache"
  apt-get $opts -qq update
  (cd "$dest" && apt-get $opts -qq source freetype 2>&1 | grep -v '^W: Download is performed unsandboxed') || true
  for d in "$dest"/freetype-*/; do
    [ -f "$d/CMakeLists.txt" ] && { freetype_source=${d%/}; return 0; }
  done
  echo "FreeType source package could not be fetched" >&2
  return 1
}

build_windows() {
  fetch_freetype_source
  cmake -S "$root" -B "$build/windows" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DVANTYR_FREETYPE_SOURCE="$freetype_source" "$@"
  cmake --build "$build/windows" -j "$jobs"
}

# A Wine prefix for the Windows tests, made once per build folder, with the
# Liberation fonts in place of Arial and Courier New.
prepare_wine_prefix() {
  prefix="$build/wine-prefix"
  if [ ! -f "$prefix/.vantyr-ready" ]; then
    rm -rf "$prefix"
    WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      xvfb-run -a wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -w || true
    fonts="$prefix/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$fonts/arial.ttf"
    cp /usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf "$fonts/cour.ttf"
    touch "$prefix/.vantyr-ready"
  fi
  export VANTYR_WINEPREFIX="$prefix"
}
