#!/usr/bin/env bash
# Starts Tarvex: in the system tray when a desktop with a tray is present, otherwise the command
# line's live view in this terminal.
set -euo pipefail
cd "$(dirname "$0")/.."

desktop=""
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then desktop=yes; fi

if [ -n "$desktop" ] && [ -x build/bin/tarvex ]; then
  # --check-tray answers within two seconds whether a system tray is there.
  if timeout 10 build/bin/tarvex --check-tray 2>/dev/null; then
    echo "Tarvex runs in the system tray: right-click its icon for the menu; Exit or Ctrl+C ends it."
    exec build/bin/tarvex
  fi
  echo "This desktop shows no system tray: here is the live terminal view instead (Ctrl+C ends it)."
elif [ -z "$desktop" ]; then
  echo "No desktop display here: here is the live terminal view instead (Ctrl+C ends it)."
fi
exec build/bin/tarvex-cli watch
