#!/usr/bin/env bash
# The clock window of the real program (run it through with_desktop.sh; with WITH_DESKTOP_TRAY=none
# for the first part). Without a tray the window opens by itself within a few seconds, its right
# button opens the menu and "Stay on Top" there is kept. With a tray no window opens until it is
# chosen; a second start brings it forward. What the window shows is seen by qt_dialog_tests.
#   clock_window_test.sh notray|tray PATH/TO/tarvex
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
cp "$2" "$app/tarvex"
explain() { show_windows; cat "$app/TARVEX.INI" 2>/dev/null; }
settings GoodMoon=off BadMoon=off
calibrate 12:00:00 03/10/0002

if [ "$1" = notray ]; then
  "$app/tarvex" &
  tarvex_pid=$!
  wait_for 200 named Tarvex || fail "without a tray no clock window opened within 20 s"
  window=$(named Tarvex)
  geometry "$window"
  [ "$WIDTH" -ge 200 ] || fail "the clock window is $WIDTH pixels wide: too narrow for its lines"
  pass "without a tray the clock window opens by itself (${WIDTH}x$HEIGHT)"
  open_menu "$(named Tarvex)"
  xdotool key Up Up Up Return  # "Stay on Top", above "24-Hour Clock"
  wait_for 50 grep -q '^OnTop=on' "$app/TARVEX.INI" || fail "Stay on Top was not kept"
  pass "its right button opens the menu; Stay on Top is kept in [Window]"
  # The close box, as the window manager's WM_DELETE_WINDOW brings it: the program ends.
  kill -TERM "$tarvex_pid"
  ended SIGTERM
  echo "all passed"
  exit 0
fi

start_tarvex
sleep 5  # longer than the wait for a tray: no window opens by itself beside one
closed Tarvex || fail "a clock window opened though the tray shows the icon"
pass "with a tray no clock window opens by itself"
open_menu
xdotool key Up Up Up Return  # "Clock Window", above "24-Hour Clock"
wait_for 100 named Tarvex || fail "Clock Window showed no window"
geometry "$(named Tarvex)"
pass "Clock Window in the tray's menu shows it at $X,$Y"
open_menu "$(named Tarvex)"
xdotool key Up Up Up Up Return  # "Clock Window" again, above "Stay on Top" and "24-Hour Clock" in the window's menu
wait_for 50 closed Tarvex || fail "Clock Window left the window shown"
grep -q '^Shown=off' "$app/TARVEX.INI" || fail "the hidden window was not kept so"
pass "Clock Window in its own menu hides it, and that is kept"
timeout 10 "$app/tarvex" || fail "second start: status $?"
wait_for 100 named Tarvex || fail "a second start did not bring the clock window forward"
kill -0 "$tarvex_pid" || fail "a second start ended the first"
pass "a second start shows the running Tarvex's clock window"
stop_tarvex
echo "all passed"
