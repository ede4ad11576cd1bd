#!/usr/bin/env bash
# The moon alarms on a real notification server (run it through with_desktop.sh). On a private
# session bus with dunst, an alarm due within seconds reaches dunst as exactly its warning and
# its start alert, from Tarvex, with the moon's picture and the sound asked for; "Try It" in the
# Moon Alarms dialog sends one silent sample of the minutes typed, marked transient so that a
# server's history need not keep it, and nothing is logged. With no server on the bus, or
# no bus at all, the alert shows as the tray icon's own message, and a line of tarvex.log (and of
# standard error) says why. A warning's repeat comes with the player's sound file, and a moon's end
# in the quiet hours with no sound. Each run ends with SIGTERM, which saves the pair. A pair and settings
# that tarvex-cli stores while Tarvex runs are in force within a second or two, and the pair saved
# on exit is the newer one.
#   notify_test.sh PATH/TO/tarvex PATH/TO/tarvex-cli
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
require dbus-run-session dbus-monitor dunst dunstctl jq

# First onto a session bus of its own: only the dunst started below serves notifications there,
# and stopping it leaves none.
private_session_bus "$0" "$@"

pictures="$(cd "$(dirname "$0")/../../../resources/icons/png" && pwd)"
cp "$1" "$app/tarvex"
export LC_ALL=C XDG_CACHE_HOME="$work/cache"
tarvex_err="$work/tarvex.err"
explain() {
  echo "dunst holds:" && dunstctl history 2>/dev/null | jq -c '.data[0][] | .body.data'
  [ -f "$work/calls" ] && echo "calls of Notify:" && grep -A5 'member=Notify$' "$work/calls"
  [ -f "$tarvex_err" ] && echo "tarvex said:" && cat "$tarvex_err"
}
clock() { date -d "@$1" '+%-I:%M %p'; }  # a real second as the alerts write it: 5:33 PM

# A fresh dunst, with an empty history, and a record of every Notify call on the bus.
start_server() {
  start_dunst
  dbus-monitor "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
    >"$work/calls" 2>&1 &
  pids+=($!)
  wait_for 50 grep -q NameLost "$work/calls" || fail "dbus-monitor did not start"
}
stop_server() { stop_pids 0 && rm -f "$work/calls"; }
count_calls() { grep -c "$1" "$work/calls"; }
# The calls of Notify so far, then how many of them asked for a sound by name, for a sound file,
# and for none: "2 2 0 0"; a pattern of them, with ? where any count does.
calls_are() {
  [[ "$(count_calls 'member=Notify$') $(count_calls '"sound-name"') $(count_calls '"sound-file"') \
$(count_calls '"suppress-sound"')" == $1 ]]
}
# What dunst has received two seconds (four ticks, time for a second copy) from now, oldest
# first: app name|summary|body|picture, one a line.
received() {
  sleep 2
  dunstctl close-all
  wait_for 30 shown 0
  dunstctl history | jq -r '.data[0] | sort_by(.id.data) | .[] |
    [.appname.data, .summary.data, .body.data, .icon_path.data] | join("|")'
}

good_moon="$XDG_CACHE_HOME/Tarvex/moon105.png"

expect_received() { got=$(received) && check "what dunst received" "$1" "$got"; }

# --- An alarm due within seconds, with a sound -------------------------------------------------
start_server
# Game 23:59:00 on day 14: the good moon begins 60 / 18 real seconds from now, so its warning
# (10 minutes ahead) is due at once and its start alert at the fourth second.
calibrate 23:59:00 03/14/0002
settings WarningMinutes=10 Sound=on
start_tarvex
wait_for 100 shown 2 || fail "dunst did not show two alerts"
count_windows 1 || fail "the tray showed its own message as well"
expect_received "Tarvex|Tarvex|GOOD MOON IN 1 MINUTE, AT $(clock $((now + 4)))|$good_moon
Tarvex|Tarvex|GOOD MOON NOW, UNTIL $(clock $((now + 4804)))|$good_moon"
cmp -s "$good_moon" "$pictures/moon105-128.png" || fail "$good_moon is not the good moon's picture"
calls_are "2 2 ? 0" && grep -A1 '"sound-name"' "$work/calls" | grep -q '"message-new-instant"' ||
  fail "the calls asked for no sound, or other than twice: $(cat "$work/calls")"
pass "dunst received the warning and the start alert once each, from Tarvex, with the good moon's picture and a sound"
stop_tarvex
stop_server

# --- A repeat with the player's own sound, then a moon's end in the quiet hours ----------------
start_server
# Game 23:40:30 on day 14: the good moon begins 65 real seconds from now. A warning of 2 minutes
# repeated every minute: the first is due at once, its repeat at the fifth second.
calibrate 23:40:30 03/14/0002
bell="$work/bell.wav"
printf 'RIFF' >"$bell"
settings WarningMinutes=2 Repeat=1 AtStart=off Sound=on BadMoon=off "GoodSound=$bell"
start_tarvex
wait_for 150 shown 2 || fail "dunst did not show the warning and its repeat"
expect_received "Tarvex|Tarvex|GOOD MOON IN 2 MINUTES, AT $(clock $((now + 65)))|$good_moon
Tarvex|Tarvex|GOOD MOON IN 1 MINUTE, AT $(clock $((now + 65)))|$good_moon"
calls_are "2 0 2 ?" && [ "$(grep -A1 '"sound-file"' "$work/calls" | grep -c "\"$bell\"")" -eq 2 ] ||
  fail "the calls did not ask for the sound file twice: $(cat "$work/calls")"
pass "dunst received the warning and its repeat, each with the sound file $bell"
stop_tarvex
stop_server

start_server
# Game 00:03:00 on day 16: the good moon ended 10 real seconds ago; its end alert is due at once,
# in quiet hours from a minute ago to two minutes on.
calibrate 00:03:00 03/16/0002
settings WarningMinutes=0 AtStart=off AtEnd=on Sound=on BadMoon=off "GoodSound=$bell" \
  "QuietFrom=$(date -d "@$((now - 60))" +%H:%M)" "QuietTo=$(date -d "@$((now + 120))" +%H:%M)"
start_tarvex
wait_for 100 shown 1 || fail "dunst did not show the end alert"
expect_received "Tarvex|Tarvex|GOOD MOON OVER AT $(clock $((now - 10)))|$good_moon"
calls_are "1 0 0 ?" ||
  fail "the quiet alert asked for a sound: $(cat "$work/calls")"
pass "dunst received the moon's end in the quiet hours, with no sound hint"
stop_tarvex
stop_server

# --- A pair and alarm settings stored by tarvex-cli while Tarvex runs ---------------------------
start_server
calibrate 12:00:00 03/10/0002  # no moon near
settings GoodMoon=off BadMoon=off
start_tarvex
cli=("$2" --data-dir "$app")
"${cli[@]}" alarms set good=on warning=10 at-start=off || fail "alarms set failed"
# Game 23:59:00 on day 14 now: the good moon's warning is due at once.
"${cli[@]}" calibrate "$(date +%H:%M:%S)" "$(date +%m/%d/%Y)" 23:59:00 03/14/0002 ||
  fail "calibrate failed"
wait_for 30 shown 1 || fail "no alert within three seconds of the new pair and settings"
got=$(received) && [[ $got == "Tarvex|Tarvex|GOOD MOON IN 1 MINUTE, AT "* ]] ||
  fail "dunst received '$got'"
stop_tarvex
# The newer pair, a few seconds on: game 23:59 on the 14th or just past midnight.
saved=$(sed -n 3,4p "$app/ZRDTIMES.DAT" | tr -d '\r' | tr '\n' ' ')
[[ $saved =~ ^(23:59:[0-9][0-9]\ 03/14/0002|00:0[0-9]:[0-9][0-9]\ 03/15/0002)\ $ ]] ||
  check "the game moment of the pair saved on exit" "about 23:59 03/14/0002" "$saved"
pass "the tray took up the pair and the settings stored by tarvex-cli, alerted, and saved the newer pair"
stop_server

# --- Try It in the Moon Alarms dialog, without a sound -----------------------------------------
start_server
calibrate 10:00:00 03/03/0002  # the good moon is hours away; no alarm is due
settings Sound=off WarningMinutes=10
start_tarvex
open_dialog 'Moon Alarms' 'Up Up Up Up Up Return'  # "Moon Alarms...", above "Start at Log-in", "Clock Window" and "24-Hour Clock"
sleep 0.5  # a key pressed at the moment the dialog takes the focus goes unseen on Xvfb
# From the first check box to the minutes box, which is typed to 1 (the stored 10 stays), then
# back round to "Try It".
xdotool key Tab Tab Tab type 1
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab
before=$(date +%s)
xdotool key space
wait_for 50 shown 1 || fail "Try It showed nothing on dunst"
after=$(date +%s)
named 'Moon Alarms' >/dev/null || fail "Try It closed the dialog"
xdotool key Escape
wait_for 50 count_windows 1 || fail "Escape left the dialog open"
# The sample counts the box's minute from the moment of the press.
body=$(grep -o 'string "SAMPLE: [^"]*"' "$work/calls" | sed 's/^string "//; s/"$//')
[ "$body" = "SAMPLE: GOOD MOON IN 1 MINUTE, AT $(clock $((before + 60)))" ] ||
  [ "$body" = "SAMPLE: GOOD MOON IN 1 MINUTE, AT $(clock $((after + 60)))" ] ||
  fail "the sample read '$body'"
calls_are "1 0 ? 1" && grep -A1 '"transient"' "$work/calls" | grep -q 'boolean true' ||
  fail "the sample was not one silent, transient call: $(cat "$work/calls")"
# (Whether a server keeps a transient notification is its own choice: GNOME's and KDE's do not;
# dunst 1.9 does, unless a rule of its configuration says history_ignore for match_transient.)
pass "Try It sent dunst one silent sample, marked transient: '$body'"
stop_tarvex
stop_server

[ ! -e "$app/tarvex.log" ] || fail "alerts that dunst took were logged: $(cat "$app/tarvex.log")"

# --- No notification server, then no session bus: the tray's own message -------------------------
settings WarningMinutes=10
for bus in "$DBUS_SESSION_BUS_ADDRESS" "unix:path=$work/no-bus"; do
  case_name="a bus without a notification server"
  why='no notification server took it \(org\.freedesktop\.DBus\.Error\.[A-Za-z]+: .+\)'
  if [ "$bus" != "$DBUS_SESSION_BUS_ADDRESS" ]; then
    case_name="no session bus"
    why="no session bus can be reached"
  fi
  calibrate 23:59:00 03/14/0002
  : >"$tarvex_err"
  rm -f "$app/tarvex.log"
  DBUS_SESSION_BUS_ADDRESS=$bus start_tarvex
  wait_for 100 count_windows 2 || fail "$case_name: no message beside the tray icon"
  message=$(windows | while read -r id; do
    geometry "$id"
    [ "$WIDTH" -gt 100 ] && echo "${WIDTH}x$HEIGHT"
  done)
  [ -n "$message" ] || fail "$case_name: the new window is too small for a message"
  kill -0 "$tarvex_pid" || fail "$case_name: tarvex ended"
  stop_tarvex
  # The warning of the first minute, and perhaps the start alert of the fourth second.
  warned='[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8} The moon alarm "GOOD MOON (IN 1 MINUTE|NOW), [^"]*" '
  warned+="was shown as the tray icon's own message: $why"
  grep -q . "$tarvex_err" && ! grep -Evx "$warned" "$tarvex_err" ||
    fail "$case_name: tarvex said other than why each alert was its own: $(cat "$tarvex_err")"
  cmp -s "$tarvex_err" "$app/tarvex.log" ||
    fail "$case_name: tarvex.log holds other than tarvex said: $(cat "$app/tarvex.log")"
  pass "$case_name: the alert shows as the tray's message ($message), and tarvex.log says why"
done
checked "notify"
