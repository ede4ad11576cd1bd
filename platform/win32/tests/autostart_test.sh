#!/usr/bin/env bash
# tarvex-cli.exe autostart under Wine, in the prefix of the Wine session: "on" makes the value
# Tarvex under the user's Run key hold the quoted full path of the Tarvex.exe beside
# tarvex-cli.exe, "autostart" reads it back (letter case aside), "off" deletes the value.
#   autostart_test.sh TARVEX-CLI.EXE
source "$(dirname "$0")/../../../tests/desktop_lib.sh"
cli=${1:?usage: autostart_test.sh TARVEX-CLI.EXE}
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
autostart() { code=0; out=$(wine "$cli" autostart "$@" 2>&1 </dev/null | tr -d '\r') || code=$?; }
value() { run_value | grep . || echo none; }  # the Run value Tarvex, or "none"
tray=$(winepath -w "$(dirname "$(realpath "$cli")")/Tarvex.exe" 2>/dev/null | tr -d '\r')

wine reg delete "$key" /v Tarvex /f >/dev/null 2>&1 </dev/null
autostart; check "autostart without the value" "0 off" "$code $out"
autostart on; check "autostart on" "0 " "$code $out"
check "the value holds the quoted path of Tarvex.exe" "\"$tray\"" "$(value)"
autostart; check "autostart after on" "0 on" "$code $out"
wine reg add "$key" /v Tarvex /d "\"${tray^^}\"" /f >/dev/null 2>&1 </dev/null
autostart; check "the path in capitals is the same program" "0 on" "$code $out"
wine reg add "$key" /v Tarvex /d '"C:\Games\Tarvex.exe"' /f >/dev/null 2>&1 </dev/null
autostart; check "another Tarvex.exe is not this one" "0 off" "$code $out"
autostart off; check "autostart off" "0  none" "$code $out $(value)"
autostart off; check "autostart off without the value" "0 " "$code $out"
checked "autostart under Wine"
