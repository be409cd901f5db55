#!/bin/sh
# A short unattended tour of Kelvanor on the simulated terminal: tour.sh [--reader] OUTDIR
# (with --reader, on the PC/SC reader that `sh scripts/run.sh --reader` set up: its folder and its
# Wine prefix). Leaves exactly OUTDIR/main-window.png, OUTDIR/console.png (a command sent, its answer shown),
# OUTDIR/ct-bcs.png (the CT-BCS panel in a session) and OUTDIR/KELVAN.LOG, or what it had when it
# stopped, with the tour's exit code (3: the reader did not open). Expects the `windows`
# preset built; starts a virtual display when there is none.
set -eu
reader=
if [ "${1:-}" = --reader ]; then
  reader=--reader
  shift
fi
[ $# -eq 1 ] || { echo "usage: sh scripts/tour.sh [--reader] OUTDIR" >&2; exit 2; }
out=$1
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "$reader" ]; then
  bin="$root/build/windows/reader" prefix="$root/build/windows/reader-wineprefix"
  need="kelvanor.exe ZEMTRAK.DLL ZEMTRAK.INI kelvanor_tour.exe" how="run sh scripts/run.sh --reader"
else
  bin="$root/build/windows/bin" prefix="$root/build/windows/wineprefix"
  need="kelvanor.exe ZEMTRAK.DLL kelvanor_tour.exe" how="build the windows preset first"
fi
for f in $need; do
  [ -f "$bin/$f" ] || { echo "tour.sh: $bin/$f is missing; $how" >&2; exit 1; }
done

if [ -z "${DISPLAY:-}" ]; then
  # The Wine server started under this display ends with it.
  exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    status=0
    sh "$0" $1 "$2" || status=$?
    WINEPREFIX="$3" wineserver -k 2>/dev/null || true
    exit $status
  ' "$0" "$reader" "$out" "$prefix"
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sh "$root/scripts/wine-prefix.sh" "$prefix"
# The simulated terminal's own window stays shut so that it does not cover Kelvanor's. The tour
# runs in the work folder, so its "." is where Kelvanor writes KELVAN.LOG and the tour its pictures.
# A tour that stopped early keeps what it had: a reader that did not open shows why there.
status=0
(cd "$work" && ZEMTRAK_SIM_WINDOW=0 sh "$root/scripts/wine-run.sh" "$prefix" "$bin/kelvanor_tour.exe" $reader .) ||
  status=$?
for shot in main-window console ct-bcs; do
  [ ! -f "$work/$shot.bmp" ] || convert "$work/$shot.bmp" "$out/$shot.png"
done
[ ! -f "$work/KELVAN.LOG" ] || cp "$work/KELVAN.LOG" "$out/KELVAN.LOG"
exit $status
