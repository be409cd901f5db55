#!/bin/sh
# Builds every flavour and runs all tests: the portable logic natively with sanitizers, the
# parsers under libFuzzer for a bounded time, and the Windows build under Wine in a virtual display.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh

jobs=$(nproc)
for preset in native fuzz windows windows-x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
# The release ZIPs (screenshots taken under Wine by the build); CTest unpacks and checks them.
for preset in windows windows-x86; do
  cmake --build --preset "$preset" -j "$jobs" --target release
done

ctest --preset native -j "$jobs"
ctest --preset fuzz -j "$jobs"
ctest --preset windows-x86

# One virtual display and one Wine server for the whole Windows pass; the server is stopped at the
# end so nothing is left running.
prefix="$PWD/build/windows/wineprefix"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  sh scripts/wine-prefix.sh "$1"
  export WINEPREFIX="$1" WINEDEBUG=-all
  wineserver -p
  status=0
  ctest --preset windows || status=$?
  wineserver -k || true
  exit $status
' sh "$prefix"
