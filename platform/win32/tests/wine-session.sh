#!/usr/bin/env bash
# Runs a command (the Windows build's tests) in a private Wine session with its own X display:
#   wine-session.sh PREFIX_FOLDER COMMAND...
# The Wine prefix is made once, quietly; the wine server and Xvfb last for the whole command, so
# that every program of the tests shares one desktop, one tray and one display.
set -euo pipefail

export WINEPREFIX=$(realpath -m "$1")
shift
export WINEDEBUG=-all
export WINEARCH=win64
# No downloads of Mono or Gecko: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# A free display number.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done

finish() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap finish EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi
wineserver -p
"$@"
