#!/usr/bin/env bash
# Runs a command (the Windows build's tests) in a private Wine session with its own X display:
#   wine-session.sh PREFIX_FOLDER DRIVER COMMAND...
# The Wine prefix is made once, quietly; the wine server, Wine's desktop (kept up by the test
# driver DRIVER) and Xvfb last for the whole command, so that every program of the tests shares
# one desktop, one tray and one display.
set -euo pipefail

export WINEPREFIX=$(realpath -m "$1")
driver=$(realpath "$2")
shift 2
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
  # Without a window manager on Xvfb, Wine draws the title bars itself (seen in screenshots).
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
fi
# One server for all the tests' programs (it would otherwise come and go with each of them).
wineserver -p || true
# Wine's background services and its desktop start with the first program that needs them and
# keep that program's output open. Started here, they hold no pipe that a test's output is read
# from (CTest would wait for it); the desktop would otherwise come and go between the tests.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
wine "$driver" hold >/dev/null 2>&1 </dev/null &
"$@"
