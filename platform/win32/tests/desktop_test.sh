#!/usr/bin/env bash
# Desktop tests of Tarvex.exe under Wine, on the display of the Wine session (wine-session.sh).
#
#   desktop_test.sh smoke       TARVEX DRIVER STAND_IN [DOCS]
#   desktop_test.sh launch      TARVEX DRIVER STAND_IN [DOCS]
#   desktop_test.sh alarms      TARVEX DRIVER STAND_IN [DOCS]
#   desktop_test.sh screenshots TARVEX DRIVER STAND_IN DOCS   (writes DOCS/win32-*.png: the tip,
#                                                             the menu, the dialogs, an alert)
#
# smoke: from a fresh folder Tarvex.exe creates its two data files, adds its tray icon (again
# when the shell lost it or restarted), opens the popup menu on the right button's release (not
# on its press), opens and cancels the calibration dialog (the launch scenario opens the auto-run
# one), writes and deletes its log-in entry through "Start at Log-in", refuses a second instance,
# and on a close request saves a 44-byte ZRDTIMES.DAT of four CR LF lines and takes its icon out
# of the tray.
# screenshots: the pictures in docs/, after `make windows`:
#   platform/win32/tests/wine-session.sh build-win/wineprefix build-win/tests/tarvex_driver.exe \
#     platform/win32/tests/desktop_test.sh screenshots build-win/bin/Tarvex.exe \
#     build-win/tests/tarvex_driver.exe build-win/tests/vrak_stand_in.exe docs
# launch: armed through the menu and the auto-run dialog for the next real minute, Tarvex.exe
# starts the stand-in game from the game folder and types the whole log-in into it.
# alarms: with a good moon seconds away, its warning reaches the tray as a notification; "Try It"
# in the Moon Alarms dialog shows a sample of the moon checked there at once. The smoke and launch
# scenarios switch the alarms off.
# Every step waits a bounded time; CTest runs the whole script under a watchdog (timeout).
if [ -z "${DISPLAY:-}" ] || ! command -v wine >/dev/null; then
  echo "SKIPPED: needs Wine and a display; run through platform/win32/tests/wine-session.sh" >&2
  exit 77
fi
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
set -e
scenario=$1
tarvex=$(realpath "$2") driver=$(realpath "$3") stand_in=$(realpath "$4")
docs=${5:+$(realpath -m "$5")}
before_cleanup() {
  if [ -n "$tarvex_pid" ] && kill -0 "$tarvex_pid" 2>/dev/null; then
    # Politely first, then for good, so that no instance outlives the test.
    timeout 15 wine "$driver" close 10 >/dev/null 2>&1 || kill "$tarvex_pid" 2>/dev/null
  fi
  timeout 10 wine taskkill /f /im vrak.exe >/dev/null 2>&1
}
cp "$tarvex" "$app/Tarvex.exe"
cd "$app"

step() { echo "--- $*"; }
drive() { timeout 60 wine "$driver" "$@"; }
open_dialog() { drive command "$1" 10 && drive dialog-wait "$2" 10; }  # menu item $1 opens $2

start_tarvex() {
  # Its output goes to a file, so that nothing it starts holds the test's output open.
  wine "$app/Tarvex.exe" >"$work/tarvex.log" 2>&1 </dev/null &
  tarvex_pid=$!
  drive wait-main 30
}

run_value() {  # the value Tarvex under the user's Run key; empty when there is none
  wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Tarvex 2>/dev/null \
    </dev/null | tr -d '\r' | sed -n 's/^ *Tarvex *REG_SZ *//p'
}
run_value_is() { [ "$(run_value)" = "$1" ]; }

settings() {  # settings GOOD BAD MINUTES AT_START SOUND: TARVEX.INI
  printf '[Alarms]\r\nGoodMoon=%s\r\nBadMoon=%s\r\nWarningMinutes=%s\r\nAtStart=%s\r\nSound=%s\r\n' \
    "$@" >TARVEX.INI
}

calibrate() {  # calibrate GAME_TIME GAME_DATE: ZRDTIMES.DAT pairs them with the present moment
  printf '%s\r\n%s\r\n%s\r\n%s\r\n' "$(date +%H:%M:%S)" "$(date +%m/%d/%Y)" "$1" "$2" >ZRDTIMES.DAT
}

shot() {  # shot NAME WHAT: the screen, cropped to the tray and what opened beside it, or a dialog
  local name=$1 what=$2 geometry
  sleep 1
  import -window root "$work/screen.png"
  if [ "$what" = tray ]; then
    # The tray window at the top left and the menu or notification beside it: all that differs
    # from the black screen up there (a closed dialog's picture stays in the middle, since Xvfb
    # does not paint the bare screen again). The black border makes black the colour trimmed.
    geometry=$(convert "$work/screen.png" -crop 320x240+0+0 +repage -bordercolor black \
      -border 1 -fuzz 1% -trim -format '%wx%h%X%Y' info:)
    geometry=$(echo "$geometry" | awk -F'[x+]' '{ print $1 "x" $2 "+" $3 - 1 "+" $4 - 1 }')
  else
    geometry "$(named "$what")"
    geometry=${WIDTH}x$HEIGHT+$X+$Y
  fi
  convert "$work/screen.png" -crop "$geometry" +repage -bordercolor black -border 4 \
    "$docs/win32-$name.png"
  echo "wrote $docs/win32-$name.png ($geometry)"
}

# No alert (a window of the shell) comes in the way of these scenarios.
case $scenario in smoke | launch) settings off off 10 off off ;; esac

case $scenario in
  smoke)
    step "start from a fresh folder"
    start_tarvex
    test -f ZRDTIMES.DAT && test -f ZRDDIR.DAT
    step "the tray holds the icon"
    drive tray 10
    step "the icon comes back when the shell lost it, and after TaskbarCreated"
    drive tray-drop
    drive tray 10
    drive taskbar-created
    sleep 1
    drive tray 10
    step "one instance per session: a second start ends quietly, the first stays"
    timeout 30 wine "$app/Tarvex.exe" </dev/null
    drive tray 10
    step "the popup menu opens on the right button's release"
    drive menu-open 10
    drive menu-close
    step "Set Date and Time opens the calibration dialog"
    open_dialog 1 "Set Date and Time"
    drive dialog-cancel "Set Date and Time"
    step "Start at Log-in writes the Run value for this Tarvex.exe; chosen again, it deletes it"
    for expected in "\"$(winepath -w "$app/Tarvex.exe")\"" ""; do
      drive command 8 10
      wait_for 100 run_value_is "$expected" || fail "the Run value is '$(run_value)', not '$expected'"
    done
    step "a few ticks, then a close request"
    sleep 1
    drive close 20
    wait "$tarvex_pid" || true
    tarvex_pid=""
    pair_saved ZRDTIMES.DAT || fail "no saved pair: $(od -c ZRDTIMES.DAT)"
    ;;

  launch)
    mkdir -p "$work/game"
    cp "$stand_in" "$work/game/vrak.exe"
    printf '%s\\\r\n' "$(winepath -w "$work/game")" >ZRDDIR.DAT
    step "start with the game folder set"
    start_tarvex
    step "arm the auto-run for the next real minute"
    open_dialog 6 "Auto Run Kestrune"
    drive arm-real-time
    step "wait for the launch and the log-in"
    timeout 100 wine "$driver" expect-keys "$(winepath -w "$work/game/keys.log")" 90
    drive close 20
    ;;

  alarms)
    step "a good moon 17 s away (game 23:55 on the 14th, 18 times faster): the warning is due"
    calibrate 23:55:00 03/14/0002
    settings on off 10 off off
    start_tarvex
    drive notification "GOOD MOON IN 1 MINUTE, AT " 20
    step "Try It in the Moon Alarms dialog, the bad moon's box checked instead: its warning at once"
    open_dialog 7 "Moon Alarms"
    drive dialog-click "Moon Alarms" "Good moon (day 15)"
    drive dialog-click "Moon Alarms" "Bad moon (day 1)"
    drive dialog-click "Moon Alarms" "Try It"
    drive notification "BAD MOON IN 10 MINUTES, " 10
    drive dialog-cancel "Moon Alarms"
    drive close 20
    ;;

  screenshots)
    [ -n "$docs" ] && mkdir -p "$docs"
    # The alarms as they come, and no moon for hours (game day 8): only "Try It" shows an alert.
    settings on on 10 on on
    calibrate 12:00:00 01/08/0001
    start_tarvex
    drive tray 10
    # The tip shows while the mouse rests on the tray's icon.
    xdotool mousemove 12 32
    sleep 3
    import -window root "$work/screen.png"
    convert "$work/screen.png" -fuzz 1% -trim +repage -bordercolor black -border 4 \
      "$docs/win32-tip.png"
    echo "wrote $docs/win32-tip.png"
    # The menu opens where the mouse is: just under the tray; "Start at Log-in" checked.
    run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
    wine reg add "$run_key" /v Tarvex /d "\"$(winepath -w "$app/Tarvex.exe")\"" /f >/dev/null 2>&1
    xdotool mousemove 24 50
    drive menu-open 10
    shot menu tray
    drive menu-close
    wine reg delete "$run_key" /v Tarvex /f >/dev/null 2>&1
    while read -r -u 3 item name caption; do
      open_dialog "$item" "$caption"
      shot "$name" "$caption"
      [ "$name" = alarms ] || drive dialog-cancel "$caption"
    done 3<<<$'1 datetime Set Date and Time\n6 autorun Auto Run Kestrune\n7 alarms Moon Alarms'
    # The sample alert beside the tray; it stays for 10 s after the dialog has gone.
    drive dialog-click "Moon Alarms" "Try It"
    drive notification "GOOD MOON" 10
    drive dialog-cancel "Moon Alarms"
    shot alert tray
    drive close 20
    ;;

  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASSED: $scenario"
