#!/usr/bin/env bash
# The command-line program as a script uses it: the system's own zone rules (a POSIX TZ with
# daylight saving), exit codes, and `watch` saving the pair when it is told to stop.
set -euo pipefail
cli=${1:?usage: cli_program_test.sh TARVEX-CLI}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export TZ=EST5EDT,M3.2.0,M11.1.0
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}
run() { "$cli" --data-dir "$dir" "$@"; }

# The clock springs from 01:59:59 to 03:00:00: one real second, eighteen game seconds.
run calibrate 01:59:59 03/08/2026 00:00:00 01/01/0001
check "spring forward" \
  '{"real_time": "03:00:00", "real_date": "03/08/2026", "game_time": "00:00:18", "game_date": "01/01/0001", "good_moon": {"countdown": "18 HOURS  39 MINUTES  59 SECONDS", "moment": "TODAY AT 9:39 PM"}, "bad_moon": {"countdown": "1 DAY  13 HOURS  19 MINUTES  59 SECONDS", "moment": "TOMORROW AT 4:19 PM"}, "icon": 101}' \
  "$(run --at "03/08/2026 03:00:00" status --json)"

# The clock falls back from 01:59:59 to 01:00:00: again one second, not minus an hour.
run calibrate 01:59:59 11/01/2026 10:00:00 05/20/0003
check "fall back" "10:00:18 05/20/0003" "$(run --at "11/01/2026 01:00:00" status | head -n 1)"

# A season apart: 238 days less the hour that daylight saving took.
run calibrate 12:00:00 01/01/2026 00:00:00 01/01/0001
check "across seasons" "06:00:00 09/28/0013" "$(run --at "08/27/2026 12:00:00" status | head -n 1)"

check "version" "0.07" "$(run --version)"
set +e
run calibrate 24:00:00 01/01/2026 00:00:00 01/01/0001 2>"$dir/err"; code=$?
set -e
check "bad text exit" "2" "$code"
check "bad text message" "The real time is not a valid time of day.  Please fix it and try again." "$(cat "$dir/err")"

# Each command's own help names its options and arguments.
for entry in "status --json" "calibrate GAMEDATE" "set-path FILE" "moons --count" "moons --ics" "watch --help"; do
  set +e
  help=$(run ${entry%% *} --help); code=$?
  set -e
  check "${entry%% *} --help exit" "0" "$code"
  check "${entry%% *} --help names ${entry#* }" "1" "$(grep -c -e "^  ${entry#* } " <<<"$help")"
done
# The common options after the command, and a mistake: its line, then the command's usage.
check "options after the command" "$(run --at "08/27/2026 12:00:00" status)" \
  "$("$cli" status --at "08/27/2026 12:00:00" --data-dir "$dir")"
set +e
run moons --bogus 2>"$dir/err" >/dev/null; code=$?
set -e
check "bad option exit" "2" "$code"
check "bad option message" "tarvex-cli: unknown option --bogus|usage: tarvex-cli moons [OPTIONS]" \
  "$(grep -e '^tarvex-cli:' -e '^usage:' "$dir/err" | paste -sd '|')"

# watch: wait for its first line, stop it with SIGTERM, and find the pair saved.
rm -f "$dir/ZRDTIMES.DAT"
mkfifo "$dir/view"
"$cli" --data-dir "$dir" watch >"$dir/view" &
watcher=$!
exec 3<"$dir/view"
IFS= read -r -t 20 line <&3 || line="(no line)"
kill -TERM "$watcher"
set +e
wait "$watcher"; code=$?
set -e
exec 3<&-
check "watch line" "1" "$(echo "$line" | grep -cE '^[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{2}/[0-9]{2}/[0-9]{4}\|GOOD MOON .*\|BAD MOON .*\|.+$')"
check "watch exit" "0" "$code"
check "watch saves the pair" "44" "$(stat -c %s "$dir/ZRDTIMES.DAT" 2>/dev/null || echo missing)"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "cli program: all checks passed"
