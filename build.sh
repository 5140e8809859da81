#!/usr/bin/env bash
# Sets up a Debian 12 machine for Tavrel Setup, builds it, and then plays or tests it.
#   ./build.sh play   build only the set-up utility and start it in build/ (its hwconfig.cfg is there)
#   ./build.sh test   run every test (unit, GL and end-to-end under Xvfb, sound through SDL's disk
#                     driver), the GL, end-to-end and sound tests again on sdl12-compat, the web
#                     build and its tests in headless Chromium, the tests that need no display
#                     built for s390x, arm64 and armhf (32-bit) and run under qemu, the unit tests
#                     again under the sanitizers, and each fuzz target for 40 seconds
#   ./build.sh web    build the programs as web pages into build-web/site/ with emscripten, after
#                     libpng, libvorbis and what they are built on (cached in build-web/libraries/),
#                     and play them in headless Chromium (ctest -L web)
set -euo pipefail
cd "$(dirname "$0")"

# what the program needs to build and run
playpackages=(
  build-essential cmake pkg-config            # the toolchain
  libsdl1.2-dev libgl-dev libgl1-mesa-dri     # the window, OpenGL and Mesa's software renderer
  libvorbis-dev                               # Ogg Vorbis sounds and music
  libpng-dev                                  # the PNG decoder
)
# what the tests add
testpackages=(
  libx11-dev xvfb xdotool x11-apps            # the tests' private X server, their input, xwd,
  x11-xkb-utils                               # and its keyboard layouts (setxkbmap)
  libgtest-dev libbenchmark-dev               # tests and benchmarks
  clang libclang-rt-14-dev                    # fuzz targets with the sanitizers
  libstb-dev imagemagick                      # an independent image decoder and image writer
  libsdl-image1.2-dev libsdl-mixer1.2-dev     # the libraries the benchmarks measure against
  libsdl1.2-compat                            # SDL 1.2 over SDL2, as newer distributions ship it
  vorbis-tools                                # Ogg Vorbis files made and decoded for the sound tests
  weston                                      # a Wayland session, nested in the private Xvfb
  openbox                                     # a window manager that minimises, for F12
  file lintian groff-base devscripts          # Debian packages made and checked (hardening-check);
                                              # man pages checked
  g++-s390x-linux-gnu g++-aarch64-linux-gnu   # cross compilers for a big-endian, an arm64 and a
  g++-arm-linux-gnueabihf                     # 32-bit build
  qemu-user-static                            # that run their tests, named as the emulator
  desktop-file-utils appstream                # menu entries and metainfo validated
)

# what the web build adds: Debian's emscripten, and for its tests headless Chromium driven over
# the DevTools protocol from Python
webpackages=(
  emscripten cmake pkg-config make            # the compiler and the build tools it is driven by
  dpkg-dev                                    # dpkg-source, which unpacks the libraries' sources
  chromium python3-websocket                  # the browser and the driver's connection to it
)

installpackages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local asroot=()
  [ "$(id -u)" -eq 0 ] || asroot=(sudo)
  "${asroot[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${asroot[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

# configures build/ with or without the tests, then builds the given targets (all without any)
build() {
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_TESTS="$1"
  cmake --build build -j "$(nproc)" ${2:+--target "$2"}
}

# the GL, end-to-end and sound tests again on sdl12-compat, which the programs load in place of
# SDL 1.2
compatruntime() (
  library=$(dpkg -L libsdl1.2-compat | grep '/libSDL-1.2.so.0$')
  export LD_LIBRARY_PATH="$(dirname "$library")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
  # a run that quietly fell back to SDL 1.2 itself would prove nothing; grep reads all of ldd's
  # output, since ldd writes line by line and one that grep -q left early dies of SIGPIPE
  ldd build/tavrel-setup | grep -F "$library" >/dev/null ||
    { echo "sdl12-compat is not loaded" >&2; exit 1; }
  cd build && ctest --output-on-failure -j "$(nproc)" -L 'gl|e2e|sound'
)

# the tests that need no display (unit and sound), again with AddressSanitizer and
# UndefinedBehaviorSanitizer, so that a read or write past a buffer fails a test even when the
# result looks right
sanitized() {
  cmake -S . -B build-sanitize -DTAVREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build-sanitize -j "$(nproc)"
  (cd build-sanitize && ctest --output-on-failure -j "$(nproc)" -L 'unit|sound')
}

# the target's Debian packages that a cross build needs, unpacked into a private root: the
# machine's own package sources read for the other architecture, apt's state kept in the root, so
# that the machine's own package set and architectures stay as they are
crossroot() {
  local arch=$1 root=$2 apt=$2/.apt
  local packages=(libsdl1.2-dev libgl-dev libpng-dev libvorbis-dev libgtest-dev libstb-dev)
  # the marker names what was unpacked, so that a root made before a package joined is made anew
  [ "$(cat "$root/.unpacked" 2>/dev/null)" = "${packages[*]}" ] && return
  rm -rf "$root"  # what an interrupted run left, which may hold older packages
  mkdir -p "$apt/lists/partial" "$apt/archives/partial"
  : >"$apt/status"
  local options=(-qq -o "APT::Architecture=$arch" -o "APT::Architectures=$arch"
    -o "Dir::State=$apt" -o "Dir::State::status=$apt/status" -o "Dir::Cache=$apt"
    -o Debug::NoLocking=1 -o APT::Install-Recommends=0)
  apt-get "${options[@]}" update
  apt-get "${options[@]}" -y --download-only install "${packages[@]}"
  for package in "$apt"/archives/*.deb; do dpkg-deb -x "$package" "$root"; done
  echo "${packages[*]}" >"$root/.unpacked"
}

# the engine and the tests that need no display built for another Debian architecture by its
# cross compiler, and run under qemu-user: a big-endian machine reads and writes every file
# format as a little-endian one does
crossbuild() {
  local arch=$1 triplet=$2 folder=build-$1
  crossroot "$arch" "$PWD/$folder/root"
  cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE=cmake/cross.cmake -DTAVREL_TARGET="$triplet" \
    -DTAVREL_SYSROOT="$PWD/$folder/root" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$folder" -j "$(nproc)"
  # the cross compiler looks in the host's /usr/include last: a header missing from the root would
  # be taken from there, for the wrong machine
  if grep -rl --include='*.o.d' '[ :]/usr/include/' "$folder"; then
    echo "the $arch build read the host's headers (above)" >&2
    return 1
  fi
  (cd "$folder" && ctest --output-on-failure -j "$(nproc)")
}

# builds the fuzz targets with clang and runs each for the given seconds from its seed corpus;
# any finding (crash, sanitizer report, leak, time-out) fails the command and shows the log
fuzz() {
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTAVREL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build-fuzz -j "$(nproc)"
  for name in bmp tga png wav ogg config options textentry textformat padmapping; do
    local corpus="build-fuzz/corpus/$name" log="build-fuzz/$name.log"
    mkdir -p "$corpus"
    # libvorbisfile 1.3.7 itself keeps 8 bytes of some streams it refuses to open
    if ! LSAN_OPTIONS=suppressions=tests/fuzz/leaks.supp \
        "build-fuzz/tests/fuzz/${name}_fuzz" -max_total_time="$1" -artifact_prefix=build-fuzz/ \
        "$corpus" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
      tail -n 60 "$log"
      echo "fuzz ${name}_fuzz: finding above; the input is in build-fuzz/" >&2
      return 1
    fi
    echo "fuzz ${name}_fuzz: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log"), no findings"
  done
}

# the libraries, built from Debian's sources for the web; the programs' pages into build-web/site/,
# then the browser tests: the driver's on a page of its own, and the pages played. emcc's own
# JavaScript finds its modules (acorn) in Debian's folder, which a Node.js not from Debian does
# not search
webbuild() (
  export NODE_PATH=/usr/share/nodejs
  tools/web/libraries.sh build-web/libraries
  emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release
  cmake --build build-web -j "$(nproc)"
  cd build-web && ctest --output-on-failure -L web
)

case "${1:-}" in
  play)
    installpackages "${playpackages[@]}"
    build OFF tavrel-setup
    cd build
    exec ./tavrel-setup
    ;;
  test)
    installpackages "${playpackages[@]}" "${testpackages[@]}" "${webpackages[@]}"
    build ON
    (cd build && ctest --output-on-failure -j "$(nproc)")
    compatruntime
    webbuild
    crossbuild s390x s390x-linux-gnu
    crossbuild arm64 aarch64-linux-gnu
    crossbuild armhf arm-linux-gnueabihf
    sanitized
    fuzz 40
    ;;
  web)
    installpackages "${webpackages[@]}"
    webbuild
    ;;
  *)
    echo "usage: $0 play | test | web" >&2
    exit 2
    ;;
esac
