# Helpers of the desktop test scripts of both front-ends, sourced by them: a work folder and the
# processes started in it, taken down on exit; reporting; bounded waits; a private X display; a
# private Wine prefix; the program's windows on the display. A script may define `explain` (what
# to print when it fails) and `before_cleanup` (run first on exit).
set -uo pipefail

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
fail() {
  echo "FAIL: $*"
  declare -F explain >/dev/null && explain
  exit 1
}
require() {  # skips the test (77) unless every tool named is installed
  for tool; do
    command -v "$tool" >/dev/null && continue
    echo "skipped: $tool is not installed (tools/install-deps.sh desktop installs it)"
    exit 77
  done
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
# or Gecko, which nothing here needs.
use_wine_prefix() {
  export WINEPREFIX=$(realpath -m "$1") WINEDEBUG=-all WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml="
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  echo "making the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX" && wineboot -i >/dev/null 2>&1 &&
    { [ $# -lt 2 ] || "${@:2}" >/dev/null 2>&1; } && wineserver -w
}

# The program's visible windows, one id a line.
windows() { xdotool search --onlyvisible --class tarvex 2>/dev/null | sort; }
count_windows() { [ "$(windows | wc -l)" -eq "$1" ]; }
new_window() { comm -13 <(echo "$1") <(windows) | head -n1; }  # visible now, not in $1
named() { xdotool search --onlyvisible --name "^$1\$" | head -n1; }  # a window by its title
closed() { ! named "$1" >/dev/null 2>&1; }
focused() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }  # sets X Y WIDTH HEIGHT
shoot() {  # shoot FILE X Y WIDTH HEIGHT: that part of the screen, when $shots names a folder
  [ -n "${shots:-}" ] || return 0
  mkdir -p "$shots"
  import -window root -crop "$4x$5+$2+$3" +repage "$shots/$1" || fail "screenshot $1"
  echo "screenshot: $shots/$1"
}
pair_saved() {  # file $1 holds a saved pair: four CR LF lines of 8, 10, 8 and 10 characters
  [ "$(stat -c %s "$1")" -eq 44 ] &&
    [ "$(tr -d '\r' <"$1" | awk '{ printf "%d,", length($0) }')" = "8,10,8,10," ]
}

# The Qt program copied to $app, until its icon shows (in $icon); its errors go to $tarvex_err
# when set.
start_tarvex() {
  "$app/tarvex" 2>>"${tarvex_err:-/dev/stderr}" &
  tarvex_pid=$!
  wait_for 100 count_windows 1 || fail "no tray icon appeared"
  icon=$(windows)
}
ended() {  # waits for the program's end, which must come with status 0 ($1: how it was ended)
  wait "$tarvex_pid"
  local status=$?
  tarvex_pid=""
  [ $status -eq 0 ] || fail "$1: status $status"
}
open_menu() {  # the right button on the icon; sets menu to the window that opened
  local before
  before=$(windows)
  geometry "$icon"
  # From elsewhere onto the icon, as a hand comes: a pointer already resting there after a menu
  # chosen by keys sometimes left the tray's icon deaf to the next click.
  xdotool mousemove 0 0 sleep 0.2 mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) sleep 0.2 click 3
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
