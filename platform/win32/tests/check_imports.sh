#!/usr/bin/env bash
# The Windows programs import only DLLs that ship with Windows: everything else is linked in.
#   check_imports.sh OBJDUMP PROGRAM...
set -euo pipefail
objdump=$1
shift
system_dlls='^(kernel32|user32|gdi32|shell32|comdlg32|comctl32|advapi32|ole32|oleaut32|msvcrt|ws2_32|version|winmm|ntdll|shlwapi|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
for program in "$@"; do
  while read -r dll; do
    if [[ ${dll,,} =~ $system_dlls ]]; then
      echo "ok: $(basename "$program") imports $dll"
    else
      echo "FAILED: $(basename "$program") imports $dll, which Windows does not ship"
      status=1
    fi
  done < <("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
exit $status
