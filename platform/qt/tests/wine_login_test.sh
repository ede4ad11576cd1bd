#!/usr/bin/env bash
# The log-in typed into a Windows program under Wine (run it through with_desktop.sh): on a
# desktop with openbox and a tray, the real tarvex is armed through its menu and the auto-run
# dialog, starts the stand-in game through Wine in a private prefix, and types the whole log-in:
# 23 Tabs and 4 Enters in order, the character file, and a password of every printable ASCII
# character with é, ß, €, Ж and 中. Three launches in a row; every one must arrive whole.
#   wine_login_test.sh PATH/TO/tarvex PATH/TO/vrak_stand_in.exe WINE_PREFIX
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
require wine wineboot wineserver openbox xprop xkbcomp xmodmap iconv
[ -f "$2" ] || fail "no stand-in game at $2 (make windows builds it)"
mkdir -p "$work/game"
cp "$1" "$app/tarvex"
cp "$2" "$work/game/vrak.exe"
before_cleanup() { wineserver -k 2>/dev/null; }
explain() { show_windows; }

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 100 xprop -root -notype _NET_SUPPORTING_WM_CHECK || fail "openbox did not start"
use_wine_prefix "$3" || fail "no Wine prefix"

# The game folder, and a calibration that starts at game time 10:00:00 on game day 03/15/0002
# now: the game clock runs 18 times as fast as the real one, so a game minute comes every few
# seconds.
printf '%s/\r\n' "$work/game" >"$app/ZRDDIR.DAT"
calibrate 10:00:00 03/15/0002
# No moon alarm: the good moon's day is in progress, and its alert would be one more window to
# tell apart from the menu.
settings GoodMoon=off BadMoon=off
start_tarvex

character="/home/player/Kestrune/hero (1).zrd"
password=""
for ((c = 32; c < 127; c++)); do password+=$(printf "\\$(printf %03o "$c")"); done
ascii=$password others="éß€Ж中" syms=(eacute ssharp EuroSign Cyrillic_zhe U4E2D)
password+=$others
tabs() { printf '\t%.0s' $(seq "$1"); }
expected="$(tabs 4)"$'\r'"$character"$'\r\r'"$(tabs 9)$password$(tabs 10)"$'\r'
log="$work/game/keys.log"
received() { iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | sed -n '/^ready$/,$p' | tail -c +7; }
logged_in() { [ "$(received | tr -cd '\r' | wc -c)" -ge 4 ]; }  # the last key is the 4th Enter
# Whether a key carries 中.
mapped() { xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -qw U4E2D; }
# Whether no key carries any of é, ß, €, Ж and 中 any more: every key code borrowed for the log-in
# has been given back, so that none is taken back from under the next run's typing.
given_back() {
  ! xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -qwiE 'eacute|ssharp|EuroSign|Cyrillic_zhe|U4E2D'
}

# One log-in, armed through the menu and the dialog; false when it arrived other than typed.
log_in() {
  rm -f "$log"
  # "Auto Run Kestrune", past the separators
  open_dialog 'Auto Run Kestrune' 'Down Down Down Down Down Down Return'
  # Kestrune Time, three game minutes (about ten seconds) from now.
  minute=$(((36000 + 18 * ($(date +%s) - now)) / 60 + 3))
  xdotool key Tab Tab && xdotool type "$(printf '%02d:%02d:00' $((minute / 60)) $((minute % 60)))"
  xdotool key Tab && xdotool type 03/15/0002
  xdotool key Tab Tab Tab && xdotool type -- "$character"
  # The characters that no key carries are typed on the highest spare key codes, mapped for the
  # typing only: xdotool's own mapping of one just for its press can be gone by the time Qt reads
  # the key. Tarvex then borrows codes of its own for them, as on any keyboard.
  xdotool key Tab Tab && xdotool type -- "$ascii"
  spare=($(xmodmap -pke | awk 'NF == 3 { print $2 }' | tail -n 5))
  for i in 0 1 2 3 4; do xmodmap -e "keycode ${spare[i]} = ${syms[i]} ${syms[i]}"; done
  wait_for 50 mapped || fail "run $run: xmodmap mapped nothing"
  sleep 1.5  # Qt takes up the new map with its next events, later on a busy machine
  xdotool type --delay 100 -- "$others"
  for code in "${spare[@]}"; do xmodmap -e "keycode $code ="; done
  wait_for 50 given_back || fail "run $run: the keys mapped for typing stay"
  xdotool key Return
  wait_for 50 closed 'Auto Run Kestrune' || fail "the auto-run dialog did not close"
  wait_for 600 logged_in || fail "run $run: no whole log-in within a minute: $(received | od -c)"
  local arrived=0
  [ "$(received)" = "$expected" ] && arrived=1
  if [ "$arrived" = 0 ]; then
    echo "received:" && received | od -c && echo "expected:" && printf %s "$expected" | od -c
  fi
  wait_for 100 given_back || fail "run $run: the borrowed key codes were not given back"
  timeout 30 wine taskkill /f /im vrak.exe >/dev/null 2>&1
  wait_for 100 closed 'Kestrune Log-in'
  [ "$arrived" = 1 ]
}

# Now and then, on a busy machine, characters typed on borrowed key codes go missing between the
# keyboard map and Wine (seen in about one log-in of ten); a run so hit is tried once more and
# said so, and a run that fails twice fails the test.
for run in 1 2 3; do
  if ! log_in; then
    echo "run $run: the log-in did not arrive as typed; trying it once more"
    log_in || fail "run $run: the log-in did not arrive as typed, twice"
  fi
  echo "ok: run $run typed the whole log-in ($(received | wc -m) characters)"
done
echo "all passed"
