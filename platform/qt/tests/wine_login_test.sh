#!/usr/bin/env bash
# The log-in typed into a Windows program under Wine (run it through with_desktop.sh): on a
# desktop with openbox and a tray, the real tarvex is armed through its menu and the auto-run
# dialog, starts the stand-in game through Wine in a private prefix, and types the whole log-in:
# 23 Tabs and 4 Enters in order, the character file, and a password of every printable ASCII
# character with é, ß, €, Ж and 中. Three launches in a row; every one must arrive whole.
#   wine_login_test.sh PATH/TO/tarvex PATH/TO/vrak_stand_in.exe WINE_PREFIX
set -uo pipefail

for tool in wine wineboot wineserver openbox xprop xkbcomp iconv; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (tools/install-deps.sh desktop installs it)"
    exit 77
  fi
done
[ -f "$2" ] || { echo "FAIL: no stand-in game at $2 (make windows builds it)"; exit 1; }

work=$(mktemp -d)
mkdir -p "$work/app" "$work/game"
cp "$1" "$work/app/tarvex"
cp "$2" "$work/game/vrak.exe"
export WINEPREFIX=$(realpath -m "$3") WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="  # no downloads of Mono or Gecko
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wineserver -k 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  xdotool search --onlyvisible --name . 2>/dev/null | while read -r id; do
    echo "  window $id: $(xdotool getwindowname "$id")"
  done
  exit 1
}
wait_for() {
  local tenths=$1
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 100 xprop -root -notype _NET_SUPPORTING_WM_CHECK || fail "openbox did not start"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "making the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 && wineserver -w || fail "no Wine prefix"
fi

# The game folder, and a calibration that starts at game time 10:00:00 on game day 03/15/0002
# now: the game clock runs 18 times as fast as the real one, so a game minute comes every few
# seconds.
printf '%s/\r\n' "$work/game" >"$work/app/ZRDDIR.DAT"
start=$(date +%s)
printf '%s\r\n%s\r\n10:00:00\r\n03/15/0002\r\n' "$(date -d "@$start" +%H:%M:%S)" \
  "$(date -d "@$start" +%m/%d/%Y)" >"$work/app/ZRDTIMES.DAT"
"$work/app/tarvex" &
pids+=($!)
wait_for 100 xdotool search --onlyvisible --class tarvex || fail "no tray icon"
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --class tarvex)")"
icon_x=$((X + WIDTH / 2)) icon_y=$((Y + HEIGHT / 2))

character="/home/player/Kestrune/hero (1).zrd"
password=""
for ((c = 32; c < 127; c++)); do password+=$(printf "\\$(printf %03o "$c")"); done
ascii=$password others="éß€Ж中"
password+=$others
tabs() { printf '\t%.0s' $(seq "$1"); }
expected="$(tabs 4)"$'\r'"$character"$'\r\r'"$(tabs 9)$password$(tabs 10)"$'\r'
log="$work/game/keys.log"
received() { iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | sed -n '/^ready$/,$p' | tail -c +7; }
logged_in() { [ "$(received | tr -cd '\r' | wc -c)" -ge 4 ]; }  # the last key is the 4th Enter
# Whether no key carries 中 any more: the key codes borrowed for the log-in have been given back.
given_back() { ! xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -q U4E2D; }
menu_open() { [ "$(xdotool search --onlyvisible --class tarvex | wc -l)" -ge 2 ]; }

for run in 1 2 3; do
  rm -f "$log"
  xdotool mousemove "$icon_x" "$icon_y" click 3
  wait_for 50 menu_open || fail "the right button opened no menu"
  xdotool key Down Down Down Down Down Down Return  # "Auto Run Kestrune", past the separators
  wait_for 50 xdotool search --onlyvisible --name '^Auto Run Kestrune$' || fail "no auto-run dialog"
  # Kestrune Time, three game minutes (about ten seconds) from now.
  minute=$(((36000 + 18 * ($(date +%s) - start)) / 60 + 3))
  xdotool key Tab Tab && xdotool type "$(printf '%02d:%02d:00' $((minute / 60)) $((minute % 60)))"
  xdotool key Tab && xdotool type 03/15/0002
  xdotool key Tab Tab Tab && xdotool type -- "$character"
  # xdotool maps a character that no key carries just for its press, so that Qt, which reads
  # the keyboard map when it gets to the change, takes a moment over each of them.
  xdotool key Tab Tab && xdotool type -- "$ascii" && xdotool type --delay 300 -- "$others"
  xdotool key Return
  wait_for 50 bash -c "! xdotool search --onlyvisible --name '^Auto Run Kestrune\$'" ||
    fail "the auto-run dialog did not close"
  wait_for 600 logged_in || fail "run $run: no whole log-in within a minute: $(received | od -c)"
  if [ "$(received)" != "$expected" ]; then
    echo "received:" && received | od -c && echo "expected:" && printf %s "$expected" | od -c
    fail "run $run: the log-in did not arrive as typed"
  fi
  echo "ok: run $run typed the whole log-in ($(received | wc -m) characters)"
  wait_for 100 given_back || fail "run $run: the borrowed key codes were not given back"
  timeout 30 wine taskkill /f /im vrak.exe >/dev/null 2>&1
  wait_for 100 bash -c "! xdotool search --onlyvisible --name '^Kestrune Log-in\$'"
done
echo "all passed"
