#!/usr/bin/env bash
# The Debian packages as a user gets them: a build configured for Debian's layout packed by
# `cpack -G DEB`; lintian finds neither an error nor a warning in either package; the programs'
# dependencies come from the libraries they link; the set-up utility's package carries the menu
# entries, metainfo and icons; and the set-up utility unpacked from its package runs from an empty
# folder under a private Xvfb, finds its artwork and saves there.
#   package_test.sh SOURCE_DIR
source=$1
source "$(dirname "$0")/common.sh"

# built without tests or optimisation: the packing, not the speed, is under test
cmake -S "$source" -B "$scratch/build" -DTAVREL_TESTS=OFF -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games >/dev/null
cmake --build "$scratch/build" -j 2 >/dev/null
(cd "$scratch/build" && cpack -G DEB -B "$scratch/packages" >"$scratch/cpack.log") ||
  fail "cpack: $(cat "$scratch/cpack.log")"
setup=$(echo "$scratch"/packages/tavrel-setup_*.deb)
development=$(echo "$scratch"/packages/libtavrel-engine-dev_*.deb)
[ -f "$setup" ] && [ -f "$development" ] || fail "packages made: $(ls "$scratch/packages")"

lintian --fail-on error,warning "$setup" "$development" || fail "lintian's findings above"
dpkg-deb -f "$setup" Depends | grep -q 'libsdl1\.2' ||
  fail "the dependencies were not read from the linked libraries: $(dpkg-deb -f "$setup" Depends)"

dpkg-deb -x "$setup" "$scratch/unpacked"
desktopfilesvalid "$scratch/unpacked/usr" games
startxserver
setupworks "$scratch/unpacked/usr/games/tavrel-setup" "$scratch/empty"
echo "package test passed"
