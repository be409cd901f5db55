#!/bin/sh
# The PC/SC ZEMTRAK.DLL must run on a bare Windows: it may import from Windows' own DLLs only.
set -eu
objdump=$1 dll=$2
imports=$("$objdump" -p "$dll" | awk '/DLL Name:/ { print tolower($3) }' | sort -u)
echo "$imports"
[ -n "$imports" ] || { echo "no import table"; exit 1; }
status=0
for name in $imports; do
  case $name in
    kernel32.dll | msvcrt.dll | winscard.dll | advapi32.dll | user32.dll | api-ms-win-*) ;;
    *) echo "$name is not a Windows system DLL"; status=1 ;;
  esac
done
echo "$imports" | grep -qx winscard.dll || { echo "winscard.dll is not imported"; status=1; }
exit $status
