#!/usr/bin/env bash
# The command-line program as a script uses it: the usage after a mistake, `watch`: its alarms, on
# a terminal and off one, and the pair it saves when it is told to stop, output to a full disk,
# a sound given by a relative path, and `autostart`. (Each command's help is among the recorded
# cases of golden_test.sh; a pair file that cannot be read is unreadable_test.sh's.)
source "$(dirname "$0")/../../tests/desktop_lib.sh"
set -e
cli=${1:?usage: cli_program_test.sh TARVEX-CLI}
export TZ=EST5EDT,M3.2.0,M11.1.0
run() { "$cli" --data-dir "$work" "$@"; }

# A mistake: its line, then the command's usage.
code=0; run moons --bogus 2>"$work/err" >/dev/null || code=$?
check "bad option exit" "2" "$code"
check "bad option message" "tarvex-cli: unknown option --bogus|usage: tarvex-cli moons [OPTIONS]" \
  "$(grep -e '^tarvex-cli:' -e '^usage:' "$work/err" | paste -sd '|')"

# watch fires the alarms live: the warning at once, for a good moon five seconds away (90 game
# seconds), and the start alert when it begins, each one line and without a bell off a terminal.
# Stopped by SIGTERM, it saves the pair it has run on (the file read at its start is gone).
run alarms set warning=10 at-start=on good=on sound=on
start=$(date +%s)
run calibrate "$(date -d "@$start" +%T)" "$(date -d "@$start" +%m/%d/%Y)" 23:58:30 01/14/0001
at() { date -d "@$1" +"%-I:%M %p"; }
expected="ALARM GOOD MOON IN 1 MINUTE, AT $(at $((start + 5)))|ALARM GOOD MOON NOW, UNTIL $(at $((start + 4805)))"
mkfifo "$work/view"
"$cli" --data-dir "$work" watch >"$work/view" &
watcher=$!
exec 3<"$work/view"
alarms=() late=0 seen="" plain=""
while [ "${#alarms[@]}" -lt 2 ] && [ $(($(date +%s) - start)) -lt 30 ]; do
  IFS= read -r -t 1 line <&3 || continue
  seen+="$line"
  [[ $line == ALARM* ]] || { plain=$line; continue; }
  alarms+=("$line")
  [ "${#alarms[@]}" -eq 2 ] && [ "$(date +%s)" -ge $((start + 5)) ] && late=1
done
rm "$work/ZRDTIMES.DAT"
kill -TERM "$watcher"
code=0; wait "$watcher" || code=$?
exec 3<&-
check "watch exit" "0" "$code"
check "watch saves the pair" "44" "$(stat -c %s "$work/ZRDTIMES.DAT" 2>/dev/null || echo missing)"
check "watch line" "1" "$(grep -cE '^[0-9:]{8} [0-9/]{10}\|GOOD MOON .*\|BAD MOON .*\|.+$' <<<"$plain")"
check "watch alarms" "$expected" "$(IFS='|'; echo "${alarms[*]}")"
check "watch start alert at the moon's begin, not before" "1" "$late"
check "watch without a terminal rings no bell" "0" "$(printf %s "$seen" | tr -cd '\a' | wc -c)"

# On a terminal each alarm stands above the four lines, which are drawn anew below it, and rings
# the bell. script(1) gives watch a terminal; watch is stopped by its own process id.
start=$(date +%s)
run calibrate "$(date -d "@$start" +%T)" "$(date -d "@$start" +%m/%d/%Y)" 23:59:06 01/14/0001
script -qfec "$cli --data-dir $work watch" /dev/null >"$work/terminal" </dev/null &
session=$!
for _ in $(seq 150); do  # until the start alert and the first line drawn below it
  tr -d '\r' <"$work/terminal" | grep -A1 "MOON NOW" | grep -q "01/15/0001" && break
  sleep 0.1
done
kill -TERM "$(pgrep -P "$session")" || true
wait "$session" || true
check "watch on a terminal" \
  "^[[2KALARM GOOD MOON IN 1 MINUTE, AT $(at $((start + 3)))|^G^[[2Khh:mm:ss 01/14/0001|^[[4F^[[2KALARM GOOD MOON NOW, UNTIL $(at $((start + 4803)))|^G^[[2Khh:mm:ss 01/15/0001" \
  "$(tr -d '\r' <"$work/terminal" | cat -v | grep -A1 ALARM | grep -v '^--' |
    sed -E 's/[0-9]{2}:[0-9]{2}:[0-9]{2}/hh:mm:ss/' | paste -sd '|')"

# Output that never reaches its file (a full disk) fails the command, though the bytes only
# meet the disk when the program's buffer is flushed.
for command in "status --json" "moons --ics"; do
  code=0
  # shellcheck disable=SC2086 # the command and its option
  run $command >/dev/full 2>"$work/err" || code=$?
  check "$command to a full disk" "1 tarvex-cli: the output could not be written" \
    "$code $(cat "$work/err")"
done

# A sound named by a relative path is stored as the file in the present folder; "~/" is home.
(cd "$work" && HOME=/home/me "$(readlink -f "$cli")" --data-dir "$work" alarms set \
  good-sound=./bell.wav 'bad-sound=~/sub/../b.WAV' 2>/dev/null)
check "sounds by a relative path" "GoodSound=$work/bell.wav|BadSound=/home/me/b.WAV" \
  "$(grep -aE '^(Good|Bad)Sound=' "$work/TARVEX.INI" | tr -d '\r' | paste -sd '|')"
run alarms set good-sound= bad-sound=

# autostart: the log-in entry of the tray program beside tarvex-cli, in a private XDG_CONFIG_HOME.
# The folder's name needs quoting in the entry; the stand-in tray program notes that it ran.
bin="$work/My \"Games\" \$1 (old)/bin"
mkdir -p "$bin"
cp "$cli" "$bin/tarvex-cli"
printf '#!/bin/sh\necho "$0" >"$(dirname "$0")/../started"\n' >"$bin/tarvex"
chmod +x "$bin/tarvex"
export XDG_CONFIG_HOME="$work/config"
entry="$XDG_CONFIG_HOME/autostart/tarvex.desktop"
auto() { code=0; "$bin/tarvex-cli" autostart "$@" >"$work/out" 2>"$work/err" || code=$?; }
auto; check "autostart without an entry" "0 off" "$code $(cat "$work/out")"
auto on; check "autostart on" "0" "$code"
auto; check "autostart after on" "0 on" "$code $(cat "$work/out")"
if command -v gio >/dev/null; then  # as GLib's desktops read it, the entry starts the program
  timeout 10 gio launch "$entry" || true
  for _ in $(seq 50); do [ -s "$bin/../started" ] && break; sleep 0.1; done
  check "gio launches the entry" "$bin/tarvex" "$(cat "$bin/../started" 2>/dev/null)"
fi
XDG_CONFIG_HOME="$bin/tarvex" auto on
check "autostart on, no folder for the entry" \
  "1 tarvex-cli: $bin/tarvex/autostart could not be made: Not a directory" "$code $(cat "$work/err")"
auto off; check "autostart off" "0 off" "$code $(test -e "$entry" || echo off)"
rm "$bin/tarvex"; auto on
check "autostart on without a tray program" \
  "1 tarvex-cli: there is no tray program $bin/tarvex to start at log-in" "$code $(cat "$work/err")"
checked "cli program"
