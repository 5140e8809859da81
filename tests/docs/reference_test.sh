#!/usr/bin/env bash
# The API reference is complete and current: every function and extern global the installed
# headers declare heads an entry of its own ("### `name`"), every other name they declare (structs,
# constants, type aliases) appears in it as `name`, and every name heading an entry is declared.
#   reference_test.sh REFERENCE HEADER...
set -euo pipefail
export LC_ALL=C  # one byte order for sort and comm
reference=$1
shift

# the names declared at the top level of the headers, one a line, "entry" after those that need one
# of their own. Comments and preprocessor lines go; a statement runs across lines up to a ';' or
# the '{' of a body, and bodies are skipped, so struct fields and member functions are not listed.
# A function's name stands before its first '(' (default arguments and templates are no matter),
# a constant's before its '='
declarednames() {
  awk '
    function lastname(text) {
      gsub(/\[[^]]*\]/, "", text)  # array bounds
      sub(/[^A-Za-z0-9_]+$/, "", text)
      match(text, /[A-Za-z_][A-Za-z0-9_]*$/)
      return substr(text, RSTART)
    }
    function declared(text, hasbody,   call, equals, kind) {
      if (text ~ /^ *struct +[A-Za-z0-9_]+ *$/ && !hasbody)
        return  # a forward declaration
      if (sub(/^ *using +/, "", text))
        sub(/ *=.*/, "", text)
      kind = text ~ /^ *extern / ? " entry" : ""
      call = index(text, "(")
      equals = index(text, "=")
      if (call && !(equals && equals < call)) {
        text = substr(text, 1, call - 1)
        kind = " entry"
      } else if (equals) {
        text = substr(text, 1, equals - 1)
      }
      if (text ~ /[A-Za-z0-9_]/)
        print lastname(text) kind
    }
    { sub(/\/\/.*/, "") }
    /^ *#/ { next }
    {
      for (i = 1; i <= length($0); ++i) {
        c = substr($0, i, 1)
        if (c == "{" && depth++ == 0) { declared(statement, 1); statement = "" }
        else if (c == "}" && --depth == 0) statement = ""
        else if (depth == 0 && c == ";") { declared(statement, 0); statement = "" }
        else if (depth == 0) statement = statement c
      }
      statement = statement " "
    }' "$@" | sort -u
}

# the names written as `name` in the lines read, sorted
backticked() {
  grep -o '`[A-Za-z0-9_]*`' | tr -d '`' | sort -u
}

declared=$(declarednames "$@")
[ -n "$declared" ] || { echo "FAIL: no declarations found in $*" >&2; exit 1; }
headings=$(grep '^### ' "$reference" | backticked)
failures=$(
  comm -23 <(awk '$2 == "entry" { print $1 }' <<<"$declared" | sort) <(echo "$headings") |
    sed 's/.*/has no entry headed `&`/'
  comm -23 <(awk '$2 != "entry" { print $1 }' <<<"$declared" | sort) <(backticked <"$reference") |
    sed 's/.*/never names `&`/'
  comm -23 <(echo "$headings") <(cut -d' ' -f1 <<<"$declared" | sort -u) |
    sed 's/.*/heads an entry with `&`, which no installed header declares/'
)
if [ -n "$failures" ]; then
  sed "s|^|FAIL: $reference |" <<<"$failures" >&2
  exit 1
fi
echo "$(cut -d' ' -f1 <<<"$declared" | sort -u | wc -l) names, every one in the reference"
