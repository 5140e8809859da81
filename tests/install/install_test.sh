#!/usr/bin/env bash
# The engine and the programs as a user installs them: `cmake --install` into a temporary prefix;
# the menu entries, metainfo and icons; the installed program's command line, and its runs from an
# empty folder, with its artwork, from a prefix whose bin is a link, and with no artwork; menu
# starts sharing the player's folder; the installed viewer and demo, each finding its files; the
# engine guide's program built outside this tree through find_package and through pkg-config,
# against that install and against one configured with absolute library and header folders, then
# run without a window and in one under a private Xvfb.
#   install_test.sh SOURCE_DIR BUILD_DIR
source=$1 build=$2
source "$(dirname "$0")/common.sh"
prefix=$scratch/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/tavrel-setup bin/tavrel-viewer bin/tavrel-demo share/tavrel/font.bmp \
    share/tavrel/tvr.bmp share/tavrel/floor.bmp include/tavrel/engine.h include/tavrel/menu/menu.h \
    lib/libtavrel-engine.a lib/pkgconfig/tavrel-engine.pc \
    lib/cmake/TavrelEngine/TavrelEngineConfig.cmake share/man/man3/tavrel-engine.3.gz \
    share/doc/libtavrel-engine-dev/engine.md share/doc/libtavrel-engine-dev/reference.md; do
  [ -f "$prefix/$file" ] || fail "nothing installed at $file"
done
[ -z "$(find "$prefix/include" -path '*tests*' -o -path '*support*' -o -name 'imageload.h' \
    -o -name 'soundmix.h')" ] ||
  fail "headers that are not the engine's are installed"
desktopfilesvalid "$prefix" bin

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
for program in tavrel-setup tavrel-viewer tavrel-demo; do
  status=0
  "$prefix/bin/$program" "$scratch/nowhere" 2>"$scratch/err" || status=$?
  [ "$status" = 1 ] && grep -q "cannot open the folder $scratch/nowhere" "$scratch/err" ||
    fail "$program: a missing folder gave status $status: $(cat "$scratch/err")"
done
# the player's folder is made under XDG_DATA_HOME before any window (none can open here); one that
# cannot be made, or found without HOME, is refused
DISPLAY= XDG_DATA_HOME=$scratch/data "$prefix/bin/tavrel-setup" --player-folder 2>/dev/null || :
[ -d "$scratch/data/tavrel" ] || fail "no player's folder made under XDG_DATA_HOME"
touch "$scratch/file"
status=0
XDG_DATA_HOME=$scratch/file "$prefix/bin/tavrel-demo" --player-folder 2>"$scratch/err" || status=$?
[ "$status" = 1 ] && grep -q "cannot make the folder $scratch/file/tavrel" "$scratch/err" ||
  fail "an unmakeable player's folder gave status $status: $(cat "$scratch/err")"
{ env -u HOME -u XDG_DATA_HOME "$prefix/bin/tavrel-viewer" --player-folder 2>&1 || :; } |
  grep -q "HOME is not set" || fail "no HOME was not reported"
cd "$scratch"

startxserver

# started from an empty folder, it finds its installed artwork and saves where it was started
setupworks "$prefix/bin/tavrel-setup" "$scratch/empty"
[ "$(ls "$prefix/share/tavrel")" = "ambient.wav
floor.bmp
font.bmp
gem.wav
tvr.bmp" ] || fail "the data folder changed: $(ls "$prefix/share/tavrel")"

# given a game folder, it works there and leaves the folder it was started in alone
mkdir "$scratch/game-folder"
runsetup "$prefix/bin/tavrel-setup" "$scratch/arguments" "$scratch/game-folder"
[ -f "$scratch/game-folder/hwconfig.cfg" ] && [ -z "$(ls -A "$scratch/arguments")" ] ||
  fail "the game folder argument was not followed"
[ "$captions" = yes ] || fail "no captions drawn from the game folder"

# started as a desktop menu starts them, from elsewhere and with no XDG_DATA_HOME, the set-up
# utility stores in the player's folder under HOME, made for it, and the demo reads it there:
# its window takes the stored 800x600
player=$scratch/home/.local/share/tavrel
mkdir "$scratch/home"
(cd "$scratch/arguments" && HOME=$scratch/home exec env -u XDG_DATA_HOME \
  "$prefix/bin/tavrel-setup" --player-folder 2>"$scratch/menu.err") &
program=$!
waitforwindow "Tavrel Setup" >/dev/null || fail "no window from a menu start"
presskey 2
presskey Escape
wait "$program" || fail "a menu start ended with status $?; $(cat "$scratch/menu.err")"
[ -f "$player/hwconfig.cfg" ] && [ -z "$(ls -A "$scratch/arguments")" ] ||
  fail "a menu start did not store in $player"
[ "$(stat -c %a "$scratch/home/.local")" = 700 ] || fail "the player's folders are not the player's"
(cd "$scratch/arguments" && HOME=$scratch/home SDL_AUDIODRIVER=dummy exec env -u XDG_DATA_HOME \
  "$prefix/bin/tavrel-demo" --player-folder 2>"$scratch/demo.err") &
program=$!
window=$(waitforwindow "Tavrel Demo") || fail "no demo window; $(cat "$scratch/demo.err")"
xdotool getwindowgeometry "$window" | grep -q "Geometry: 800x600" ||
  fail "the demo did not follow the player's folder: $(xdotool getwindowgeometry "$window")"
presskey Escape
wait "$program" || fail "tavrel-demo ended with status $?; $(cat "$scratch/demo.err")"

# a prefix whose bin is a link to usr/bin, as / is on systems where /bin links to usr/bin: the
# program runs from usr/bin and still finds the artwork in the prefix's own share
linked=$scratch/linked
mkdir -p "$linked/usr/bin"
ln -s usr/bin "$linked/bin"
for component in programs data; do
  cmake --install "$build" --prefix "$linked" --component "$component" >/dev/null
done
setupworks "$linked/bin/tavrel-setup" "$scratch/fromlink"

# the engine and the programs configured with absolute library and header folders, as some
# distributions give them; built without tests or optimisation, since only the paths matter here
absolute=$scratch/absolute
cmake -S "$source" -B "$scratch/absolutebuild" -DTAVREL_TESTS=OFF -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_INSTALL_PREFIX="$absolute" -DCMAKE_INSTALL_LIBDIR="$absolute/lib64" \
  -DCMAKE_INSTALL_INCLUDEDIR="$absolute/headers" >/dev/null
cmake --build "$scratch/absolutebuild" -j 2 >/dev/null
cmake --install "$scratch/absolutebuild" >/dev/null

# with no artwork anywhere it says so in one line, runs and still saves; run from the install
# configured for this scratch folder, where no artwork installed on this machine can be found
mv "$absolute/share/tavrel" "$scratch/artwork"
mkdir "$scratch/bare"
runsetup "$absolute/bin/tavrel-setup" "$scratch/bare"
mv "$scratch/artwork" "$absolute/share/tavrel"
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

# the installed demo, started in an empty folder, finds the floor installed beside the artwork; its
# sound goes to SDL's silent driver, as the test machine has no sound card
mkdir "$scratch/played"
(cd "$scratch/played" && SDL_AUDIODRIVER=dummy exec "$prefix/bin/tavrel-demo" \
  2>"$scratch/demo.err") &
program=$!
waitforwindow "Tavrel Demo" >/dev/null || fail "no demo window; $(cat "$scratch/demo.err")"
presskey Escape
wait "$program" || fail "tavrel-demo ended with status $?; $(cat "$scratch/demo.err")"
[ ! -s "$scratch/demo.err" ] || fail "demo errors: $(cat "$scratch/demo.err")"

# the guide's programs, its CMakeLists and its pkg-config line, exactly as the installed examples
# hold them
guide=$source/docs/engine.md
examples=$prefix/share/doc/libtavrel-engine-dev/examples
# the guide's blocks fenced as ```$1; with a heading $2, only the first of them in its section
block() {
  awk -v fence="\`\`\`$1" -v heading="${2:+## $2}" '
    /^## / { inside = heading == "" || $0 == heading }
    heading == "" { inside = 1 }
    $0 == "```" && on { on = 0; if (heading != "") inside = 0 }
    on { print }
    inside && $0 == fence { on = 1 }' "$guide"
}
block cmake | cmp -s - "$examples/hello/CMakeLists.txt" || fail "the guide's CMakeLists is not hello's"
block cpp "A first program" | cmp -s - "$examples/hello/main.cpp" ||
  fail "the guide's first program is not the installed example"
block cpp "2-D drawing" | cmp -s - "$examples/shapes/main.cpp" ||
  fail "the guide's 2-D program is not the installed example"
pkgline=$(block sh | grep pkg-config)

# builds the installed hello example in a copy $1 against an install whose pkg-config file lies in
# $2, through find_package given the CMake options that follow (as $1/build/hello) and through
# pkg-config (as $1/hello); $1/game gets a picture and the font from the data folder, which the
# CMake package and pkg-config both name
buildhello() {
  local folder=$1 pkgconfigpath=$2 datadir
  shift 2
  mkdir -p "$folder/game"
  cp "$examples/hello/main.cpp" "$folder/"
  { cat "$examples/hello/CMakeLists.txt"
    echo 'file(WRITE ${CMAKE_BINARY_DIR}/datadir "${TavrelEngine_DATA_DIR}")'; } \
    >"$folder/CMakeLists.txt"
  cmake -S "$folder" -B "$folder/build" "$@" >/dev/null
  cmake --build "$folder/build" >/dev/null
  (cd "$folder" && export PKG_CONFIG_PATH="$pkgconfigpath" && eval "$pkgline")
  datadir=$(PKG_CONFIG_PATH="$pkgconfigpath" pkg-config --variable=datadir tavrel-engine)
  [ "$datadir" = "$(realpath -m "$datadir")" ] || fail "pkg-config names $datadir, not plainly"
  [ "$datadir" -ef "$(cat "$folder/build/datadir")" ] ||
    fail "pkg-config names the data folder $datadir, the CMake package" \
      "$(cat "$folder/build/datadir")"
  # the engine finds its font in the data folder of the prefix it was configured for, which is
  # not this scratch install's
  cp "$datadir/font.bmp" "$folder/game/" || fail "no font in the data folder $datadir"
  convert -size 64x32 xc:'rgb(32,128,255)' BMP3:"$folder/game/hello.bmp"
  # the player's choices as the set-up utility stores them, the file cut short after the
  # settings: version 4, 640x480, 16 bits, windowed, ..., the mouse unlocked, the interface on,
  # yellow interface text and high detail
  littleendian 4 280 1e0 10 0 1 1 1 1 1 3f800000 3f800000 0 0 >"$folder/game/hwconfig.cfg"
}

# the 32-bit words given in hexadecimal, little-endian
littleendian() {
  for word in "$@"; do
    word=$(printf '%08x' "0x$word")
    printf "\\x${word:6:2}\\x${word:4:2}\\x${word:2:2}\\x${word:0:2}"
  done
}

# runs the program $1 in game folder $2, without a window and in one
runhello() {
  cd "$2"
  [ "$(DISPLAY= "$1" --no-window)" = "hello.bmp: 64x32" ] || fail "$1 --no-window"
  "$1" 2>"$scratch/hello.err" &
  local program=$! window
  window=$(waitforwindow Hello) || fail "$1 opened no window; $(cat "$scratch/hello.err")"
  showspixel "$window" 320 270 32,128,255 || fail "$1 shows no picture"
  # the caption "Hello from Tavrel" in the stored yellow, in cells from y 40 to 56
  showsshare "$window" 640x16+0+40 0.01 -fx 'r > 0.5 && g > 0.5 && b < 0.2' ||
    fail "no yellow text"
  presskey Escape
  wait "$program" || fail "$1 ended with status $?"
}

buildhello "$scratch/hello" "$prefix/lib/pkgconfig" -DCMAKE_PREFIX_PATH="$prefix"
buildhello "$scratch/absolutehello" "$absolute/lib64/pkgconfig" \
  -DTavrelEngine_DIR="$absolute/lib64/cmake/TavrelEngine"
for folder in "$scratch/hello" "$scratch/absolutehello"; do
  runhello "$folder/build/hello" "$folder/game"
  runhello "$folder/hello" "$folder/game"
done

# the guide's 2-D program, built as installed and run in a folder with the font and no
# hwconfig.cfg, so in a 640x480 window
drawing=$scratch/drawing
mkdir -p "$drawing/game"
cmake -S "$examples/shapes" -B "$drawing/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$drawing/build" >/dev/null || fail "the 2-D program does not build"
cp "$scratch/hello/game/font.bmp" "$drawing/game/"
cd "$drawing/game"
SDL_AUDIODRIVER=dummy "$drawing/build/shapes" 2>"$scratch/drawing.err" &
program=$!
window=$(waitforwindow Shapes) || fail "no 2-D window; $(cat "$scratch/drawing.err")"
showspixel "$window" 120 80 255,0,0 || fail "no red rectangle"
# the blue square turned on its corner: its tips reach 90 pixels from (480, 360), its unturned
# corners stay black
showspixel "$window" 560 360 0,0,255 || fail "no turned square"
showspixel "$window" 536 416 0,0,0 || fail "the square is not turned"
showsshare "$window" 48x16+40+200 0.1 -fx 'r > 0.9 && g > 0.9 && b > 0.9' || fail "no white text"
presskey Escape
wait "$program" || fail "the 2-D program ended with status $?; $(cat "$scratch/drawing.err")"

# the example game, built as installed: its data beside the program, its ship in the middle, its
# pause menu by keys, and its own options saved as it quits
arena=$scratch/arena
mkdir -p "$arena/play"
cmake -S "$examples/arena" -B "$arena/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$arena/build" >/dev/null || fail "the example game does not build"
cp "$scratch/hello/game/font.bmp" "$arena/play/"
cd "$arena/play"
SDL_AUDIODRIVER=dummy "$arena/build/arena" 2>"$scratch/arena.err" &
program=$!
window=$(waitforwindow Arena) || fail "no arena window; $(cat "$scratch/arena.err")"
showsshare "$window" 32x32+304+224 0.05 -fx 'r + g + b > 0.6' || fail "no ship in the middle"
presskey Escape
presskey q  # the menu's Quit, which fades the music and the screen out for a second
wait "$program" || fail "the example game ended with status $?; $(cat "$scratch/arena.err")"
grep -q '^name = ' options.txt || fail "the example game saved no options"
[ ! -s "$scratch/arena.err" ] || fail "example game errors: $(cat "$scratch/arena.err")"
echo "install test passed"
