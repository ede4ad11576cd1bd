# Helpers of the test scripts (and of tools/screenshots.sh), sourced by them: a work folder and
# the processes started in it, taken down on exit; reporting, and checks that count failures; bounded
# waits; a private X display, session bus and Wine prefix; the data files; the program's windows
# on the display; Tarvex.exe under Wine. A script may define `explain` (what to print when it
# fails) and `before_cleanup` (run first on exit).
set -uo pipefail
lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvex-test.XXXXXX")
app="$work/app"  # where the program under test is copied, so that its data files land there
mkdir -p "$app"
pids=()
tarvex_pid=""  # the program under test, when it runs
stop_pids() {  # ends the processes started since pids held $1 of them, the latest first
  for ((i = ${#pids[@]} - 1; i >= $1; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait "${pids[@]:$1}" 2>/dev/null || true
  pids=("${pids[@]:0:$1}")
}
cleanup() {  # safe under set -e too
  if declare -F before_cleanup >/dev/null; then before_cleanup || true; fi
  if [ -n "$tarvex_pid" ]; then kill -KILL "$tarvex_pid" 2>/dev/null || true; fi
  stop_pids 0
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

pass() { echo "ok: $*"; }
step() { echo "--- $*"; }
fail() {
  echo "FAIL: $*"
  declare -F explain >/dev/null && explain
  exit 1
}
failures=0
check() {  # check NAME EXPECTED ACTUAL: says so, and counts one failure more, when they differ
  [ "$2" = "$3" ] && return
  printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  failures=$((failures + 1))
}
checked() { [ "$failures" -eq 0 ] || fail "$failures checks failed"; echo "$*: all checks passed"; }
require() {  # skips the test (77) unless every tool named is installed
  for tool; do
    command -v "$tool" >/dev/null && continue
    echo "skipped: $tool is not installed (tools/install-deps.sh desktop installs it)"
    exit 77
  done
}
in_wine_session() {  # skips the test (77) unless it runs on the display of a Wine session
  [ -n "${DISPLAY:-}" ] && command -v wine >/dev/null && return 0
  echo "skipped: needs Wine and a display; run it through platform/win32/tests/wine-session.sh"
  exit 77
}
wait_for() {  # waits up to $1 tenths of a second for the command after it to succeed
  local tenths=$1
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Starts Xvfb, which picks a free display number itself, exports DISPLAY, and runs "$@" on it. A
# display number that another program has just given up can be taken again before it is wholly
# gone, so a failed start is tried afresh.
start_display() {
  local first=${#pids[@]}
  for attempt in 1 2 3; do
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    pids+=($!)
    wait_for 100 test -s "$work/display" && export DISPLAY=":$(head -n1 "$work/display")" &&
      wait_for 100 xdpyinfo && "$@" && return 0
    echo "no display on attempt $attempt:" && cat "$work/xvfb.log"
    stop_pids "$first"
  done
  return 1
}

# Wine in the private prefix $1, made once, quietly, then running "${@:2}"; no downloads of Mono
# or Gecko, which nothing here needs, and shortcuts kept in the prefix (Wine's menu builder would
# copy them into this desktop's menus).
use_wine_prefix() {
  export WINEPREFIX=$(realpath -m "$1") WINEDEBUG=-all WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  echo "making the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX" && wineboot -i >/dev/null 2>&1 &&
    { [ $# -lt 2 ] || "${@:2}" >/dev/null 2>&1; } && wineserver -w
}

# Runs the script again ("$@": its path and arguments) on a session bus of its own that starts no
# service on demand, unless it runs on one already: only the programs that the script starts
# serve there. Exits with its status.
private_session_bus() {
  [ -z "${TARVEX_PRIVATE_BUS:-}" ] || return 0
  # The bus's own notes (monitors coming and going, a limit it may not raise) are left out.
  TARVEX_PRIVATE_BUS=1 dbus-run-session --config-file="$lib/session-bus.conf" -- "$@" 2>&1 |
    grep --line-buffered -Ev 'became a monitor|Monitoring connection|Failed to set fd limit'
  exit "${PIPESTATUS[0]}"
}
start_dunst() {  # dunst, the notification server, with an empty history
  dunst >"$work/dunst.log" 2>&1 &
  pids+=($!)
  wait_for 100 dunstctl is-paused || fail "dunst did not start"
}
shown() { [ "$(dunstctl count displayed)" -eq "$1" ]; }  # dunst shows $1 notifications now

# The data files in $app. calibrate GAME_TIME GAME_DATE: ZRDTIMES.DAT pairs them with this real
# second, kept in $now; settings KEY=VALUE...: TARVEX.INI holds these alarm settings.
calibrate() {
  now=$(date +%s)
  printf '%s\r\n%s\r\n%s\r\n%s\r\n' "$(date -d "@$now" +%H:%M:%S)" "$(date -d "@$now" +%m/%d/%Y)" \
    "$1" "$2" >"$app/ZRDTIMES.DAT"
}
settings() { printf '%s\r\n' '[Alarms]' "$@" >"$app/TARVEX.INI"; }
pair_saved() {  # file $1 holds a saved pair: four CR LF lines of 8, 10, 8 and 10 characters
  [ "$(stat -c %s "$1")" -eq 44 ] &&
    [ "$(tr -d '\r' <"$1" | awk '{ printf "%d,", length($0) }')" = "8,10,8,10," ]
}

# The program's visible windows, one id a line.
windows() { xdotool search --onlyvisible --class tarvex 2>/dev/null | sort; }
count_windows() { [ "$(windows | wc -l)" -eq "$1" ]; }
new_window() { comm -13 <(echo "$1") <(windows) | head -n1; }  # visible now, not in $1
named() { xdotool search --onlyvisible --name "^$1\$" | head -n1; }  # a window by its title
closed() { ! named "$1" >/dev/null 2>&1; }
focused() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
show_windows() {  # every visible window, with its title: what a failed desktop test shows
  xdotool search --onlyvisible --name . 2>/dev/null | while read -r id; do
    echo "  window $id: $(xdotool getwindowname "$id")"
  done
}
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }  # sets X Y WIDTH HEIGHT

# The Qt program copied to $app, until its icon shows (in $icon); its errors go to $tarvex_err
# when set.
start_tarvex() {
  "$app/tarvex" 2>>"${tarvex_err:-/dev/stderr}" &
  tarvex_pid=$!
  wait_for 100 count_windows 1 || fail "no tray icon appeared"
  icon=$(windows)
}
ended() {  # waits for the program's end, which must come with status 0 ($1: how it was ended)
  wait_for 100 eval "! kill -0 $tarvex_pid" || fail "$1 did not end the program"
  local status=0
  wait "$tarvex_pid" || status=$?
  tarvex_pid=""
  [ $status -eq 0 ] || fail "$1: status $status"
}
stop_tarvex() {  # SIGTERM ends the program, which saves its pair
  rm -f "$app/ZRDTIMES.DAT"
  kill -TERM "$tarvex_pid"
  ended SIGTERM
  pair_saved "$app/ZRDTIMES.DAT" || fail "SIGTERM: no saved pair"
}
open_menu() {  # the right button on the icon, or inside window $1; sets menu to the window that opened
  local before
  before=$(windows)
  geometry "${1:-$icon}"
  # From elsewhere onto the icon, as a hand comes: a pointer already resting there after a menu
  # chosen by keys sometimes left the tray's icon deaf to the next click. In a window, near its
  # corner, on the clock's face.
  [ $# -eq 0 ] && xdotool mousemove 0 0 sleep 0.2 || WIDTH=60 HEIGHT=60
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) sleep 0.2 click 3
  wait_for 50 count_windows $(($(wc -l <<<"$before") + 1)) || fail "the right button opened no menu"
  menu=$(new_window "$before")
}
open_dialog() {  # dialog $1 from the menu by the keys $2; sets dialog once it has the focus
  open_menu
  xdotool key $2
  wait_for 50 named "$1" || fail "$1 opened no dialog"
  dialog=$(named "$1")
  wait_for 30 focused "$dialog"
}

# Tarvex.exe copied to $app under Wine, driven by tarvex_driver.exe ($driver) as the desktop would;
# its output goes to a file, so that nothing it starts holds the test's output open.
drive() { timeout 60 wine "$driver" "$@"; }
start_tarvex_exe() {
  wine "$app/Tarvex.exe" >"$work/tarvex.log" 2>&1 </dev/null &
  tarvex_pid=$!
  drive wait-main 30
}
close_tarvex_exe() { timeout 15 wine "$driver" close 10 >/dev/null 2>&1; }  # it saves its pair

run_value() {  # under Wine: the value Tarvex under the user's Run key; empty when there is none
  wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Tarvex 2>/dev/null \
    </dev/null | tr -d '\r' | sed -n 's/^ *Tarvex *REG_SZ *//p'
}
