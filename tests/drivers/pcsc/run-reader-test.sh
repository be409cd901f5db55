#!/bin/sh
# `sh scripts/run.sh --reader` as a user without a display runs it, against the pcscd and virtual
# reader of pcsc-stack-test.sh:
# - a name that matches no reader and a PC/SC service that does not answer each end the run with
#   one clear line;
# - with no card in the reader the tour keeps Kelvanor's own answers;
# - with the virtual card started here the tour's KELVAN.LOG holds the card's ATR;
# - with the service stopped once the run has found the reader, the run ends with one clear line
#   and keeps what Kelvanor showed.
#   run-reader-test.sh ROOT VICC-COMMAND...
set -eu
root=$1
shift
card=
trap '[ -z "$card" ] || { kill $card 2>/dev/null || true; wait $card 2>/dev/null || true; }' EXIT
unset DISPLAY
status=0
log="$root/build/windows/reader-tour/KELVAN.LOG"

fail() {
  echo "FAIL: $*"
  status=1
}

# The last line of the run's output is the expected one, and the run failed.
refused() {
  expected=$1
  shift
  if out=$("$@" sh "$root/scripts/run.sh" --reader "$name" 2>&1); then
    fail "run.sh --reader \"$name\" succeeded"
  elif [ "$(echo "$out" | tail -n 1)" != "$expected" ]; then
    fail "run.sh --reader \"$name\" ended with:"
    echo "$out" | tail -n 5
  else
    echo "ok: $expected"
  fi
}

logged() {
  if grep -qi "$1" "$log"; then
    echo "ok: $2 in $log"
  else
    fail "no $2 in $log:"
    cat "$log"
  fi
}

name="No such reader"
refused 'run.sh --reader: no PC/SC reader'"'"'s name contains "No such reader"; the first reader is "Virtual PCD 00 00"' env
# pcsc-lite's client looks for the service's socket where this variable says.
name=
refused "run.sh --reader: no PC/SC service answers: install and start it (apt-get install pcscd), then run again" \
  env PCSCLITE_CSOCK_NAME=/run/pcscd/nothing-here

# No card yet: REQUEST ICC waits its 10 s and the panel finds no card.
sh "$root/scripts/run.sh" --reader "virtual pcd" || fail "the run without a card failed"
logged "^#1,2 6200" "the console's 62 00 (no card)"
logged "^>No ICC inserted" "the panel's answer without a card"

"$@" >/dev/null 2>&1 &
card=$!
sh "$root/scripts/run.sh" --reader "virtual pcd" || fail "the run with the card failed"
logged "^#1,2 3b951381018073ff01000b" "the virtual card's ATR"

# The service stops once the run has found the reader (ZEMTRAK.INI is written after that).
ini="$root/build/windows/reader/ZEMTRAK.INI"
rm -f "$ini"
sh "$root/scripts/run.sh" --reader "virtual pcd" >"$root/build/windows/reader-stopped.out" 2>&1 &
run=$!
tries=0
until [ -f "$ini" ] || [ $tries -gt 3000 ] || ! kill -0 $run 2>/dev/null; do
  tries=$((tries + 1))
  sleep 0.1
done
kill "$KELVANOR_PCSCD_PID"
if wait $run; then
  fail "the run succeeded with the service stopped"
fi
last=$(tail -n 1 "$root/build/windows/reader-stopped.out")
case $last in
  'run.sh --reader: Kelvanor could not open "Virtual PCD 00 00" (CT_init failed; is the PC/SC service still running?)'*)
    echo "ok: $last" ;;
  *)
    fail "the run with the service stopped ended with:"
    tail -n 5 "$root/build/windows/reader-stopped.out" ;;
esac
logged "^>-8 (ERR_CT)" "Kelvanor's CT_init answer with the service stopped"
exit $status
