#!/usr/bin/env bash
# Replays the command lines of golden/cases.txt against a tarvex-cli and compares what it prints
# and its exit codes, byte for byte, with golden/expected.txt. After a usage error (exit 2) only
# the first line of standard error counts: the usage text that follows it may change.
#   golden_test.sh TARVEX-CLI            compare
#   golden_test.sh TARVEX-CLI --record   write golden/expected.txt anew
#
# cases.txt: one command line a line, in shell quoting, run with "--data-dir DIR" in front unless
# it gives --data-dir itself (DIR is @DIR there); "zone TZ" sets the time zone of the lines after it; "file NAME TEXT" writes
# TEXT (printf escapes) to a data file, "folder NAME" makes folder NAME among them, in the place of a file; "#" starts a
# comment. The program's own folder is written @BIN in the transcript.
set -euo pipefail
cli=${1:?usage: golden_test.sh TARVEX-CLI [--record]}
here=$(cd "$(dirname "$0")/golden" && pwd)
bin=$(dirname "$(readlink -f "$cli")")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/data"
export TZ=UTC0 LC_ALL=C

transcript() {
  local line
  while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in
      '' | '#'*) continue ;;
      zone\ *) TZ=${line#zone }; echo "=== zone $TZ"; continue ;;
      file\ *)
        eval "set -- ${line#file }"
        printf "$2" >"$dir/data/$1"; echo "=== $line"; continue ;;
      folder\ *) rm -f "$dir/data/${line#folder }"; mkdir "$dir/data/${line#folder }"; echo "=== $line"; continue ;;
    esac
    eval "set -- ${line//@DIR/\"\$dir/data\"}"
    [[ $line == *--data-dir* ]] || set -- --data-dir "$dir/data" "$@"
    local code=0
    "$cli" "$@" >"$dir/out" 2>"$dir/err" </dev/null || code=$?
    echo "=== $line"
    echo "exit $code"
    echo "--- stdout"
    cat "$dir/out"
    echo "--- stderr"
    if [ "$code" -eq 2 ]; then head -n 1 "$dir/err"; else cat "$dir/err"; fi
  done <"$here/cases.txt" | sed "s|$dir/data|@DIR|g; s|$bin/|@BIN/|g"
}

if [ "${2:-}" = "--record" ]; then
  transcript >"$here/expected.txt"
  echo "recorded $(grep -c '^=== ' "$here/expected.txt") lines into $here/expected.txt"
  exit 0
fi
transcript >"$dir/actual.txt"
if ! cmp -s "$here/expected.txt" "$dir/actual.txt"; then
  diff -a -u "$here/expected.txt" "$dir/actual.txt" | cat -A | head -n 200
  echo "golden: the output differs"
  exit 1
fi
echo "golden: $(grep -c '^=== ' "$here/expected.txt") command lines as recorded"
