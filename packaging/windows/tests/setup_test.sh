#!/usr/bin/env bash
# The Windows setup program under Wine, in the Wine session of the Windows build's tests
# (platform/win32/tests/wine-session.sh):
#
#   setup_test.sh test        SETUP TARVEX DRIVER
#   setup_test.sh screenshots SETUP TARVEX DRIVER DOCS   (writes DOCS/win32-setup-*.png)
#
# test: a silent install with /RUN puts the programs, the uninstaller, the Start-menu shortcut, the
# uninstall key and the log-in entry in place and starts Tarvex, whose icon shows in the tray. A
# second silent install upgrades in place and closes the running Tarvex politely first: it saves
# its pair; a log-in entry that the user removed stays away. The silent uninstaller closes the
# installed Tarvex the same way, removes all that setup installed and keeps the data files,
# wherever Tarvex keeps them.
# screenshots: the pages of an install and of the uninstaller, clicked through by the driver.
# TARVEX, the build's Tarvex.exe, only tells whether SETUP was made from it. Every wait is bounded;
# CTest runs the script under a watchdog (timeout).
if [ -z "${DISPLAY:-}" ] || ! command -v wine >/dev/null; then
  echo "SKIPPED: needs Wine and a display; run through platform/win32/tests/wine-session.sh" >&2
  exit 77
fi
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
scenario=$1 setup=$2 tarvex=$3 driver=$(realpath "$4") docs=${5:+$(realpath -m "$5")}
[ -f "$setup" ] || fail "no setup program $setup: \`make package\` makes it"
[ "$setup" -nt "$tarvex" ] || fail "$setup is older than $tarvex: \`make package\` makes it anew"
version=${setup##*/Tarvex-} version=${version%-setup.exe}
# Shortcuts stay in the prefix: Wine's menu builder would copy them into this desktop's menus.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winemenubuilder.exe=d"

uninstall='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvex'
run='Software\Microsoft\Windows\CurrentVersion\Run'
{ read -r local_win && read -r appdata_win; } < <(wine cmd /c 'echo %LOCALAPPDATA%&echo %APPDATA%' |
  tr -d '\r')
instdir_win="$local_win\\Programs\\Tarvex"
instdir=$(winepath -u "$instdir_win")
shortcut=$(winepath -u "$appdata_win\\Microsoft\\Windows\\Start Menu\\Programs\\Tarvex.lnk")
programs=(Tarvex.exe tarvex-cli.exe Uninstall.exe)

before_cleanup() {  # no Tarvex outlives the test: politely first, then for good
  timeout 15 wine "$driver" close 10 >/dev/null 2>&1 || true
  [ -z "$tarvex_pid" ] || kill "$tarvex_pid" 2>/dev/null
}
step() { echo "--- $*"; }
drive() { timeout 60 wine "$driver" "$@"; }
install() { timeout 60 wine "$setup" "$@" >>"$work/setup.log" 2>&1 </dev/null || fail "setup $*"; }
value() { sed -n "s/^ *$1 \{2,\}REG_[A-Z_]* \{2,\}//p"; }  # NAME's data in a `reg query` listing
check_key() {  # check_key KEY NAME=DATA...: the key holds these values
  local key=$1 listing
  listing=$(wine reg query "HKCU\\$key" 2>/dev/null | tr -d '\r')
  shift
  for pair; do
    [ "$(value "${pair%%=*}" <<<"$listing")" = "${pair#*=}" ] ||
      fail "HKCU\\$key: ${pair%%=*} is '$(value "${pair%%=*}" <<<"$listing")', not '${pair#*=}'"
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

case $scenario in
  test)
    step "a silent install that starts Tarvex"
    install /S /RUN
    installed
    log_in_entry
    drive tray 30 || fail "the installed Tarvex shows no icon"
    # The data files, made at the start: beside the programs, or in the per-user folder.
    data=$instdir
    [ -f "$data/ZRDTIMES.DAT" ] || data=$(winepath -u "$appdata_win\\Tarvex")
    [ -f "$data/ZRDTIMES.DAT" ] || fail "the installed Tarvex made no ZRDTIMES.DAT"
    echo "the data files are in $data"

    step "a silent upgrade closes the running Tarvex (which saves its pair), keeps no log-in entry"
    : >"$data/ZRDTIMES.DAT"
    wine reg delete "HKCU\\$run" /v Tarvex /f >/dev/null 2>&1 || fail "reg delete"
    install /S
    pair_saved "$data/ZRDTIMES.DAT" || fail "Tarvex saved no pair when the upgrade closed it"
    drive wait-main 0 && fail "Tarvex still runs after the silent upgrade"
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
    drive wait-main 0 && fail "Tarvex still runs after the uninstaller"
    ended "the uninstaller closed it"
    pair_saved "$data/ZRDTIMES.DAT" || fail "Tarvex saved no pair when the uninstaller closed it"
    for program in "${programs[@]}"; do ! test -e "$instdir/$program" || fail "$program stays"; done
    [ "$data" = "$instdir" ] || ! test -e "$instdir" || fail "the install folder stays"
    ! test -e "$shortcut" || fail "the Start-menu shortcut stays"
    no_key "$run" /v Tarvex || fail "the log-in entry stays"
    for file in ZRDTIMES.DAT ZRDDIR.DAT TARVEX.INI; do
      test -f "$data/$file" || fail "the uninstaller removed $file"
    done
    ;;

  screenshots)
    shots=$docs
    shot() {  # shot NAME CAPTION: the window of that caption, once it has been painted
      wait_for 100 named "$2" || fail "no window $2"
      sleep 1
      geometry "$(named "$2")"
      shoot "win32-setup-$1.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
    }
    caption="Tarvex $version Setup"
    wine "$setup" >>"$work/setup.log" 2>&1 </dev/null &
    pids+=($!)
    wait_for 300 named "$caption" || fail "no setup window"
    shot welcome "$caption"
    drive dialog-click "$caption" "&Next >" || fail "no Next button"
    shot options "$caption"
    drive dialog-click "$caption" "&Install" || fail "no Install button"
    drive wait-main 30 || fail "setup did not start Tarvex"  # its last step
    caption+=" "  # the Modern UI's pages from the progress on add a blank subcaption
    shot finish "$caption"
    drive dialog-click "$caption" "&Finish" || fail "no Finish button"
    wait_for 100 closed "$caption" || fail "setup did not close"
    installed
    caption="Tarvex Uninstall "
    wine "$instdir/Uninstall.exe" >>"$work/setup.log" 2>&1 </dev/null
    wait_for 300 named "$caption" || fail "no uninstaller window"
    shot uninstall "$caption"
    drive dialog-click "$caption" "&Uninstall" || fail "no Uninstall button"
    wait_for 300 uninstalled || fail "the uninstaller did not finish"
    drive dialog-click "$caption" "&Close" || fail "no Close button"
    ;;

  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
echo "PASSED: $scenario"
