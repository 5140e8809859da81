#!/usr/bin/env bash
# The manual pages: free of groff's warnings, the programs' naming exactly the options that each
# program's --help names, so that neither can gain or lose an option alone.
#   manpages_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$1 build=$2
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# the terms of the "Options:" block of --help, one a line ("-h, --help" gives two); a term's text
# follows it after two spaces, and deeper indented lines carry the text on
helpoptions() {
  "$1" --help |
    awk '/^Options:/ { on = 1; next } on && !/^ / { on = 0 } on && /^  [^ ]/ { print }' |
    sed -e 's/^  //' -e 's/  .*//' | tr ',' '\n' | tr -d ' ' | sort
}

# the tags of the OPTIONS section of page $1, without their font macros, quotes and escapes
pageoptions() {
  awk '/^\.SH/ { on = $2 == "OPTIONS"; next }
       on && tag { print; tag = 0 }
       on && /^\.TP/ { tag = 1 }' "$1" |
    sed -e 's/^\.[A-Z]* //' -e 's/\\-/-/g' -e 's/"//g' | tr ',' '\n' | tr -d ' ' | sort
}

for program in tavrel-setup tavrel-viewer tavrel-demo; do
  page=$source/docs/man/$program.6
  warnings=$(groff -man -ww -z "$page" 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
  help=$(helpoptions "$build/$program")
  [ -n "$help" ] || fail "$program --help has no Options block"
  [ "$help" = "$(pageoptions "$page")" ] ||
    fail "$program: --help and the page differ in options:
$(diff <(echo "$help") <(pageoptions "$page") | grep '^[<>]' |
      sed 's/^</ only in --help:/; s/^>/ only in the page:/')"
done
warnings=$(groff -man -ww -z "$source/docs/man/tavrel-engine.3" 2>&1)
[ -z "$warnings" ] || fail "tavrel-engine.3: $warnings"
[ "$failures" = 0 ] && echo "manual pages in step with --help"
exit "$failures"
