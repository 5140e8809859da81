#!/usr/bin/env bash
# Builds zlib, libpng, libogg and libvorbis for the web with emscripten, from Debian's own source
# packages, each into a prefix of its own under the folder given (build-web/libraries). A prefix
# is kept while its source version, the compiler, this script and the libraries below it are the
# same, and built anew when any of them changes.
#   tools/web/libraries.sh FOLDER
set -euo pipefail
shopt -s inherit_errexit  # a failure inside $(...) fails the script too
cache=$(mkdir -p "$1" && cd "$1" && pwd)
recipe=$(sha256sum "$0" | cut -c1-16)
compiler=$(emcc -dumpversion)
jobs=$(nproc)

# apt reads the machine's own Debian suites as deb-src from a private list, with its lists and
# state kept here, so that the machine's package sources and lists stay as they are
apt=$cache/apt
aptoptions=(-qq -o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=-
  -o "Dir::State=$apt" -o "Dir::State::status=$apt/status" -o "Dir::Cache=$apt"
  -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
updatesources() {
  mkdir -p "$apt/lists/partial" "$apt/archives/partial"
  : >"$apt/status"
  # shellcheck disable=SC2016 # apt itself fills in the $(FIELD)s
  apt-get indextargets --format 'deb-src $(REPO_URI) $(RELEASE) $(COMPONENT)' \
    'Created-By: Packages' | sort -u >"$apt/sources.list"
  apt-get "${aptoptions[@]}" update
}

# the suites that carry the source package $1, as "version suite", newest first
suitesof() {
  apt-cache "${aptoptions[@]}" madison "$1" |
    awk -F ' [|] ' '{ split($3, site, " "); split(site[2], suite, "/"); print $2, suite[1] }' |
    sort -u | sort -k1,1Vr
}

# builds source package $1 with the function $2 into $cache/$1 unless the prefix there was built
# from the same things; $3... are the keys of the libraries it is built on. The newest source a
# suite offers is taken, and a suite whose sources the mirror does not serve (a security
# archive that carries only binaries) gives way to the next
library() {
  local package=$1 recipefunction=$2 prefix=$cache/$1 version suite tried=" "
  shift 2
  while read -r version suite; do
    [[ $tried == *" $suite "* ]] && continue
    tried+="$suite "
    local key="$package $version, emcc $compiler, recipe $recipe${*:+; on $*}"
    if [ "$(cat "$prefix/.key" 2>/dev/null)" = "$key" ]; then
      echo "$key"
      return
    fi
    local work=$cache/work/$package
    rm -rf "$work"
    mkdir -p "$work"
    (cd "$work" && apt-get "${aptoptions[@]}" source --download-only "$package/$suite") \
      >/dev/null 2>&1 || continue
    (cd "$work" && dpkg-source -x ./*.dsc source) >/dev/null 2>&1
    rm -rf "$prefix"  # what it held, or what an interrupted build left
    local started=$SECONDS
    (cd "$work/source" && "$recipefunction" "$prefix") >"$cache/$package.log" 2>&1 ||
      { tail -n 40 "$cache/$package.log" >&2; echo "cannot build $package $version" >&2; return 1; }
    rm -rf "$work"
    echo "$key" >"$prefix/.key"
    echo "built $package $version for the web in $((SECONDS - started)) s" >&2
    echo "$key"
    return
  done < <(suitesof "$package")
  echo "no source of $package could be fetched" >&2
  return 1
}

# each recipe runs inside the unpacked source, with the prefix to install into; its commands are
# chained, as errexit does not reach into a function called on the left of ||
buildzlib() {
  emconfigure ./configure --static --prefix="$1" && emmake make -j "$jobs" install
}

# libogg's CMake files find no 16-bit type under emscripten's size checks; its configure names no
# emscripten system, only the processor
buildogg() {
  emconfigure ./configure --host=wasm32 --prefix="$1" --disable-shared && emmake make -j "$jobs" install
}

# the emscripten toolchain roots CMake's search in its own folder: a library below is named as a
# root of its own
cmakebuild() {
  local prefix=$1
  shift
  emcmake cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" && cmake --build build -j "$jobs" --target install
}
buildpng() { cmakebuild "$1" -DCMAKE_FIND_ROOT_PATH="$cache/zlib" -DPNG_SHARED=OFF -DPNG_TESTS=OFF; }
buildvorbis() { cmakebuild "$1" -DCMAKE_FIND_ROOT_PATH="$cache/libogg"; }

updatesources
zlib=$(library zlib buildzlib)
library libpng1.6 buildpng "$zlib" >/dev/null
ogg=$(library libogg buildogg)
library libvorbis buildvorbis "$ogg" >/dev/null
rm -rf "$cache/work"
