#!/bin/sh
# kelvanor-cli.exe under Wine with real DLLs: the simulated ZEMTRAK.DLL bound by Kelvanor's
# ordinals, a copy of it under a vendor's name bound by its export names (by path, and by bare name
# through Windows' search), and libraries it must refuse with exit code 2.
#   windows-driver-test.sh WINE-RUN PREFIX KELVANOR-CLI.EXE ZEMTRAK.DLL HALF-DRIVER.DLL EXAMPLE.req SIM-SETTINGS.ini
# (the half driver exports CT_init and CT_close only)
set -eu
wine_run=$1 prefix=$2 cli=$3 zemtrak=$4 half=$5 example=$6 settings=$7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wine reaches the Unix file system through drive Z:.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# Each copy in a folder of its own, with the unattended settings beside it.
mkdir "$work/ordinals" "$work/vendor"
cp "$zemtrak" "$work/ordinals/ZEMTRAK.DLL"
cp "$zemtrak" "$work/vendor/VENDORCT.DLL"
cp "$half" "$work/HALFDRV.DLL"
cp "$settings" "$work/ordinals/ZEMTRAK.INI"
cp "$settings" "$work/vendor/ZEMTRAK.INI"
cp "$example" "$work/example.req"
request=$(windows_path "$work/example.req")

failures=0
# expect EXIT TEXT -- ARGS...: the exit code, and a text that stdout or stderr must hold.
expect() {
  want=$1 text=$2
  shift 3
  status=0
  sh "$wine_run" "$prefix" "$cli" "$@" >"$work/out.txt" 2>"$work/err.txt" </dev/null || status=$?
  if [ "$status" -ne "$want" ] || ! grep -qF -- "$text" "$work/out.txt" "$work/err.txt"; then
    printf 'FAILED: kelvanor-cli %s exited %s (expected %s, with "%s")\n' "$*" "$status" "$want" "$text"
    cat "$work/out.txt" "$work/err.txt"
    failures=$((failures + 1))
  else
    printf 'ok: kelvanor-cli %s\n' "$*"
  fi
}

ordinals=$(windows_path "$work/ordinals/ZEMTRAK.DLL")
vendor=$(windows_path "$work/vendor/VENDORCT.DLL")
log=$(windows_path "$work/session.log")

expect 0 "0 failed" -- run --driver "$ordinals" --ordinals --log "$log" "$request"
grep -q '^>CT_close ok' "$work/session.log" || { echo "FAILED: no session log"; failures=$((failures + 1)); }
expect 0 "0 failed" -- run --driver "$vendor" "$request"
expect 0 '"DEZMTSIMCT01.00"' -- probe --driver "$vendor" --port 1
expect 0 "Port 1: CT_init ok" -- probe --driver "$ordinals" --ordinals --ports 1-2
expect 0 "0 failed" -- run "$request"

# A bare name is found where Windows looks for DLLs, the current folder among them.
status=0
(cd "$work/vendor" && sh "$wine_run" "$prefix" "$cli" run --driver VENDORCT.DLL "$request" >"$work/out.txt" 2>&1) ||
  status=$?
[ "$status" -eq 0 ] && echo "ok: run --driver VENDORCT.DLL from its folder" ||
  { echo "FAILED: run --driver VENDORCT.DLL from its folder exited $status"; cat "$work/out.txt"; failures=$((failures + 1)); }

half=$(windows_path "$work/HALFDRV.DLL")
expect 2 "HALFDRV.DLL is no CT-API driver: it has no CT_data" -- run --driver "$half" "$request"
expect 2 "it has no CT_close (ordinal 3)" -- run --driver "$half" --ordinals "$request"
expect 2 "cannot load NOSUCHCT.DLL (error 126)" -- probe --driver NOSUCHCT.DLL

[ "$failures" -eq 0 ]
