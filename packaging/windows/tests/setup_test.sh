#!/usr/bin/env bash
# The Windows setup program under Wine, in the Wine session of the Windows build's tests
# (platform/win32/tests/wine-session.sh):
#
#   setup_test.sh test SETUP TARVEX DRIVER
#
# A silent install with /RUN puts the programs, the uninstaller, the Start-menu shortcut, the
# uninstall key and the log-in entry in place and starts Tarvex, whose icon shows in the tray. A
# second silent install upgrades in place and closes the running Tarvex politely first: it saves
# its pair; a log-in entry that the user removed stays away. The silent uninstaller closes the
# installed Tarvex the same way, removes all that setup installed and keeps the data files,
# wherever Tarvex keeps them. (tools/screenshots.sh clicks through the pages for docs/.)
# TARVEX, the build's Tarvex.exe, only tells whether SETUP was made from it. Every wait is bounded;
# CTest runs the script under a watchdog (timeout).
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
in_wine_session
setup=$2 driver=$(realpath "$4")
[ -f "$setup" ] || fail "no setup program $setup: \`make package\` makes it"
[ "$setup" -nt "$3" ] || fail "$setup is older than $3: \`make package\` makes it anew"
version=${setup##*/Tarvex-} version=${version%-setup.exe}

uninstall='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvex'
run='Software\Microsoft\Windows\CurrentVersion\Run'
{ read -r local_win && read -r appdata_win; } < <(wine cmd /c 'echo %LOCALAPPDATA%&echo %APPDATA%' |
  tr -d '\r')
instdir_win="$local_win\\Programs\\Tarvex"
instdir=$(winepath -u "$instdir_win")
shortcut=$(winepath -u "$appdata_win\\Microsoft\\Windows\\Start Menu\\Programs\\Tarvex.lnk")
programs=(Tarvex.exe tarvex-cli.exe Uninstall.exe)

before_cleanup() { close_tarvex_exe; }  # no Tarvex outlives the test: politely first
install() { timeout 60 wine "$setup" "$@" >>"$work/setup.log" 2>&1 </dev/null || fail "setup $*"; }
check_key() {  # check_key KEY NAME=DATA...: the key holds these values
  local listing  # NAME=DATA, one a line
  listing=$(wine reg query "HKCU\\$1" 2>/dev/null | tr -d '\r' |
    sed -E 's/^ *(.*\S) {2,}REG_\S* {2,}/\1=/')
  for pair in "${@:2}"; do
    grep -qxF -- "$pair" <<<"$listing" || fail "HKCU\\$1 holds no $pair: $listing"
  done
}
no_key() { ! wine reg query "HKCU\\$1" "${@:2}" >/dev/null 2>&1; }
installed() {  # what every install puts in place
  for program in "${programs[@]}"; do test -f "$instdir/$program" || fail "no $program"; done
  test -f "$shortcut" || fail "no Start-menu shortcut $shortcut"
  check_key "$uninstall" DisplayName=Tarvex DisplayVersion="$version" Publisher=Tarvex \
    DisplayIcon="$instdir_win\\Tarvex.exe" UninstallString="\"$instdir_win\\Uninstall.exe\"" \
    QuietUninstallString="\"$instdir_win\\Uninstall.exe\" /S"
}
log_in_entry() { check_key "$run" Tarvex="\"$instdir_win\\Tarvex.exe\""; }
uninstalled() { ! test -e "$instdir/Uninstall.exe" && no_key "$uninstall"; }

# What an earlier run that failed may have left.
rm -rf "$instdir" "$shortcut"
wine reg delete "HKCU\\$uninstall" /f >/dev/null 2>&1
wine reg delete "HKCU\\$run" /v Tarvex /f >/dev/null 2>&1

step "a silent install that starts Tarvex"
# A player's pair, stored before (an installed Tarvex keeps its data in the per-user folder): a
# Tarvex with none saves nothing on closing and asks for the date and time at its start.
data=$(winepath -u "$appdata_win\\Tarvex")
mkdir -p "$data"
calibrate 12:00:00 03/10/0002 && mv "$app/ZRDTIMES.DAT" "$data/ZRDTIMES.DAT"
install /S /RUN
installed
log_in_entry
drive tray 30 || fail "the installed Tarvex shows no icon"
[ -f "$data/ZRDDIR.DAT" ] || fail "the installed Tarvex made no ZRDDIR.DAT in $data"
echo "the data files are in $data"

step "a silent upgrade closes the running Tarvex (which saves its pair), keeps no log-in entry"
: >"$data/ZRDTIMES.DAT"
wine reg delete "HKCU\\$run" /v Tarvex /f >/dev/null 2>&1 || fail "reg delete"
install /S
pair_saved "$data/ZRDTIMES.DAT" || fail "Tarvex saved no pair when the upgrade closed it"
installed
no_key "$run" /v Tarvex || fail "the upgrade brought the log-in entry back"
# As Tarvex's "Start at Log-in" writes it.
wine reg add "HKCU\\$run" /v Tarvex /d "\"$instdir_win\\Tarvex.exe\"" /f >/dev/null 2>&1 ||
  fail "reg add"
log_in_entry

step "the installed programs: Tarvex in the tray, tarvex-cli writes TARVEX.INI"
wine "$instdir/Tarvex.exe" >"$work/tarvex.log" 2>&1 </dev/null &
tarvex_pid=$!
drive tray 30 || fail "the installed Tarvex shows no icon"
wine "$instdir/tarvex-cli.exe" alarms set warning=5 </dev/null || fail "tarvex-cli alarms set"
: >"$data/ZRDTIMES.DAT"

step "the silent uninstaller: it runs from a copy of itself, so it returns at once"
wine "$instdir/Uninstall.exe" /S >>"$work/setup.log" 2>&1 </dev/null || fail "Uninstall.exe"
wait_for 600 uninstalled || fail "the uninstaller did not finish"
ended "the uninstaller closed it"
pair_saved "$data/ZRDTIMES.DAT" || fail "Tarvex saved no pair when the uninstaller closed it"
for program in "${programs[@]}"; do ! test -e "$instdir/$program" || fail "$program stays"; done
[ "$data" = "$instdir" ] || ! test -e "$instdir" || fail "the install folder stays"
! test -e "$shortcut" || fail "the Start-menu shortcut stays"
no_key "$run" /v Tarvex || fail "the log-in entry stays"
for file in ZRDTIMES.DAT ZRDDIR.DAT TARVEX.INI; do
  test -f "$data/$file" || fail "the uninstaller removed $file"
done
echo "PASSED"
