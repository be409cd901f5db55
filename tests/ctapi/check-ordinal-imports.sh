#!/bin/sh
# kelvanor.exe must import ZEMTRAK.DLL's four functions by ordinals 2 to 5 and by no name.
set -eu
objdump=$1 exe=$2
section=$("$objdump" -p "$exe" | awk '/DLL Name:/ { on = ($3 == "ZEMTRAK.DLL") } /^[ \t]*$/ { on = 0 } on')
echo "$section"
[ -n "$section" ] || { echo "ZEMTRAK.DLL is not imported"; exit 1; }
ordinals=$(echo "$section" | awk 'NF == 3 && $3 == "<none>" { print $2 + 0 }' | sort -n | tr '\n' ' ')
named=$(echo "$section" | awk 'NF >= 3 && $3 != "<none>" && $1 ~ /^[0-9a-f]+$/' | wc -l)
[ "$ordinals" = "2 3 4 5 " ] || { echo "ordinal imports: '$ordinals', expected 2 3 4 5"; exit 1; }
[ "$named" -eq 0 ] || { echo "ZEMTRAK.DLL functions imported by name"; exit 1; }
echo "ZEMTRAK.DLL imported by ordinals 2 3 4 5 only"
