#!/usr/bin/env bash
# A pair file that its own user cannot read (mode 000), as an ordinary user meets it: run as that
# user (as root, through setpriv to nobody; root reads every file). Every command that reads it
# exits 1 naming it, and `watch` leaves it as it was.
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
checked "unreadable"
