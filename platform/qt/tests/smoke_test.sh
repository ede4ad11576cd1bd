#!/usr/bin/env bash
# The real program on a desktop with a tray (run it through with_desktop.sh): a second start
# leaves the first running and shows its clock window, the icon docks, a start with no pair stored
# opens Set Date and Time by itself with the real time and date filled in, the right button on the
# icon opens the menu and a click
# elsewhere closes it, "Start at Log-in" writes and deletes the log-in entry, "Exit" chosen while
# a dialog is open saves the pair, and without a display the program says so. That the tip follows
# the ticks is seen by qt_desktop_sni, the menu's entries and what the dialogs do offscreen
# (qt_dialog_tests), the auto-run dialog from the menu by wine_login_test.sh, SIGTERM by
# notify_test.sh.
#   smoke_test.sh PATH/TO/tarvex
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
cp "$1" "$app/tarvex"
explain() { show_windows; }

# --- No display: one clear line, a failing status --------------------------------------------------
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app/tarvex" 2>&1)
status=$?
[ $status -ne 0 ] &&
  [ "$message" = "tarvex: no display; start it in a desktop session, or use tarvex-cli watch" ] ||
  fail "no display: status $status, said '$message'"
pass "without a display: '$message' (status $status)"
"$app/tarvex" --check-tray || fail "--check-tray sees no tray"
pass "--check-tray finds the tray"

# --- Start with no pair stored: Set Date and Time opens by itself, the real time filled in -----
# No moon alarm: its notification would be one more window to tell apart.
settings GoodMoon=off BadMoon=off
before=$(date +%s)
start_tarvex
wait_for 50 named 'Set Date and Time' || fail "with no pair stored, Set Date and Time did not open"
after=$(date +%s)
dialog=$(named 'Set Date and Time')
wait_for 30 focused "$dialog"
sleep 0.5  # a key pressed at the moment the dialog takes the focus goes unseen on Xvfb
# Only the game's time and date are typed, into the third and fourth boxes; Enter sets the pair
# with the real time and date that the dialog opened with.
xdotool key Tab Tab type 12:00:00
xdotool key Tab type 03/10/0002
xdotool key Return
wait_for 50 closed 'Set Date and Time' || fail "the pair typed was refused"
real=$(sed -n 1,2p "$app/ZRDTIMES.DAT" | tr -d '\r' | tr '\n' ' ')
[[ $real =~ ^([0-9]{2}:[0-9]{2}:[0-9]{2})\ ([0-9]{2})/([0-9]{2})/([0-9]{4})\ $ ]] &&
  opened=$(date -d "${BASH_REMATCH[4]}-${BASH_REMATCH[2]}-${BASH_REMATCH[3]} ${BASH_REMATCH[1]}" +%s) &&
  [ "$opened" -ge "$before" ] && [ "$opened" -le "$after" ] ||
  fail "the real time and date set were '$real', not the moment the dialog opened"
[ "$(sed -n 3,4p "$app/ZRDTIMES.DAT" | tr -d '\r' | tr '\n' ' ')" = "12:00:00 03/10/0002 " ] ||
  fail "the game's time and date set: $(od -c "$app/ZRDTIMES.DAT")"
pass "a start with no pair stored opens Set Date and Time with the real time filled in: $real"

# --- A second start that leaves the first running, its clock window shown ---------------------
timeout 10 "$app/tarvex" || fail "second instance: status $?"
wait_for 50 named Tarvex || fail "a second start showed no clock window"
kill -0 "$tarvex_pid" && count_windows 2 || fail "a second start ended the first or added an icon"
open_menu
xdotool key Up Up Return  # "Clock Window", above the separator before "Exit": hidden again
wait_for 50 count_windows 1 || fail "Clock Window left the clock window shown"
pass "a second start exits 0 and shows the first one's clock window"

# --- The menu; a click elsewhere closes it ------------------------------------------------------
open_menu
xdotool mousemove 200 200 click 1
wait_for 50 count_windows 1 || fail "a click elsewhere left the menu open"
pass "the right button opens the menu, a click elsewhere closes it"

# --- "Start at Log-in" writes the log-in entry for this program, and deletes it again ----------
entry="$XDG_CONFIG_HOME/autostart/tarvex.desktop"
for expected in "Exec=$app/tarvex" "none"; do
  open_menu
  xdotool key Up Up Up Return  # "Start at Log-in", above "Clock Window"
  wait_for 50 count_windows 1 || fail "Start at Log-in left the menu open"
  check_entry() { [ "$(grep ^Exec= "$entry" 2>/dev/null || echo none)" = "$expected" ]; }
  wait_for 50 check_entry || fail "Start at Log-in: $entry holds $(cat "$entry" 2>&1), not $expected"
done
pass "Start at Log-in writes $entry with Exec=$app/tarvex, and deletes it when chosen again"

# --- Exit, chosen while the calibration dialog is open, saves the pair -------------------------
open_dialog 'Set Date and Time' 'Down Return'
# A press within a moment of the dialog taking the focus goes unseen on Xvfb; a person's
# right-click comes later than that.
sleep 0.5
open_menu  # the tray stays usable while a dialog is open
rm -f "$app/ZRDTIMES.DAT"
xdotool key Up Return  # "Exit", the last entry
ended Exit
pair_saved "$app/ZRDTIMES.DAT" || fail "Exit: no saved pair"
pass "Exit closes the open dialog, ends the program (status 0) and saves the pair"
echo "all passed"
