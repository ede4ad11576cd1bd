#!/usr/bin/env bash
# Holds the direction of the dependencies: front-ends (platform/<name>, cli) -> presenters (shell ->
# dialogs) -> engine; the tables stand apart. Reads every #include "..." of the tree's C++ and
# resource files and fails on each edge that goes against the direction.
#   include_direction_test.sh [ROOT]
set -uo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2

# What each part may include besides itself. platform/startup.h and platform/autostart.h are the
# start-up services that every program of a platform shares; the resources take the pictures'
# numbers from the engine.
declare -A allowed=(
  [engine]=""
  [tables]=""
  [resources]="engine"
  [dialogs]="engine"
  [shell]="dialogs engine"
  [cli]="engine platform/startup.h platform/autostart.h"
  [platform/startup.h]=""
  [platform/autostart.h]="engine"  # its failures are the engine's Result
  [platform/posix]="engine platform/startup.h platform/autostart.h"
  [platform/qt]="shell dialogs engine platform/startup.h platform/autostart.h"
  [platform/win32]="shell dialogs engine platform/startup.h platform/autostart.h"
)

# The part a path belongs to: its first folder, or its first two under platform/.
part() {
  local first=${1%%/*} rest=${1#*/}
  if [ "$first" = platform ]; then echo "platform/${rest%%/*}"; else echo "$first"; fi
}

failures=0
while IFS= read -r file; do
  from=$(part "$file")
  if [ -z "${allowed[$from]+set}" ]; then
    echo "unknown part $from: $file"; failures=$((failures + 1)); continue
  fi
  while IFS= read -r target; do
    [[ $target == */* ]] || continue  # beside the including file
    to=$(part "$target")
    [ "$to" = "$from" ] && continue
    [[ " ${allowed[$from]} " == *" $to "* ]] && continue
    echo "$file includes $target: $from may not depend on $to"
    failures=$((failures + 1))
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/p' "$file")
done < <(find engine tables resources dialogs shell cli platform -type f \
           \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) 2>/dev/null | sort)

[ "$failures" -eq 0 ] && echo "every #include goes the one way" && exit 0
echo "$failures include(s) against the direction"
exit 1
