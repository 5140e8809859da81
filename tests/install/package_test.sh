#!/usr/bin/env bash
# The Debian packages as a user gets them: a build configured for Debian's layout packed by
# `cpack -G DEB`; lintian finds neither an error nor a warning in any of the three packages, nor
# a program without the hardening a distribution expects; the programs' dependencies come from
# the libraries they link, and both the programs and the development files depend on the
# artwork's package; every file the installed documents name is in a package; the set-up
# utility's package carries the menu entries, metainfo and icons; and the set-up utility
# unpacked from the packages runs from an empty folder under a private Xvfb, finds its artwork in
# share/games and saves there.
#   package_test.sh SOURCE_DIR
source=$1
source "$(dirname "$0")/common.sh"

# built without tests, optimised as a release is, since the hardening is checked too
cmake -S "$source" -B "$scratch/build" -DTAVREL_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games >/dev/null
cmake --build "$scratch/build" -j 2 >/dev/null
(cd "$scratch/build" && cpack -G DEB -B "$scratch/packages" >"$scratch/cpack.log") ||
  fail "cpack: $(cat "$scratch/cpack.log")"
setup=$(echo "$scratch"/packages/tavrel-setup_*.deb)
development=$(echo "$scratch"/packages/libtavrel-engine-dev_*.deb)
data=$(echo "$scratch"/packages/tavrel-data_*_all.deb)
[ -f "$setup" ] && [ -f "$development" ] && [ -f "$data" ] ||
  fail "packages made: $(ls "$scratch/packages")"

lintian --fail-on error,warning "$setup" "$development" "$data" || fail "lintian's findings above"
hardening=$(lintian --pedantic -I "$setup" "$development" | grep hardening || :)
[ -z "$hardening" ] || fail "lintian finds the programs unhardened: $hardening"
dpkg-deb -f "$setup" Depends | grep -q 'libsdl1\.2' ||
  fail "the dependencies were not read from the linked libraries: $(dpkg-deb -f "$setup" Depends)"
# the artwork reaches the programs and a game whatever else is installed
for package in "$setup" "$development"; do
  dpkg-deb -f "$package" Depends | grep -q 'tavrel-data (= ' ||
    fail "$(basename "$package") does not depend on tavrel-data"
done

for package in "$setup" "$data" "$development"; do
  dpkg-deb -x "$package" "$scratch/unpacked"
done
# every file and folder of the engine's that the installed documents name is in the packages, and
# every example the guide names
named=$( (zcat "$scratch"/unpacked/usr/share/man/man*/tavrel*.gz
          cat "$scratch"/unpacked/usr/share/doc/libtavrel-engine-dev/*.md) |
        grep -o '/usr/[A-Za-z0-9_./+-]*tavrel[A-Za-z0-9_./+-]*' | sed 's/[.,]*$//' | sort -u)
examples=$(grep -o 'example `[a-z]*`\|`arena`' "$scratch"/unpacked/usr/share/doc/*/engine.md |
           grep -o '`[a-z]*`' | tr -d '`' | sort -u)
for path in $named $(printf '/usr/share/doc/libtavrel-engine-dev/examples/%s/CMakeLists.txt\n' \
                       $examples); do
  [ -e "$scratch/unpacked$path" ] || fail "the documents name $path, which no package holds"
done
for program in "$scratch"/unpacked/usr/games/*; do
  # control-flow marking needs start-up files that have it, which Debian's do not
  hardening-check --nocfprotection "$program" >"$scratch/hardening" ||
    fail "$(cat "$scratch/hardening")"
done
grep -q '_FORTIFY_SOURCE=3' "$scratch/build/CMakeFiles/engine.dir/flags.make" ||
  fail "the C library calls are not fortified at the level Debian 12 takes"
# a compiler that defines a level of its own, as some distributions' do, keeps it: a second
# definition would be warned of in every file
printf '#!/bin/sh\nexec c++ -D_FORTIFY_SOURCE=3 "$@"\n' >"$scratch/fortifying-c++"
chmod +x "$scratch/fortifying-c++"
CXX="$scratch/fortifying-c++" cmake -S "$source" -B "$scratch/fortifying" -DTAVREL_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
make -C "$scratch/fortifying" platform/window.cpp.o >"$scratch/fortifying.log" 2>&1 ||
  fail "$(cat "$scratch/fortifying.log")"
! grep -i 'warning' "$scratch/fortifying.log" || fail "a second fortify level was defined"
[ -f "$scratch/unpacked/usr/share/games/tavrel/font.bmp" ] ||
  fail "the artwork is not where Debian keeps a game's data"
desktopfilesvalid "$scratch/unpacked/usr" games
startxserver
setupworks "$scratch/unpacked/usr/games/tavrel-setup" "$scratch/empty"
echo "package test passed"
