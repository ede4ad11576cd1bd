#!/usr/bin/env bash
# Runs a command (the Windows build's tests) in a private Wine session with its own X display:
#   wine-session.sh PREFIX_FOLDER DRIVER COMMAND...
# The Wine prefix is made once, quietly; the wine server, Wine's desktop (kept up by the test
# driver DRIVER) and Xvfb last for the whole command, so that every program of the tests shares
# one desktop, one tray and one display.
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
driver=$(realpath "$2")
before_cleanup() { wineserver -k 2>/dev/null; }
start_display true || exit 1
# Without a window manager on Xvfb, Wine draws the title bars itself (seen in screenshots).
use_wine_prefix "$1" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f ||
  fail "no Wine prefix"
shift 2
# One server for all the tests' programs (it would otherwise come and go with each of them).
wineserver -p
# Wine's background services and its desktop start with the first program that needs them and
# keep that program's output open. Started here, they hold no pipe that a test's output is read
# from (CTest would wait for it); the desktop would otherwise come and go between the tests.
wine cmd /c exit >/dev/null 2>&1 </dev/null
wine "$driver" hold >/dev/null 2>&1 </dev/null &
"$@"
