#!/bin/sh
# Builds Kelvanor for Windows and starts it under Wine on the simulated terminal (ZEMTRAK.DLL).
# Without a display it starts a virtual one, saves a screenshot of the main window and ends.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target kelvanor zemtrak_sim
bin="$PWD/build/windows/bin"
prefix="$PWD/build/windows/wineprefix"

if [ -n "${DISPLAY:-}" ]; then
  cd "$bin" && exec "$OLDPWD/scripts/wine-run.sh" "$prefix" kelvanor.exe
fi

shot="$PWD/build/windows/kelvanor-screenshot.png"
xvfb-run -a -s "-screen 0 800x600x24" sh -c '
  cd "$1" && "$2/scripts/wine-run.sh" "$3" kelvanor.exe &
  app=$!
  for i in $(seq 1 60); do
    sleep 1
    id=$(xwininfo -root -tree 2>/dev/null | grep "\"Test Tovamic \"" | head -n1 | awk "{print \$1}")
    [ -n "$id" ] && break
  done
  sleep 2
  if [ -n "$id" ]; then import -window root "$4"; fi
  kill $app 2>/dev/null; WINEPREFIX="$3" wineserver -k 2>/dev/null || true
  [ -n "$id" ]
' sh "$bin" "$PWD" "$prefix" "$shot"
echo "No display here: Kelvanor ran on a virtual one; screenshot of its main window: $shot"
