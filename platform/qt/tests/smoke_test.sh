#!/usr/bin/env bash
# The real program on a desktop with a tray (run it through with_desktop.sh): the icon docks, a
# second start leaves the first alone, the right button opens the menu and a click elsewhere
# closes it, "Start at Log-in" writes and deletes the log-in entry, "Exit" chosen while a dialog
# is open and SIGTERM both save the pair, and without a display the program says so. What the dialogs do is tested offscreen (qt_dialog_tests), the
# auto-run dialog from the menu by wine_login_test.sh.
#   smoke_test.sh PATH/TO/tarvex
# With TARVEX_SCREENSHOTS=FOLDER set, pictures of the menu, the tip and both dialogs go there.
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
shots=${TARVEX_SCREENSHOTS:-}
cp "$1" "$app/tarvex"
explain() {
  echo "visible windows of the program:"
  windows | while read -r id; do echo "  $id $(xdotool getwindowname "$id")"; done
}
running() { kill -0 "$tarvex_pid" 2>/dev/null; }
stopped() { ! running; }

# --- No display: one clear line, a failing status --------------------------------------------------
message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app/tarvex" 2>&1)
status=$?
[ $status -ne 0 ] &&
  [ "$message" = "tarvex: no display; start it in a desktop session, or use tarvex-cli watch" ] ||
  fail "no display: status $status, said '$message'"
pass "without a display: '$message' (status $status)"
"$app/tarvex" --check-tray || fail "--check-tray sees no tray"
pass "--check-tray finds the tray"

# --- Start: the icon docks into the tray --------------------------------------------------------
# A pair on game day 15: the icon blinks between the full moon and the application picture.
printf '%s\r\n%s\r\n10:00:00\r\n03/15/0002\r\n' "$(date +%H:%M:%S)" "$(date +%m/%d/%Y)" \
  >"$app/ZRDTIMES.DAT"
# No moon alarm: its notification would be one more window to tell apart.
printf '[Alarms]\r\nGoodMoon=off\r\nBadMoon=off\r\n' >"$app/TARVEX.INI"
start_tarvex
xwininfo -tree -id "$(xdotool search --name '^panel$' | head -n1)" |
  grep -q "$(printf '0x%x' "$icon")" || fail "the icon is not inside the tray"
geometry "$icon"
icon_x=$X icon_y=$Y icon_w=$WIDTH icon_h=$HEIGHT
pass "tray icon ${icon_w}x${icon_h} docked in the tray at $icon_x,$icon_y"

# --- A second start leaves the first alone ------------------------------------------------------
timeout 10 "$app/tarvex" || fail "second instance: status $?"
running && count_windows 1 || fail "a second start ended the first or added an icon"
pass "a second start exits 0 and leaves the first running"

# The pictures only: the tip, and each dialog filled in (picture FILE TITLE MENU_KEYS [+KEYS |
# TEXT]...).
picture() {
  open_dialog "$2" "$3"
  for step in "${@:4}"; do
    case $step in +*) xdotool key ${step#+} ;; *) xdotool type --delay 20 "$step" ;; esac
  done
  geometry "$dialog" && shoot "$1" "$X" "$Y" "$WIDTH" "$HEIGHT"
  xdotool key Escape
  wait_for 50 count_windows 1 || fail "Escape left $2 open"
}
if [ -n "$shots" ]; then
  xdotool mousemove $((icon_x + icon_w / 2)) $((icon_y + icon_h / 2))
  wait_for 50 count_windows 2 && geometry "$(new_window "$icon")" &&
    shoot qt-tooltip.png $((X - 10)) $((Y - 10)) $((WIDTH + 20)) $((768 - Y + 10))
  xdotool mousemove 500 300 && wait_for 50 count_windows 1
  picture qt-datetime.png 'Set Date and Time' 'Down Return' 16:45:00 +Tab "$(date +%m/%d/%Y)" \
    +Tab 10:00:00 +Tab 03/15/0002
  picture qt-autorun.png 'Auto Run Kestrune' 'Down Down Down Down Down Down Return' '+Tab Tab' \
    10:30:00 +Tab 03/14/0002 '+Tab Tab Tab' /home/player/Kestrune/hero.zrd '+Tab Tab' secret
fi

# --- The menu; a click elsewhere closes it ------------------------------------------------------
open_menu
geometry "$menu"
[ "$HEIGHT" -gt 150 ] || fail "menu ${WIDTH}x${HEIGHT} is too small for ten entries"
left=$((X < icon_x ? X : icon_x))
top=$((Y < icon_y ? Y : icon_y))
shoot qt-menu.png $((left - 8)) $((top - 8)) $((icon_x + icon_w - left + 16)) $((768 - top + 8))
pass "the right button opens the menu (${WIDTH}x${HEIGHT})"
xdotool mousemove 200 200 click 1
wait_for 50 count_windows 1 || fail "a click elsewhere left the menu open"
pass "a click elsewhere closes the menu"

# --- "Start at Log-in" writes the log-in entry for this program, and deletes it again ----------
entry="$XDG_CONFIG_HOME/autostart/tarvex.desktop"
for expected in "Exec=$app/tarvex" "none"; do
  open_menu
  xdotool key Up Up Return  # "Start at Log-in", above the separator before "Exit"
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
xdotool key Up Return  # "Exit", the last entry
wait_for 100 stopped || fail "Exit did not end the program"
ended Exit
pair_saved "$app/ZRDTIMES.DAT" || fail "Exit: no saved pair: $(od -c "$app/ZRDTIMES.DAT")"
grep -q "^10:00:00" "$app/ZRDTIMES.DAT" && fail "Exit saved the old pair, not the last tick's"
grep -q "$(date +%m/%d/%Y)" "$app/ZRDTIMES.DAT" || fail "Exit: the real date is not today's"
pass "Exit closes the open dialog, ends the program (status 0) and saves the re-based pair (44 bytes)"

# --- SIGTERM saves the pair too -----------------------------------------------------------------
start_tarvex
rm -f "$app/ZRDTIMES.DAT"
kill -TERM "$tarvex_pid"
ended SIGTERM
pair_saved "$app/ZRDTIMES.DAT" || fail "SIGTERM: no saved pair"
pass "SIGTERM ends the program (status 0) and saves the pair"
echo "all passed"
