#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb) that has a system tray (trayer), then takes the
# display down again. Exits 77 (skipped) when the desktop tools are not installed. With
# WITH_DESKTOP_TRAY=none the display has no tray, as GNOME without an extension for one.
#   with_desktop.sh COMMAND [ARGUMENT...]
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
require Xvfb xdpyinfo trayer xdotool xwininfo

start_tray() {
  trayer --edge bottom --align right --widthtype request --height 32 --SetDockType true \
    --transparent false --tint 0x404040 --expand true >"$work/trayer.log" 2>&1 &
  pids+=($!)
  wait_for 100 xdotool search --name '^panel$' || { cat "$work/trayer.log"; return 1; }
}
if [ "${WITH_DESKTOP_TRAY:-}" = none ]; then
  start_display true || exit 1
else
  start_display start_tray || exit 1
fi
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
# A private session: its own runtime folder (the instance lock) and settings.
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

timeout --kill-after=5 "${WITH_DESKTOP_TIMEOUT:-150}" "$@"
