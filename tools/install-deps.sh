#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that a build needs, and only those that are absent.
#   tools/install-deps.sh core      compilers, CMake, Ninja, GoogleTest, Google Benchmark, clang's libFuzzer,
#                                   CLI11 and nlohmann/json (header-only), python3-icalendar (a real iCalendar
#                                   parser for the calendar test)
#   tools/install-deps.sh qt        Qt 6 Widgets and D-Bus, and the X Test library, for the Linux desktop
#   tools/install-deps.sh windows   the mingw-w64 cross compiler (with windres), CMake, Ninja, GoogleTest's sources,
#                                   CLI11 and nlohmann/json (header-only)
#   tools/install-deps.sh desktop   Xvfb, Wine, a tray, a window manager, a notification server (dunst) on a private
#                                   D-Bus session, a headless Wayland desktop (sway with Xwayland, Waybar's tray,
#                                   Qt's Wayland platform), and tools that the desktop tests drive
#   tools/install-deps.sh package   NSIS for the Windows setup program; dpkg-dev, lintian and desktop-file-validate
#                                   for the Debian package
set -euo pipefail

declare -A groups=(
  [core]="cmake ninja-build g++ make googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev libcli11-dev nlohmann-json3-dev python3-icalendar"
  [qt]="qt6-base-dev libxtst-dev libgl-dev"
  [windows]="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 cmake ninja-build googletest libcli11-dev nlohmann-json3-dev"
  [package]="nsis dpkg-dev lintian file desktop-file-utils"
  [desktop]="xvfb xauth wine wine64 trayer openbox xdotool x11-utils x11-xserver-utils imagemagick dunst dbus-daemon dbus-bin jq sway waybar xwayland wtype qt6-wayland x11-xkb-utils libglib2.0-bin grim"
)

missing=()
for group in "$@"; do
  for pkg in ${groups[$group]:?unknown group $group}; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
