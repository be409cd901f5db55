#!/bin/sh
# Shipped code includes none of the C++ library's streams, locales, paths or regular expressions:
# each of them brings hundreds of KB of locale machinery into every binary. Nor <system_error>:
# the Windows binaries' lean runtime (release/LeanRuntime.cpp) throws no std::system_error, so code
# written against one would wait for it in vain. Everything outside
# tests/ and bench/ ships (the program, the drivers, Halvex, the Linux libraries, kelvanor-cli).
#   check-lean-includes.sh ROOT
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cd "$1"
headers='iostream|istream|ostream|fstream|sstream|strstream|syncstream|spanstream|iomanip|locale|codecvt|filesystem|regex|format|print|system_error'
found=$(sh "$here/shipped-sources.sh" | xargs -r grep -HnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($headers)[>\"]" || true)
if [ -n "$found" ]; then
  echo "$found"
  echo "shipped code includes stream, locale, path or regex headers (above): read files with"
  echo "ini::ReadTextFile (common/IniFile.h), write them with <cstdio>, format with <charconv> or snprintf"
  exit 1
fi
echo "no stream, locale, path or regex headers in shipped code"
