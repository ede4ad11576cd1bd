#!/usr/bin/env bash
# A pair file that its own user cannot read (mode 000), as an ordinary user meets it: run as that
# user (as root, through setpriv to nobody; root reads every file); and a folder in its place.
# Every command that reads it exits 1 naming it and saying why, shows nothing, and `watch` leaves
# it as it was.
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
checked "unreadable"
