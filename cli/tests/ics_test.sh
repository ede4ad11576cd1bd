#!/usr/bin/env bash
# `moons --ics` read back by a real iCalendar parser (python3-icalendar): the reminders that the
# alarm settings give each event, and none with --no-alarms or for a kind that is off; every line
# ends in CR LF and holds at most 75 octets.
#   ics_test.sh TARVEX-CLI
source "$(dirname "$0")/../../tests/desktop_lib.sh"
cli=${1:?usage: ics_test.sh TARVEX-CLI}
export TZ=EST5EDT,M3.2.0,M11.1.0
run() { "$cli" --data-dir "$work" --at "12/06/2026 23:30:00" "$@"; }
run calibrate 23:30:00 12/06/2026 00:00:00 01/14/0002 || fail "calibrate"

# Each event as "KIND: TRIGGER DESCRIPTION [REPEAT DURATION]; ...", one line an event.
read_back() {
  /usr/bin/python3 -c '
import sys, icalendar
calendar = icalendar.Calendar.from_ical(sys.stdin.buffer.read())
for event in calendar.walk("VEVENT"):
    alarms = []
    for alarm in event.walk("VALARM"):
        assert alarm["ACTION"] == "DISPLAY"
        trigger = alarm["TRIGGER"]
        text = "%s %s" % (trigger.to_ical().decode(), alarm["DESCRIPTION"])
        if trigger.params.get("RELATED"):
            text += " related=" + trigger.params["RELATED"]
        if "REPEAT" in alarm:
            text += " x%d every %s" % (alarm["REPEAT"], alarm["DURATION"].to_ical().decode())
        alarms.append(text)
    print("%s: %s" % (event["SUMMARY"], "; ".join(alarms)))
'
}
lines_ok() {  # every line ends in CR LF and holds at most 75 octets
  LC_ALL=C awk 'BEGIN { RS = "\n" } !/\r$/ || length($0) > 76 { bad++ } END { print bad + 0 }'
}

run moons --ics --count 1 >"$work/default.ics"
check "the default alarms" "Kestrune good moon: -PT10M GOOD MOON IN 10 MINUTES; P0D GOOD MOON NOW|Kestrune bad moon: -PT10M BAD MOON IN 10 MINUTES; P0D BAD MOON NOW" \
  "$(read_back <"$work/default.ics" | paste -sd '|')"
check "default: lines" "0" "$(lines_ok <"$work/default.ics")"
check "default: the triggers as written" "2 2" \
  "$(grep -c $'^TRIGGER:-PT10M\r$' "$work/default.ics") $(grep -c $'^TRIGGER:PT0M\r$' "$work/default.ics")"

run alarms set warning=90 repeat=30 at-end=on at-start=off bad=off
run moons --ics --count 1 >"$work/shaped.ics"
check "repeats, the end, the bad moon off" "Kestrune good moon: -PT1H30M GOOD MOON SOON x2 every PT30M; P0D GOOD MOON OVER related=END|Kestrune bad moon: " \
  "$(read_back <"$work/shaped.ics" | paste -sd '|')"
check "shaped: lines" "0" "$(lines_ok <"$work/shaped.ics")"

run moons --ics --count 1 --no-alarms >"$work/none.ics"
check "--no-alarms" "Kestrune good moon: |Kestrune bad moon: " "$(read_back <"$work/none.ics" | paste -sd '|')"
check "--no-alarms: lines" "0" "$(lines_ok <"$work/none.ics")"
checked "ics"
