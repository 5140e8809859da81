#!/usr/bin/env bash
# The engine and the program as a user installs them: `cmake --install` into a temporary prefix;
# the installed program's command line, and its runs from an empty folder with and without its
# artwork; the engine guide's program built outside this tree through find_package and through
# pkg-config, then run without a window and in one under a private Xvfb.
#   install_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$1 build=$2
scratch=$(mktemp -d /tmp/tavrel-install-XXXXXX)
prefix=$scratch/prefix
xserver=

cleanup() {
  [ -n "$xserver" ] && kill "$xserver" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Xvfb picks a free display itself and writes its number once it is ready
startxserver() {
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$scratch/display" \
    2>/dev/null &
  xserver=$!
  for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$scratch/display")"
}

# the id of the visible window titled exactly $1, once it is there
waitforwindow() {
  timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# the colour of window pixel ($2, $3) as "r,g,b"
pixel() {
  local at="p{$2,$3}"
  xwd -silent -id "$1" |
    convert xwd:- -format "%[fx:int(255*$at.r)],%[fx:int(255*$at.g)],%[fx:int(255*$at.b)]" info:
}

# true once window $1 shows pixel ($2, $3) in colour $4; a first frame can come late on a busy
# machine, so the window is looked at again for up to three seconds
showspixel() {
  for _ in $(seq 30); do
    [ "$(pixel "$1" "$2" "$3")" = "$4" ] && return 0
    sleep 0.1
  done
  echo "pixel ($2, $3) is $(pixel "$1" "$2" "$3"), not $4" >&2
  return 1
}

# true once more than a share $3 of the pixels of window $1 in the rectangle $2 (an ImageMagick
# geometry) come out white from the ImageMagick operators that follow, looking again for up to
# three seconds
showsshare() {
  local window=$1 rectangle=$2 least=$3 share
  shift 3
  for _ in $(seq 30); do
    share=$(xwd -silent -id "$window" | convert xwd:- -crop "$rectangle" +repage "$@" \
      -format '%[fx:mean]' info:)
    awk "BEGIN { exit !($share > $least) }" && return 0
    sleep 0.1
  done
  echo "only $share of $rectangle passes $*" >&2
  return 1
}

# a key held long enough for a frame to see it
presskey() {
  xdotool keydown "$1"
  sleep 0.2
  xdotool keyup "$1"
}

# runs the installed program in folder $1 until Escape; its standard error goes to $1.err, and
# captions says whether the window showed its captions
runsetup() {
  (cd "$1" && exec "$prefix/bin/tavrel-setup" 2>"$1.err") &
  local program=$! window
  window=$(waitforwindow "Tavrel Setup") || fail "no window; $(cat "$1.err")"
  captions=yes
  showsshare "$window" 640x480+0+0 0.005 -colorspace gray -threshold 50% 2>/dev/null ||
    captions=no
  presskey Escape
  wait "$program" || fail "tavrel-setup ended with status $?; $(cat "$1.err")"
}

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/tavrel-setup bin/tavrel-viewer share/tavrel/font.bmp share/tavrel/tvr.bmp \
    include/tavrel/engine.h include/tavrel/menu/menu.h lib/libtavrel-engine.a \
    lib/pkgconfig/tavrel-engine.pc \
    lib/cmake/TavrelEngine/TavrelEngineConfig.cmake; do
  [ -f "$prefix/$file" ] || fail "nothing installed at $file"
done
[ -z "$(find "$prefix/include" -path '*tests*' -o -path '*support*' -o -name 'imageload.h' \
    -o -name 'soundmix.h')" ] ||
  fail "headers that are not the engine's are installed"

# the command line is answered without a window and without touching hwconfig.cfg
mkdir "$scratch/arguments"
cd "$scratch/arguments"
"$prefix/bin/tavrel-setup" --version | grep -qx "tavrel-setup [0-9]*\.[0-9]*\.[0-9]*" ||
  fail "--version"
"$prefix/bin/tavrel-setup" --help | grep -q "hwconfig.cfg" || fail "--help names no hwconfig.cfg"
status=0
"$prefix/bin/tavrel-setup" --frobnicate >"$scratch/out" 2>"$scratch/err" || status=$?
[ "$status" = 2 ] && [ ! -s "$scratch/out" ] && grep -q "^usage:" "$scratch/err" ||
  fail "a bad argument gave status $status"
[ -z "$(ls -A)" ] || fail "the command line left files: $(ls -A)"
"$prefix/bin/tavrel-viewer" --version | grep -qx "tavrel-viewer [0-9]*\.[0-9]*\.[0-9]*" ||
  fail "viewer --version"
status=0
"$prefix/bin/tavrel-viewer" "$scratch/nowhere" 2>"$scratch/err" || status=$?
[ "$status" = 1 ] && grep -q "cannot open the folder $scratch/nowhere" "$scratch/err" ||
  fail "a missing folder gave status $status: $(cat "$scratch/err")"
cd "$scratch"

startxserver

# started from an empty folder, it finds its installed artwork and saves where it was started
mkdir "$scratch/empty"
runsetup "$scratch/empty"
[ "$(stat -c %s "$scratch/empty/hwconfig.cfg")" = 444 ] || fail "no hwconfig.cfg in the folder"
[ ! -s "$scratch/empty.err" ] || fail "errors: $(cat "$scratch/empty.err")"
[ "$captions" = yes ] || fail "the window is dark: no captions drawn"
[ "$(ls "$prefix/share/tavrel")" = "font.bmp
tvr.bmp" ] || fail "the data folder changed: $(ls "$prefix/share/tavrel")"

# with no artwork anywhere it says so in one line, runs and still saves
mv "$prefix/share/tavrel" "$scratch/artwork"
mkdir "$scratch/bare"
runsetup "$scratch/bare"
mv "$scratch/artwork" "$prefix/share/tavrel"
[ -f "$scratch/bare/hwconfig.cfg" ] || fail "nothing saved without artwork"
[ "$captions" = no ] || fail "captions drawn without a font"
[ "$(wc -l <"$scratch/bare.err")" = 1 ] && grep -q "cannot find font.bmp" "$scratch/bare.err" ||
  fail "want one line naming font.bmp, got: $(cat "$scratch/bare.err")"

# the installed viewer, given a game folder from elsewhere, finds the artwork and the textures
mkdir -p "$scratch/viewed/texture"
convert -size 64x32 xc:'rgb(32,128,255)' BMP3:"$scratch/viewed/texture/sky.bmp"
"$prefix/bin/tavrel-viewer" "$scratch/viewed" 2>"$scratch/viewer.err" &
program=$!
window=$(waitforwindow "Tavrel Viewer") || fail "no viewer window; $(cat "$scratch/viewer.err")"
sleep 0.3  # the list is read in the first frame
presskey Return  # loads the first file listed
showspixel "$window" 450 144 32,128,255 || fail "the viewer shows no picture"
presskey Escape
wait "$program" || fail "tavrel-viewer ended with status $?; $(cat "$scratch/viewer.err")"
[ ! -s "$scratch/viewer.err" ] || fail "viewer errors: $(cat "$scratch/viewer.err")"

# the guide's program, its CMakeLists and its pkg-config line, exactly as the guide shows them
guide=$source/docs/engine.md
block() {
  awk -v fence="\`\`\`$1" '$0 == "```" { on = 0 } on { print } $0 == fence { on = 1 }' "$guide"
}
mkdir -p "$scratch/hello"
block cmake >"$scratch/hello/CMakeLists.txt"
block cpp >"$scratch/hello/main.cpp"
pkgline=$(block sh | grep pkg-config)
cmake -S "$scratch/hello" -B "$scratch/hello/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/hello/build" >/dev/null
(cd "$scratch/hello" && export PKG_CONFIG_PATH="$prefix/lib/pkgconfig" && eval "$pkgline")

mkdir "$scratch/game"
convert -size 64x32 xc:'rgb(32,128,255)' BMP3:"$scratch/game/hello.bmp"
datadir=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --variable=datadir tavrel-engine)
cp "$datadir/font.bmp" "$scratch/game/"
for hello in "$scratch/hello/build/hello" "$scratch/hello/hello"; do
  cd "$scratch/game"
  [ "$(DISPLAY= "$hello" --no-window)" = "hello.bmp: 64x32" ] || fail "$hello --no-window"
  "$hello" 2>"$scratch/hello.err" &
  program=$!
  window=$(waitforwindow Hello) || fail "$hello opened no window; $(cat "$scratch/hello.err")"
  showspixel "$window" 320 300 32,128,255 || fail "$hello shows no picture"
  # the caption "Hello from Tavrel" in yellow cells from y 40 to 56
  showsshare "$window" 640x16+0+40 0.01 -fx 'r > 0.5 && g > 0.5 && b < 0.2' ||
    fail "no yellow text"
  presskey Escape
  wait "$program" || fail "$hello ended with status $?"
done
echo "install test passed"
