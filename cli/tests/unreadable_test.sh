#!/usr/bin/env bash
# A pair file that its own user cannot read (mode 000), as an ordinary user meets it: run as that
# user (as root, through setpriv to nobody; root reads every file); and a folder in its place.
# Every command that reads it exits 1 naming it and saying why, shows nothing, and `watch` leaves
# it as it was. A TARVEX.INI that cannot be read (holding Clock=24) stops no status line: they
# are shown on the 12-hour clock, as a readable Clock=12 gives them, with one line naming it,
# exit 1; `watch` keeps running until stopped.
#   unreadable_test.sh TARVEX-CLI
source "$(dirname "$0")/../../tests/desktop_lib.sh"
cp "${1:?usage: unreadable_test.sh TARVEX-CLI}" "$work/tarvex-cli"  # where nobody may run it
cli="$work/tarvex-cli"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --reset-env)
  chmod 755 "$work"
fi
data="$work/data" pair="$work/data/ZRDTIMES.DAT"
mkdir "$data"
"${as_user[@]}" true || fail "cannot run as an ordinary user"
state() { md5sum <"$pair" 2>/dev/null; stat -c '%F %a %i' "$pair"; }

for why in "Permission denied" "it is a folder"; do
  if [ "$why" = "it is a folder" ]; then
    rm -f "$pair" && mkdir "$pair"
  else
    printf '10:00:00\r\n12/06/2026\r\n12:00:00\r\n03/10/0002\r\n' >"$pair" && chmod 000 "$pair"
  fi
  [ ${#as_user[@]} -eq 0 ] || chown -R nobody:nogroup "$data"
  before=$(state)
  for command in "status" "status --json" "moons" "alarms" "watch" "watch --waybar"; do
    code=0
    # shellcheck disable=SC2086
    "${as_user[@]}" timeout -s INT 5 "$cli" --data-dir "$data" $command >"$work/out" 2>"$work/err" ||
      code=$?
    check "$why, $command: exit" 1 "$code"
    check "$why, $command: message" "tarvex-cli: $pair cannot be read: $why" "$(cat "$work/err")"
    check "$why, $command: output" "" "$(cat "$work/out")"
  done
  check "$why: the file, its mode and its inode" "$before" "$(state)"
done

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
  check "TARVEX.INI, $command: output as Clock=12 gives it" "$(cat "$work/out12")" \
    "$(cat "$work/out")"
  grep -q 'PM\|AM' "$work/out" ||
    check "TARVEX.INI, $command: the 12-hour clock" "AM or PM" "$(cat "$work/out")"
done
checked "unreadable"
