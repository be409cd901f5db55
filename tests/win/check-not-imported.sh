#!/bin/sh
# check-not-imported.sh OBJDUMP BINARY DLL: fails if BINARY imports DLL at start-up.
set -eu
imports=$("$1" -p "$2" | grep "DLL Name:")
echo "$imports"
if echo "$imports" | grep -qi "DLL Name: $3\$"; then
  echo "FAIL: $2 imports $3"
  exit 1
fi
