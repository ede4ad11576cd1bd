#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb) that has a system tray (trayer), then takes the
# display down again. Exits 77 (skipped) when the desktop tools are not installed.
#   with_desktop.sh COMMAND [ARGUMENT...]
set -uo pipefail

for tool in Xvfb xdpyinfo trayer xdotool xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (tools/install-deps.sh desktop installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Starts Xvfb (it picks a free display number itself and writes it to the pipe) and trayer on it.
start_desktop() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  wait_for 100 test -s "$work/display" || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  wait_for 100 xdpyinfo || return 1
  trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
    --transparent false --tint 0x404040 --expand true >"$work/trayer.log" 2>&1 &
  pids+=($!)
  wait_for 100 xdotool search --name '^panel$'
}

# A display number that another program has just given up can be taken again before it is
# wholly gone, so a failed start is tried afresh.
for attempt in 1 2 3; do
  start_desktop && break
  echo "no desktop on attempt $attempt:" && cat "$work/xvfb.log" "$work/trayer.log"
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  pids=()
  rm -f "$work/display"
  [ "$attempt" -eq 3 ] && exit 1
done
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
# A private session: its own runtime folder (the instance lock) and settings.
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

timeout --kill-after=5 "${WITH_DESKTOP_TIMEOUT:-150}" "$@"
