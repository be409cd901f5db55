#!/bin/sh
# The simulated ZEMTRAK.DLL must export the four CT-API functions undecorated at ordinals 2 to 5,
# where the program's ordinal imports look for them.
set -eu
objdump=$1 dll=$2
dump=$("$objdump" -p "$dll")
base=$(echo "$dump" | awk '/^Ordinal Base/ { print $NF; exit }')
[ -n "$base" ] || { echo "no export table"; exit 1; }
table=$(echo "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } /^[ \t]*$/ { on = 0 } on')
echo "$table"
status=0
for expected in CT_init:2 CT_close:3 CT_data:4 CT_version:5; do
  name=${expected%:*} ordinal=${expected#*:}
  index=$(echo "$table" | awk -v n="$name" '$NF == n { gsub(/[][]/, "", $0); print $1 }')
  if [ -z "$index" ] || [ $((base + index)) -ne "$ordinal" ]; then
    echo "$name is not exported by that name at ordinal $ordinal"
    status=1
  fi
done
exit $status
