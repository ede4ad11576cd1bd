#!/usr/bin/env bash
# The log-in typed on a Wayland desktop: sway, headless, with Xwayland, and Waybar's tray as the
# StatusNotifierItem host on a private session bus. The real tarvex's item registers with Waybar
# and its menu answers through dbusmenu; armed through that menu and the auto-run dialog (typed
# with wtype, through Wayland's virtual-keyboard protocol), it starts the stand-in game under Wine
# on Xwayland and types the whole log-in: the character file, and a password of every printable
# ASCII character with é, ß, €, Ж and 中, between 23 Tabs and 4 Enters. Once with Qt on Wayland,
# once with Qt on Xwayland (xcb). Run as root, it runs itself as nobody: sway refuses root.
#   sway_login_test.sh PATH/TO/tarvex PATH/TO/vrak_stand_in.exe WINE_PREFIX
# With TARVEX_SWAY_SHOT=FILE.png, Waybar with the icon in its tray is kept there (grim).
set -uo pipefail
if [ "$(id -u)" -eq 0 ]; then
  # As nobody, from a copy that nobody can read: the build may sit in root's home. The Wine prefix
  # is kept where nobody can keep it, else made afresh beside the copy.
  command -v setpriv >/dev/null || { echo "skipped: setpriv is not installed" && exit 77; }
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  sources=$(cd "$(dirname "$0")/../../.." && pwd)
  stage=$(mktemp -d /tmp/tarvex-sway.XXXXXX) || exit 1
  trap 'rm -rf "$stage"' EXIT
  mkdir -p "$stage/tests" "$stage/platform/qt/tests" "$stage/bin" "$stage/wine"
  cp "$sources/tests/desktop_lib.sh" "$sources/tests/session-bus.conf" "$stage/tests/" &&
    cp "$(realpath "$0")" "$stage/platform/qt/tests/" && cp "$1" "$stage/bin/tarvex" || exit 1
  [ ! -f "$2" ] || cp "$2" "$stage/bin/vrak_stand_in.exe"
  [ ! -x "$(dirname "$1")/tarvex-cli" ] || cp "$(dirname "$1")/tarvex-cli" "$stage/bin/"
  chmod -R a+rX "$stage" && chown nobody:nogroup "$stage/wine"
  prefix=$(realpath -m "$3")
  mkdir -p "$prefix" && chown -R nobody:nogroup "$prefix"
  as_nobody test -w "$prefix" || prefix="$stage/wine/prefix"
  as_nobody env -u XDG_RUNTIME_DIR -u DBUS_SESSION_BUS_ADDRESS HOME=/nonexistent \
    bash "$stage/platform/qt/tests/sway_login_test.sh" "$stage/bin/tarvex" \
    "$stage/bin/vrak_stand_in.exe" "$prefix"
  exit
fi

source "$(dirname "$0")/../../../tests/desktop_lib.sh"
require sway swaymsg Xwayland waybar wtype setxkbmap xdpyinfo gdbus jq wine wineboot wineserver \
  iconv dbus-run-session
[ -f "$2" ] || fail "no stand-in game at $2 (make windows builds it)"
private_session_bus "$0" "$@"

export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
mkdir -p -m 700 "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK QT_QPA_PLATFORM
mkdir -p "$work/game"
cp "$1" "$app/tarvex"
cp "$2" "$work/game/vrak.exe"
before_cleanup() { wineserver -k 2>/dev/null; }
explain() {
  echo "sway's windows:" && swaymsg -t get_tree 2>/dev/null | jq -r '.. | objects |
    select(.pid? and .name?) | "  \(.name) (\(.shell), pid \(.pid), focused \(.focused))"'
  tail -n 20 "$work/sway.log" "$work/waybar.log" "$work/tarvex.log" 2>/dev/null
}

# sway on a headless output, drawn without a GPU, with Xwayland started at once; it tells its
# children's environment (WAYLAND_DISPLAY, DISPLAY, SWAYSOCK).
cat >"$work/sway.config" <<EOF
xwayland force
output HEADLESS-1 resolution 1024x768
exec env >"$work/sway.env"
EOF
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway --config "$work/sway.config" >"$work/sway.log" 2>&1 &
pids+=($!)
wait_for 200 grep -q '^DISPLAY=' "$work/sway.env" || fail "sway did not start"
for name in WAYLAND_DISPLAY DISPLAY SWAYSOCK; do
  export "$(grep "^$name=" "$work/sway.env")"
done
wait_for 200 xdpyinfo || fail "Xwayland did not start on $DISPLAY"

# Waybar with its tray, the StatusNotifierItem watcher and host; for the picture, with the game
# clock of tarvex-cli (beside tarvex), asked each second: a running watch would outlive Waybar.
modules='"tray"'
[ -z "${TARVEX_SWAY_SHOT:-}" ] || modules='"custom/tarvex", "tray"'
cat >"$work/waybar.json" <<EOF
{ "layer": "top", "position": "top", "height": 30, "modules-right": [$modules],
  "custom/tarvex": { "exec": "$(dirname "$1")/tarvex-cli --data-dir $app status --waybar",
                     "interval": 1, "return-type": "json", "format": "{}" },
  "tray": { "icon-size": 22, "spacing": 8 } }
EOF
cat >"$work/waybar.css" <<'EOF'
* { font-family: sans-serif; font-size: 13px; }
window#waybar { background: #2b2b2b; }
#tray, #custom-tarvex { padding: 0 10px; color: #e0e0e0; }
EOF
waybar --config "$work/waybar.json" --style "$work/waybar.css" >"$work/waybar.log" 2>&1 &
pids+=($!)
watcher() {  # a property of the watcher, as gdbus prints it
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher "$1"
}
wait_for 200 eval 'watcher IsStatusNotifierHostRegistered | grep -q true' ||
  fail "Waybar's tray registered no StatusNotifierItem host"

use_wine_prefix "$3" || fail "no Wine prefix"
# The game folder, and a calibration that starts at game time 10:00:00 on game day 03/10/0002
# now: the game clock runs 18 times as fast as the real one, so a game minute comes every few
# seconds. No moon alarm: its alert would be one more window.
printf '%s/\r\n' "$work/game" >"$app/ZRDDIR.DAT"

character="/home/player/Kestrune/hero (1).zrd"
password=""
for ((c = 32; c < 127; c++)); do password+=$(printf "\\$(printf %03o "$c")"); done
password+="éß€Ж中"
tabs() { printf '\t%.0s' $(seq "$1"); }
expected="$(tabs 4)"$'\r'"$character"$'\r\r'"$(tabs 9)$password$(tabs 10)"$'\r'
log="$work/game/keys.log"
received() { iconv -f UTF-16LE -t UTF-8 "$log" 2>/dev/null | sed -n '/^ready$/,$p' | tail -c +7; }
logged_in() { [ "$(received | tr -cd '\r' | wc -c)" -ge 4 ]; }  # the last key is the 4th Enter

# The item that tarvex registered with the watcher, as "service object-path", and its menu.
item() { watcher RegisteredStatusNotifierItems | grep -oE "'[^']+'" | head -n1 | tr -d "'"; }
menu_call() {  # a method of com.canonical.dbusmenu on the item's menu
  gdbus call --session --dest "$service" --object-path "$menu" \
    --method "com.canonical.dbusmenu.$1" "${@:2}"
}
menu_id() {  # the id of the menu's entry labelled $1
  menu_call GetLayout 0 1 '[]' | grep -oP "\(\K\d+(?=, \{[^}]*'label': <'$1'>)" | head -n1
}
# The focused window in sway, by its title.
focused_title() { swaymsg -t get_tree | jq -r '.. | objects | select(.focused? == true) | .name'; }
is_focused() { [ "$(focused_title)" = "$1" ]; }
has_window() { swaymsg -t get_tree | jq -e --arg t "$1" '[.. | objects | select(.name? == $t)] |
  length > 0' >/dev/null; }

for platform in wayland xcb; do
  step "Qt on $platform"
  rm -f "$log"
  calibrate 10:00:00 03/10/0002
  settings GoodMoon=off BadMoon=off
  QT_QPA_PLATFORM=$platform "$app/tarvex" >>"$work/tarvex.log" 2>&1 &
  tarvex_pid=$!
  wait_for 150 eval '[ -n "$(item)" ]' || fail "$platform: the tray item did not register"
  registered=$(item)
  service=${registered%%/*} path=/${registered#*/}
  menu=$(gdbus call --session --dest "$service" --object-path "$path" --method \
    org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu | grep -oP "'\K/[^']+")
  [ -n "$menu" ] || fail "$platform: the item has no menu"
  menu_call AboutToShow 0 >/dev/null || fail "$platform: the menu does not answer"
  wait_for 50 eval '[ -n "$(menu_id "Auto Run Kestrune")" ]' ||
    fail "$platform: no Auto Run Kestrune in the menu: $(menu_call GetLayout 0 1 '[]')"
  pass "$platform: the item registered with Waybar's tray, and its menu answers"
  if [ -n "${TARVEX_SWAY_SHOT:-}" ] && [ "$platform" = wayland ] && command -v grim >/dev/null; then
    sleep 2  # Waybar draws the icon once it has read it
    grim -g "624,0 400x30" "$TARVEX_SWAY_SHOT"
  fi

  menu_call Event "$(menu_id "Auto Run Kestrune")" clicked '<0>' 0 >/dev/null
  wait_for 100 is_focused 'Auto Run Kestrune' ||
    fail "$platform: the auto-run dialog did not open with the focus"
  # Kestrune Time, four game minutes (about 13 seconds) from now. The seat's keyboard lives while
  # wtype runs: each field's keys in one call, after a pause for the keyboard to be taken up.
  minute=$(((36000 + 18 * ($(date +%s) - now)) / 60 + 4))
  wtype -s 400 -k Tab -k Tab -- "$(printf '%02d:%02d:00' $((minute / 60)) $((minute % 60)))"
  wtype -s 400 -k Tab -- 03/10/0002
  wtype -s 400 -k Tab -k Tab -k Tab -- "$character"
  wtype -s 400 -k Tab -k Tab -- "$password"
  wtype -s 400 -k Return
  wait_for 100 eval '! has_window "Auto Run Kestrune"' ||
    fail "$platform: the auto-run dialog did not close"
  # wtype leaves behind a keymap of the characters that it typed, which Xwayland keeps: a player's
  # keyboard has a whole layout.
  setxkbmap -display "$DISPLAY" us >/dev/null 2>&1 || fail "setxkbmap gave Xwayland no keymap"

  wait_for 600 logged_in || fail "$platform: no whole log-in within a minute: $(received | od -c)"
  if [ "$(received)" != "$expected" ]; then
    echo "received:" && received | od -c && echo "expected:" && printf %s "$expected" | od -c
    fail "$platform: the log-in did not arrive as typed"
  fi
  pass "$platform: the whole log-in was typed into the game under Xwayland ($(received | wc -m) characters)"
  timeout 30 wine taskkill /f /im vrak.exe >/dev/null 2>&1
  wait_for 100 eval '! has_window "Kestrune Log-in"'
  stop_tarvex
done
echo "all passed"
