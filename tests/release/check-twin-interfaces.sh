#!/bin/sh
# A 32-bit binary offers and needs what its 64-bit twin does: the same exports by ordinal and name
# (undecorated: a stdcall "@8" where the twin has none is a difference), the same DLLs, and the same
# imports from ZEMTRAK.DLL, the one DLL of ours that others import (by ordinal). Windows' own DLLs
# give each architecture its own runtime functions, so only their names are compared.
#   check-twin-interfaces.sh OBJDUMP BINARY32 BINARY64
set -eu
objdump=$1 binary32=$2 binary64=$3
[ -f "$binary64" ] || { echo "no 64-bit twin $binary64: build the windows preset first"; exit 1; }

# "export ORDINAL NAME" ("-" for none), "dll NAME" and "import zemtrak.dll ORDINAL-OR-NAME" lines.
interface() {
  "$objdump" -p "$1" | awk '
    /^Export Address Table -- Ordinal Base/ { base = $NF; part = "addresses"; next }
    /^\[Ordinal\/Name Pointer\] Table/ { part = "names"; next }
    /DLL Name:/ { dll = tolower($3); print "dll " dll; part = "imports"; next }
    /^[ \t]*$/ { part = "" }
    part == "addresses" && /\+base\[/ {
      line = $0; sub(/.*\+base\[ */, "", line); sub(/\].*/, "", line); exported[line + 0] = 1
    }
    part == "names" && /\[/ {
      line = $0; sub(/^[ \t]*\[ */, "", line); at = line; sub(/\].*/, "", at); sub(/^[^]]*\] */, "", line)
      named[at + base] = line
    }
    part == "imports" && dll == "zemtrak.dll" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 {
      print "import " dll " " ($3 == "<none>" ? "ordinal " ($2 + 0) : $NF)
    }
    END { for (o in exported) print "export " o " " (o in named ? named[o] : "-") }' | sort -u
}

interface "$binary32" > "${TMPDIR:-/tmp}/twin32.$$"
interface "$binary64" > "${TMPDIR:-/tmp}/twin64.$$"
trap 'rm -f "${TMPDIR:-/tmp}/twin32.$$" "${TMPDIR:-/tmp}/twin64.$$"' EXIT
cat "${TMPDIR:-/tmp}/twin32.$$"
only32=$(comm -23 "${TMPDIR:-/tmp}/twin32.$$" "${TMPDIR:-/tmp}/twin64.$$")
only64=$(comm -13 "${TMPDIR:-/tmp}/twin32.$$" "${TMPDIR:-/tmp}/twin64.$$")
[ -z "$only32$only64" ] && { echo "the same as its 64-bit twin"; exit 0; }
[ -z "$only32" ] || printf '32-bit only:\n%s\n' "$only32"
[ -z "$only64" ] || printf '64-bit only:\n%s\n' "$only64"
exit 1
