# Shared by the install and package tests (sourced): a scratch folder removed at exit, a private
# Xvfb, and the set-up utility run in it, looked at and closed as a player would.
set -euo pipefail
scratch=$(mktemp -d /tmp/tavrel-install-XXXXXX)
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

# runs program $1 in folder $2, with the arguments that follow, until Escape; its standard error
# goes to $2.err, and captions says whether the window showed its captions
runsetup() {
  (cd "$2" && exec "$1" "${@:3}" 2>"$2.err") &
  local program=$! window
  window=$(waitforwindow "Tavrel Setup") || fail "no window from $1; $(cat "$2.err")"
  captions=yes
  showsshare "$window" 640x480+0+0 0.005 -colorspace gray -threshold 50% 2>/dev/null ||
    captions=no
  presskey Escape
  wait "$program" || fail "$1 ended with status $?; $(cat "$2.err")"
}

# runs program $1 in the new, empty folder $2, and fails unless it found its font (its captions
# show), said nothing on standard error and saved a whole hwconfig.cfg there
setupworks() {
  mkdir "$2"
  runsetup "$1" "$2"
  [ "$(stat -c %s "$2/hwconfig.cfg" 2>/dev/null)" = 444 ] || fail "$1 saved no hwconfig.cfg in $2"
  [ ! -s "$2.err" ] || fail "$1: $(cat "$2.err")"
  [ "$captions" = yes ] || fail "$1 drew no captions: its font was not found"
}

# the menu entries and the metainfo installed under prefix $1 validate, and name what is installed
# there: each entry's program (in the prefix's folder $2) and its icon in every size of the icon
# theme, each metainfo's menu entry and, as its newest release, the version the programs report
desktopfilesvalid() {
  local share=$1/share bin=$1/$2 id entry metainfo program icon folder version
  version=$("$bin/tavrel-setup" --version | cut -d ' ' -f 2)
  for id in org.tavrel.Setup org.tavrel.Demo; do
    entry=$share/applications/$id.desktop metainfo=$share/metainfo/$id.metainfo.xml
    [ -f "$entry" ] && [ -f "$metainfo" ] || fail "no menu entry or metainfo for $id"
    [ -z "$(desktop-file-validate "$entry" 2>&1)" ] || fail "$(desktop-file-validate "$entry" 2>&1)"
    appstreamcli validate --no-net --strict "$metainfo" >"$scratch/appstream" 2>&1 ||
      fail "$(cat "$scratch/appstream")"
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$bin/$program" ] || fail "$id starts $program, which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    for folder in "$share"/icons/hicolor/*/apps; do
      [ -n "$(find "$folder" -name "$icon.png" -o -name "$icon.svg")" ] ||
        fail "$id names the icon $icon, which $folder lacks"
    done
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable $icon"
    grep -q "<launchable type=\"desktop-id\">$id.desktop<" "$metainfo" ||
      fail "$id's metainfo does not launch its menu entry"
    grep -m 1 '<release ' "$metainfo" | grep -q "version=\"$version\"" ||
      fail "$id's metainfo does not name $version as its newest release"
  done
}
