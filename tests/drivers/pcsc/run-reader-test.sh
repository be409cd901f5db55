#!/bin/sh
# `sh scripts/run.sh --reader` as a user without a display runs it, against the pcscd and virtual
# reader of pcsc-stack-test.sh and the virtual card started here: the tour's KELVAN.LOG holds the
# card's ATR. Before that, a name that matches no reader and a PC/SC service that does not answer
# each end the run with one clear line.
#   run-reader-test.sh ROOT VICC-COMMAND...
set -eu
root=$1
shift
"$@" >/dev/null 2>&1 &
card=$!
trap 'kill $card 2>/dev/null || true; wait $card 2>/dev/null || true' EXIT
unset DISPLAY
status=0

refused() {
  expected=$1
  shift
  if out=$("$@" sh "$root/scripts/run.sh" --reader "$name" 2>&1); then
    echo "FAIL: run.sh --reader \"$name\" succeeded"
    status=1
  elif [ "$(echo "$out" | tail -n 1)" != "$expected" ]; then
    echo "FAIL: run.sh --reader \"$name\" ended with:"
    echo "$out" | tail -n 5
    status=1
  else
    echo "ok: $expected"
  fi
}
name="No such reader"
refused 'run.sh --reader: no PC/SC reader'"'"'s name contains "No such reader"; the first reader is "Virtual PCD 00 00"' env
# pcsc-lite's client looks for the service's socket where this variable says.
name=
refused "run.sh --reader: no PC/SC service answers: install and start it (apt-get install pcscd), then run again" \
  env PCSCLITE_CSOCK_NAME=/run/pcscd/nothing-here

sh "$root/scripts/run.sh" --reader "virtual pcd"
log="$root/build/windows/reader-tour/KELVAN.LOG"
if grep -qi "^#1,2 3b951381018073ff01000b" "$log"; then
  echo "ok: the virtual card's ATR in $log"
else
  echo "FAIL: no ATR of the virtual card in $log:"
  cat "$log"
  status=1
fi
exit $status
