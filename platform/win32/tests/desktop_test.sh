#!/usr/bin/env bash
# Desktop tests of Tarvex.exe under Wine, on the display of the Wine session (wine-session.sh):
#
#   desktop_test.sh smoke|launch|alarms|live|window TARVEX DRIVER STAND_IN CLI
#
# smoke: from a fresh folder Tarvex.exe creates its two data files, opens Set Date and Time by
# itself (no pair is stored yet), adds its tray icon, whose tip as the shell holds it has whole
# lines beyond 63 characters (the icon again when the shell lost it or restarted), opens the popup
# menu on the right button's release (not on its press), opens and cancels the calibration dialog
# (the launch scenario opens the auto-run one) and Set Kestrune Path's file dialog, titled so and
# centred on the screen, writes and deletes its log-in entry through "Start at Log-in", keeps one
# instance, and on a close request saves a 44-byte ZRDTIMES.DAT of four CR LF lines and
# takes its icon out of the tray.
# launch: armed through the menu and the auto-run dialog for the next real minute, Tarvex.exe
# starts the stand-in game from the game folder and types the whole log-in into it.
# alarms: with a good moon seconds away, its warning reaches the tray as a notification; "Try It"
# in the Moon Alarms dialog shows a sample of the moon checked there at once, marked as one.
# live: a pair that tarvex-cli.exe stores while Tarvex.exe runs is in force within seconds (its
# moon's warning comes), and the pair saved on a close request is that newer one. The smoke and launch
# scenarios switch the alarms off, so that no alert (a window of the shell) comes in their way.
# window: "Clock Window" in the tray's menu shows the clock window; "Stay on Top" in its own menu
# keeps it above others; its place and both choices are kept across a restart; a second start
# shows it again once hidden.
# Every step waits a bounded time; CTest runs the whole script under a watchdog (timeout).
# (tools/screenshots.sh takes the pictures in docs/ the same way.)
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
in_wine_session
set -e
scenario=$1 driver=$(realpath "$3") stand_in=$(realpath "$4") cli=$(realpath "$5")
before_cleanup() {  # no instance outlives the test: politely first, then for good
  close_tarvex_exe
  timeout 10 wine taskkill /f /im vrak.exe >/dev/null 2>&1
}
run_value_is() { [ "$(run_value)" = "$1" ]; }
cp "$2" "$app/Tarvex.exe"
cd "$app"

case $scenario in
  smoke)
    settings GoodMoon=off BadMoon=off '[Display]' ShowCurrentTime=off ShowNextGoodMoon=on \
      ShowNextBadMoon=on
    step "start from a fresh folder"
    start_tarvex_exe
    test -f ZRDTIMES.DAT && test -f ZRDDIR.DAT
    step "with no pair stored, Set Date and Time opens by itself"
    drive dialog-cancel "Set Date and Time"
    step "the tip that the shell holds: three whole lines, more than the oldest tray's 63 characters"
    tip=$(drive tip "SET THE DATE AND TIME FIRST" 10 | tr -d '\r') || fail "no such tip: '$tip'"
    moon='MOON [A-Z ]*AT [0-9]{1,2}:[0-9]{2} [AP]M'
    [[ $tip =~ ^SET\ THE\ DATE\ AND\ TIME\ FIRST$'\n'GOOD\ $moon$'\n'BAD\ $moon$ ]] ||
      fail "the tip read back is '$tip'"
    length=$((${#tip} + 2))  # each line break read back as LF was CR LF
    [ "$length" -gt 63 ] && [ "$length" -le 127 ] || fail "the tip holds $length characters"
    echo "the tip: ${tip//$'\n'/ | } ($length characters)"
    step "a pair stored then sets the date and time"
    calibrate 12:00:00 03/10/0002  # no moon near; taken up at the next tick
    step "the tray holds the icon, again when the shell lost it, and after TaskbarCreated"
    drive tray 10
    drive tray-drop
    drive tray 10
    drive taskbar-created
    drive tray 10
    step "one instance per session: a second start ends, the first stays"
    timeout 30 wine "$app/Tarvex.exe" </dev/null
    drive tray 10
    step "the popup menu opens on the right button's release; Set Date and Time opens its dialog"
    drive dialog 1 "Set Date and Time"
    drive dialog-cancel "Set Date and Time"
    step "Set Kestrune Path explains itself; its file dialog, titled so, stands in the screen's middle"
    drive dialog 2 "Set Path"
    drive dialog-click "Set Path" "OK"
    wait_for 100 named "Set Kestrune Path" || fail "no file dialog titled Set Kestrune Path"
    geometry "$(named "Set Kestrune Path")"
    read -r screen_width screen_height < <(xdotool getdisplaygeometry)
    off=$((X + WIDTH / 2 - screen_width / 2)) off_y=$((Y + HEIGHT / 2 - screen_height / 2))
    [ "${off#-}" -le 4 ] && [ "${off_y#-}" -le 4 ] ||
      fail "the file dialog stands at $X,$Y (${WIDTH}x$HEIGHT) on a ${screen_width}x$screen_height screen"
    drive dialog-cancel "Set Kestrune Path"
    step "Start at Log-in writes the Run value for this Tarvex.exe; chosen again, it deletes it"
    for expected in "\"$(winepath -w "$app/Tarvex.exe")\"" ""; do
      drive dialog 8
      wait_for 100 run_value_is "$expected" || fail "the Run value is '$(run_value)', not '$expected'"
    done
    step "a close request"
    drive close 20
    ended "the close request"
    pair_saved ZRDTIMES.DAT || fail "no saved pair: $(od -c ZRDTIMES.DAT)"
    ;;

  launch)
    settings GoodMoon=off BadMoon=off
    mkdir -p "$work/game"
    cp "$stand_in" "$work/game/vrak.exe"
    printf '%s\\\r\n' "$(winepath -w "$work/game")" >ZRDDIR.DAT
    calibrate 12:00:00 03/10/0002  # no moon near
    step "start with the game folder set, arm the auto-run for the next real minute"
    start_tarvex_exe
    drive dialog 6 "Auto Run Kestrune"
    drive arm-real-time
    step "wait for the launch and the log-in"
    timeout 100 wine "$driver" expect-keys "$(winepath -w "$work/game/keys.log")" 90
    drive close 20
    ;;

  alarms)
    step "a good moon 17 s away (game 23:55 on the 14th, 18 times faster): the warning is due"
    calibrate 23:55:00 03/14/0002
    settings GoodMoon=on BadMoon=off AtStart=off Sound=off
    start_tarvex_exe
    drive notification "GOOD MOON IN 1 MINUTE, AT " 20
    step "Try It in the Moon Alarms dialog, the bad moon's box checked instead: its warning at once"
    drive dialog 7 "Moon Alarms"
    drive dialog-click "Moon Alarms" "Good moon (day 15)"
    drive dialog-click "Moon Alarms" "Bad moon (day 1)"
    drive dialog-click "Moon Alarms" "Try It"
    drive notification "SAMPLE: BAD MOON IN 10 MINUTES, AT " 10
    drive dialog-cancel "Moon Alarms"
    drive close 20
    ;;

  live)
    calibrate 12:00:00 03/10/0002  # no moon near
    settings GoodMoon=on BadMoon=off AtStart=off Sound=off
    start_tarvex_exe
    step "tarvex-cli.exe stores a pair whose good moon is 3 s away: its warning comes"
    timeout 30 wine "$cli" --data-dir "$(winepath -w "$app")" calibrate "$(date +%H:%M:%S)" \
      "$(date +%m/%d/%Y)" 23:59:00 03/14/0002 </dev/null
    drive notification "GOOD MOON IN 1 MINUTE, AT " 20
    step "a close request saves the newer pair"
    drive close 20
    ended "the close request"
    saved=$(sed -n 3,4p ZRDTIMES.DAT | tr -d '\r' | tr '\n' ' ')
    [[ $saved =~ ^(23:59:[0-9][0-9]\ 03/14/0002|00:0[0-9]:[0-9][0-9]\ 03/15/0002)\ $ ]] ||
      fail "the pair saved holds $saved, not the newer pair a few seconds on"
    ;;

  window)
    settings GoodMoon=off BadMoon=off
    calibrate 12:00:00 03/10/0002  # no moon near
    start_tarvex_exe
    drive tray 10
    drive clock-hidden 1
    step "Clock Window, after Start at Log-in in the tray's menu, shows the clock window"
    drive dialog 9
    drive clock 10
    step "Stay on Top in the window's own menu, after Clock Window"
    drive clock-menu 10
    drive clock-topmost
    step "moved, closed, started again: at the same place, on top"
    drive clock-move 140 90
    sleep 1  # the next tick keeps the place
    drive close 20
    ended "the close request"
    grep -q $'^Left=140\r$' TARVEX.INI && grep -q $'^Top=90\r$' TARVEX.INI &&
      grep -q $'^OnTop=on\r$' TARVEX.INI || fail "TARVEX.INI holds $(cat TARVEX.INI)"
    start_tarvex_exe
    drive clock 10 140 90
    drive clock-topmost
    step "hidden from its own menu; a second start shows it again"
    drive clock-menu 9
    drive clock-hidden 5
    timeout 30 wine "$app/Tarvex.exe" </dev/null
    drive clock 10
    drive close 20
    ;;

  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASSED: $scenario"
