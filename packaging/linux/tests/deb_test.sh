#!/usr/bin/env bash
# The Debian package that `make package` built: lintian reports no errors; the manual page knows
# every command and option of tarvex-cli; its programs, unpacked into a temporary root, run and keep
# their data in the per-user folder, though root could write beside them; where the tests run as
# root, dpkg installs it and removes it again.
#   deb_test.sh BUILD_DIR VERSION
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
set -euo pipefail
deb="$1/tarvex_$2_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb: 'make package' builds it"

timeout 180 lintian --display-info "$deb" || fail "lintian reports errors"

dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/tarvex usr/share/man/man1/tarvex-cli.1.gz usr/share/doc/tarvex/copyright \
            usr/share/doc/tarvex/changelog.gz usr/share/icons/hicolor/{16x16,256x256}/apps/tarvex.png; do
  [ -f "$work/root/$file" ] || fail "the package lacks /$file"
done
grep -q '^License: Expat' "$work/root/usr/share/doc/tarvex/copyright" &&
  grep -q 'MIT licence' "$work/root/usr/share/doc/tarvex/copyright" ||
  fail "the copyright file does not name Tarvex's licence, MIT (Expat)"
found=$(desktop-file-validate "$work/root/usr/share/applications/tarvex.desktop" 2>&1) && [ -z "$found" ] ||
  fail "desktop-file-validate: $found"

# The manual page names every command of tarvex-cli and every option that a command's help shows.
manual=$(zcat "$work/root/usr/share/man/man1/tarvex-cli.1.gz" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
cli="$work/root/usr/bin/tarvex-cli"
for command in $("$cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z-]*\).*/\1/p' | sort -u); do
  for word in "$command" $("$cli" "$command" --help | grep -oE -- '--[a-z-]+' | sort -u); do
    grep -qF -- "$word" <<<"$manual" || fail "the manual page of tarvex-cli lacks $command's $word"
  done
done

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"
mkdir -p "$HOME"
IFS=. read -r major minor _ <<<"$2"
expected=$(printf '%s.%02d' "$major" "$minor")  # as the programs show it: 0.7.0 is "0.07"
# Runs the programs of one install: their version, the status, and where the data files went.
check_programs() {  # BIN_DIR
  [ "$(timeout 20 "$1/tarvex-cli" --version)" = "$expected" ] || fail "$1/tarvex-cli --version"
  timeout 20 "$1/tarvex" --help >/dev/null || fail "$1/tarvex --help"
  rm -rf "$XDG_CONFIG_HOME"
  [ "$(timeout 20 "$1/tarvex-cli" status | wc -l)" -eq 3 ] || fail "$1/tarvex-cli status"
  [ -f "$XDG_CONFIG_HOME/tarvex/ZRDTIMES.DAT" ] || fail "no data files in the per-user folder"
  ! ls "$1" | grep -E '^(ZRD|TARVEX|\.tarvex)' || fail "data files written beside $1/tarvex-cli"
}
check_programs "$work/root/usr/bin"

if [ "$(id -u)" -ne 0 ]; then
  echo "not root: dpkg -i and dpkg -r not tried"
elif dpkg-query -W -f='${Status}' tarvex 2>/dev/null | grep -q 'ok installed'; then
  echo "a tarvex package is installed on this machine already: dpkg -i and dpkg -r not tried"
else
  before_cleanup() { dpkg -r tarvex >/dev/null 2>&1; }
  timeout 120 dpkg -i "$deb" || fail "dpkg -i $deb"
  check_programs /usr/bin
  timeout 120 dpkg -r tarvex || fail "dpkg -r tarvex"
  [ ! -e /usr/bin/tarvex-cli ] && [ ! -e /usr/share/applications/tarvex.desktop ] ||
    fail "dpkg -r left the programs behind"
fi
echo "PASS: $deb"
