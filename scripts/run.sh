#!/bin/sh
# Builds Kelvanor for Windows and starts it under Wine on the simulated terminal (ZEMTRAK.DLL).
# Without a display it runs the unattended tour (scripts/tour.sh) on a virtual one instead and says
# where its screenshots and KELVAN.LOG are.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target kelvanor zemtrak_sim kelvanor_tour
bin="$PWD/build/windows/bin"
prefix="$PWD/build/windows/wineprefix"

if [ -n "${DISPLAY:-}" ]; then
  cd "$bin" && exec "$OLDPWD/scripts/wine-run.sh" "$prefix" kelvanor.exe
fi

out="$PWD/build/windows/tour"
rm -rf "$out"
sh scripts/tour.sh "$out"
echo "No display here: Kelvanor ran a short tour on a virtual one; screenshots and KELVAN.LOG in $out:"
ls "$out"
