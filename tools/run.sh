#!/usr/bin/env bash
# Starts Tarvex on a desktop: in the system tray, or in its clock window where no tray is; without
# a desktop, the command line's live view in this terminal.
set -euo pipefail
cd "$(dirname "$0")/.."

desktop=""
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then desktop=yes; fi

if [ -n "$desktop" ] && [ -x build/bin/tarvex ]; then
  # --check-tray answers within two seconds whether a system tray is there; it names a display
  # that cannot be reached.
  if timeout 10 build/bin/tarvex --check-tray 2>"${TMPDIR:-/tmp}/tarvex-check.$$"; then
    echo "Tarvex runs in the system tray: right-click its icon for the menu; Exit or Ctrl+C ends it."
    rm -f "${TMPDIR:-/tmp}/tarvex-check.$$"
    exec build/bin/tarvex
  fi
  if ! grep -q 'no display' "${TMPDIR:-/tmp}/tarvex-check.$$"; then
    rm -f "${TMPDIR:-/tmp}/tarvex-check.$$"
    echo "This desktop shows no system tray: Tarvex opens its clock window in a few seconds;"
    echo "right-click it for the menu. Closing it ends Tarvex."
    exec build/bin/tarvex
  fi
  rm -f "${TMPDIR:-/tmp}/tarvex-check.$$"
fi
echo "No desktop display here: here is the live terminal view instead (Ctrl+C ends it)."
exec build/bin/tarvex-cli watch
