#!/usr/bin/env bash
# Takes the pictures in docs/ (or in FOLDER): the Linux program's alerts on dunst, its tip, menu
# and dialogs on a private display with a tray; then Tarvex.exe's tip, menu, dialogs and alert
# and the setup program's pages under Wine. `make package` builds what it shows.
#   tools/screenshots.sh [FOLDER]
# It runs itself on the desktops of the desktop tests: `qt` through with_desktop.sh on a private
# session bus, `win32` in the Wine session of wine-session.sh.
self=$(realpath "$0")
cd "$(dirname "$self")/.." || exit 1
case ${1:-} in
  qt | win32) part=$1 docs=$2 ;;
  *)
    docs=$(realpath -m "${1:-docs}")
    platform/qt/tests/with_desktop.sh "$self" qt "$docs" &&
      platform/win32/tests/wine-session.sh build-win/wineprefix build-win/tests/tarvex_driver.exe \
        "$self" win32 "$docs"
    exit
    ;;
esac
source tests/desktop_lib.sh
mkdir -p "$docs"

# snap FILE WIDTHxHEIGHT+X+Y [BORDER]: that part of the screen, framed in BORDER black pixels.
snap() {
  import -window root "$work/screen.png" &&
    convert "$work/screen.png" -crop "$2" +repage -bordercolor black -border "${3:-0}" \
      "$docs/$1" || fail "no picture $1"
  echo "wrote $docs/$1 ($2)"
}

# The Moon Alarms dialog shows settings a player has shaped.
shaped_alarms() {
  settings WarningMinutes=10 Repeat=5 AtStart=on AtEnd=on Sound=on QuietFrom=23:00 QuietTo=07:00 \
    'GoodSound=/home/player/sounds/gong.wav'
}

if [ "$part" = qt ]; then
  require dbus-run-session dunst dunstctl
  private_session_bus "$self" "$@"
  cp build/bin/tarvex "$app/tarvex"
  export XDG_CACHE_HOME="$work/cache"
  start_dunst
  # A good moon a few seconds away (game 23:59 on the 14th): its warning and its start alert.
  calibrate 23:59:00 03/14/0002
  settings Sound=off
  start_tarvex
  wait_for 100 shown 2 || fail "dunst did not show two alerts"
  geometry "$(xdotool search --onlyvisible --class dunst | head -n1)"
  snap qt-alert.png $((WIDTH + 20))x$((HEIGHT + 20))+$((X - 10))+$((Y - 10))
  dunstctl close-all
  geometry "$icon"
  icon_x=$X icon_y=$Y icon_w=$WIDTH icon_h=$HEIGHT
  xdotool mousemove $((icon_x + icon_w / 2)) $((icon_y + icon_h / 2))
  wait_for 50 count_windows 2 || fail "no tip"
  geometry "$(new_window "$icon")"
  snap qt-tooltip.png $((WIDTH + 20))x$((768 - Y + 10))+$((X - 10))+$((Y - 10))
  xdotool mousemove 500 300 && wait_for 50 count_windows 1
  # Each dialog, filled in: dialog FILE TITLE MENU_KEYS [+KEYS | TEXT]...
  dialog() {
    open_dialog "$2" "$3"
    for step in "${@:4}"; do
      case $step in +*) xdotool key ${step#+} ;; *) xdotool type --delay 20 "$step" ;; esac
    done
    geometry "$dialog" && snap "$1" "${WIDTH}x$HEIGHT+$X+$Y"
    xdotool key Escape
    wait_for 50 count_windows 1 || fail "Escape left $2 open"
  }
  # The real time and date as the dialog opens with them; the game's as a player types them.
  dialog qt-datetime.png 'Set Date and Time' 'Down Return' '+Tab Tab' 10:00:00 +Tab 03/15/0002
  dialog qt-autorun.png 'Auto Run Kestrune' 'Down Down Down Down Down Down Return' '+Tab Tab' \
    10:30:00 +Tab 03/14/0002 '+Tab Tab Tab' /home/player/Kestrune/hero.zrd '+Tab Tab' secret
  shaped_alarms && sleep 1  # taken up at the next tick
  dialog qt-alarms.png 'Moon Alarms' 'Down Down Down Down Down Down Down Return'
  # The menu opens at the mouse, over the icon: the picture runs down to the screen's bottom.
  open_menu
  geometry "$menu"
  left=$((X < icon_x ? X : icon_x)) top=$((Y < icon_y ? Y : icon_y))
  snap qt-menu.png $((icon_x + icon_w - left + 16))x$((768 - top + 8))+$((left - 8))+$((top - 8))
  # The clock window, from its item in the menu still open, framed by a window manager.
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  xdotool key Up Up Return
  wait_for 50 named Tarvex || fail "Clock Window showed no window"
  wait_for 50 eval 'xprop -id "$(named Tarvex)" _NET_FRAME_EXTENTS | grep -q =' || fail "no frame"
  sleep 1
  window=$(named Tarvex)
  IFS=', ' read -r l r t b <<<"$(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //')"
  at() { xwininfo -id "$window" | sed -n "s/^ *$1: *//p"; }  # the client's place and size
  snap qt-clock-window.png "$(($(at Width) + l + r))x$(($(at Height) + t + b))+$(($(at \
    'Absolute upper-left X') - l))+$(($(at 'Absolute upper-left Y') - t))" 4
  exit
fi

driver=$(realpath build-win/tests/tarvex_driver.exe)
setup=$(realpath "$(ls build-win/Tarvex-*-setup.exe | tail -n1)")
version=${setup##*/Tarvex-} version=${version%-setup.exe}
cp build-win/bin/Tarvex.exe "$app/Tarvex.exe"
cd "$app" || exit 1
before_cleanup() { close_tarvex_exe; }
# shot NAME WHAT: win32-NAME.png, the window titled WHAT once it has been painted; WHAT "tray":
# the tray window at the top left and the menu or notification beside it, all that differs from
# the black screen up there (a closed dialog's picture stays in the middle, since Xvfb does not
# paint the bare screen again). The black border makes black the colour trimmed.
shot() {
  local geometry
  [ "$2" = tray ] || wait_for 100 named "$2" || fail "no window $2"
  sleep 1
  if [ "$2" = tray ]; then
    import -window root "$work/screen.png"
    geometry=$(convert "$work/screen.png" -crop 320x280+0+0 +repage -bordercolor black \
      -border 1 -fuzz 1% -trim -format '%wx%h%X%Y' info: |
      awk -F'[x+]' '{ print $1 "x" $2 "+" $3 - 1 "+" $4 - 1 }')
  else
    geometry "$(named "$2")"
    geometry=${WIDTH}x$HEIGHT+$X+$Y
  fi
  snap "win32-$1.png" "$geometry" 4
}

# The alarms as they come, and no moon for hours (game day 8): only "Try It" shows an alert.
calibrate 12:00:00 01/08/0001
start_tarvex_exe
drive tray 10
# The tip shows while the mouse rests on the tray's icon: on the black screen, all that is not.
xdotool mousemove 12 32
sleep 3
import -window root "$work/screen.png"
convert "$work/screen.png" -fuzz 1% -trim +repage -bordercolor black -border 4 \
  "$docs/win32-tip.png" && echo "wrote $docs/win32-tip.png"
# The menu opens where the mouse is: just under the tray; "Start at Log-in" checked.
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
wine reg add "$run_key" /v Tarvex /d "\"$(winepath -w "$app/Tarvex.exe")\"" /f >/dev/null 2>&1
xdotool mousemove 24 50
drive menu-open 10
shot menu tray
drive menu-close
wine reg delete "$run_key" /v Tarvex /f >/dev/null 2>&1
shaped_alarms && sleep 1
while read -r -u 3 item name caption; do
  drive dialog "$item" "$caption"
  shot "$name" "$caption"
  [ "$name" = alarms ] || drive dialog-cancel "$caption"
done 3<<<$'1 datetime Set Date and Time\n6 autorun Auto Run Kestrune\n7 alarms Moon Alarms'
# The sample alert beside the tray; it stays for 10 s after the dialog has gone.
drive dialog-click "Moon Alarms" "Try It"
drive notification "GOOD MOON" 10
drive dialog-cancel "Moon Alarms"
shot alert tray
drive dialog 9  # "Clock Window"
drive clock 10
shot clock-window Tarvex
drive close 20

# The setup program's pages, and the uninstaller's; the Modern UI's pages from the progress on add
# a blank subcaption.
caption="Tarvex $version Setup"
wine "$setup" >"$work/setup.log" 2>&1 </dev/null &
pids+=($!)
shot setup-welcome "$caption"
drive dialog-click "$caption" "&Next >"
shot setup-licence "$caption "
drive dialog-click "$caption " "&Next >"
shot setup-options "$caption"
drive dialog-click "$caption" "&Install"
drive wait-main 30 || fail "setup did not start Tarvex"  # its last step
shot setup-finish "$caption "
drive dialog-click "$caption " "&Finish"
wine cmd /c '%LOCALAPPDATA%\Programs\Tarvex\Uninstall.exe' >>"$work/setup.log" 2>&1 </dev/null
shot setup-uninstall "Tarvex Uninstall "
drive dialog-click "Tarvex Uninstall " "&Uninstall"
drive dialog-click "Tarvex Uninstall " "&Close" 50
