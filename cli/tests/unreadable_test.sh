#!/usr/bin/env bash
# A pair file that its own user cannot read (mode 000), as an ordinary user meets it: run as that
# user (as root, through setpriv to nobody; root reads every file). Every command that reads it
# exits 1 naming it, and `watch` leaves it as it was. A TARVEX.INI that cannot be read (holding
# Clock=24) stops no status line: they are shown on the 12-hour clock, as a readable Clock=12
# gives them, with one line naming it, exit 1; `watch` keeps running until stopped.
#   unreadable_test.sh TARVEX-CLI
source "$(dirname "$0")/../../tests/desktop_lib.sh"
cp "${1:?usage: unreadable_test.sh TARVEX-CLI}" "$work/tarvex-cli"  # where nobody may run it
cli="$work/tarvex-cli"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env)
  chmod 755 "$work"
fi
data="$work/data"
mkdir "$data"
printf '10:00:00\r\n12/06/2026\r\n12:00:00\r\n03/10/0002\r\n' >"$data/ZRDTIMES.DAT"
[ ${#as_user[@]} -eq 0 ] || chown -R nobody:nogroup "$data"
chmod 000 "$data/ZRDTIMES.DAT"
before=$(md5sum <"$data/ZRDTIMES.DAT"; stat -c '%a %i' "$data/ZRDTIMES.DAT")
"${as_user[@]}" true || fail "cannot run as an ordinary user"

for command in "status" "status --json" "moons" "alarms" "watch" "watch --waybar"; do
  code=0
  # shellcheck disable=SC2086
  "${as_user[@]}" timeout -s INT 5 "$cli" --data-dir "$data" $command >"$work/out" 2>"$work/err" ||
    code=$?
  check "$command: exit" 1 "$code"
  check "$command: message" "tarvex-cli: $data/ZRDTIMES.DAT cannot be read: Permission denied" \
    "$(cat "$work/err")"
  check "$command: output" "" "$(cat "$work/out")"
done
check "the file, its mode and its inode" "$before" \
  "$(md5sum <"$data/ZRDTIMES.DAT"; stat -c '%a %i' "$data/ZRDTIMES.DAT")"

mkdir "$work/ini" "$work/ini12"
for dir in "$work/ini" "$work/ini12"; do
  printf '10:00:00\r\n12/06/2026\r\n12:00:00\r\n03/10/0002\r\n' >"$dir/ZRDTIMES.DAT"
  : >"$dir/ZRDDIR.DAT"
done
printf '[Display]\r\nClock=24\r\n' >"$work/ini/TARVEX.INI"
printf '[Display]\r\nClock=12\r\n' >"$work/ini12/TARVEX.INI"
[ ${#as_user[@]} -eq 0 ] || chown -R nobody:nogroup "$work/ini" "$work/ini12"
chmod 000 "$work/ini/TARVEX.INI"
for row in "status|1" "status --waybar|1" "watch|124" "watch --waybar|124"; do
  command=${row%|*} code=0
  # shellcheck disable=SC2086
  "${as_user[@]}" timeout -s INT 3 "$cli" --data-dir "$work/ini12" --at "12/06/2026 10:00:00" \
    $command >"$work/out12" 2>/dev/null
  # shellcheck disable=SC2086
  "${as_user[@]}" timeout -s INT 3 "$cli" --data-dir "$work/ini" --at "12/06/2026 10:00:00" \
    $command >"$work/out" 2>"$work/err" || code=$?
  check "TARVEX.INI, $command: exit" "${row#*|}" "$code"
  check "TARVEX.INI, $command: message" \
    "tarvex-cli: $work/ini/TARVEX.INI cannot be read: Permission denied; the 12-hour clock is used" \
    "$(cat "$work/err")"
  check "TARVEX.INI, $command: output as Clock=12 gives it" "$(cat "$work/out12")" "$(cat "$work/out")"
  grep -q 'PM\|AM' "$work/out" || check "TARVEX.INI, $command: the 12-hour clock" "AM or PM" "$(cat "$work/out")"
done
checked "unreadable"
