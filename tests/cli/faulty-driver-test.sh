#!/bin/sh
# kelvanor-cli run through a loaded library that fails: ERR_MEMORY, a length over the buffer, and
# calls that never return, which --timeout gives up on without waiting for them at the end.
#   faulty-driver-test.sh KELVANOR-CLI FAULTY-LIBRARY
set -eu
cli=$1 library=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
# expect EXIT TEXT FILE-CONTENT [OPTIONS...]: the exit code, and a text stdout or stderr must hold.
expect() {
  want=$1 text=$2
  printf '%b' "$3" >"$work/course.req"
  shift 3
  status=0
  # The outer limit only catches a run that would wait for a hung call.
  timeout 20 "$cli" run --driver "$library" "$@" "$work/course.req" >"$work/out.txt" 2>&1 || status=$?
  if [ "$status" -ne "$want" ] || ! grep -qF -- "$text" "$work/out.txt"; then
    printf 'FAILED: exit %s (expected %s, with "%s") for:\n' "$status" "$want" "$text"
    cat "$work/course.req" "$work/out.txt"
    failures=$((failures + 1))
  else
    printf 'ok: exit %s with "%s"\n' "$status" "$text"
  fi
}

expect 1 "ERR_MEMORY" '2,1 20F10000\n> 90 00\n'
expect 0 "1 expectation met, 0 failed" '2,1 20F10000\n> rc -11\n'
expect 1 "answer bytes for a buffer of" '2,1 20F20000\n'
expect 1 "line 2: no answer within 0.5 s" '2,1 20130046\n2,1 20F30000\n2,1 20130046\n' --timeout 0.5
expect 2 "port 9: CT_init: no answer within 0.5 s" '2,1 20130046\n' --port 9 --timeout 0.5
# The terminal that hangs does not stop the other one.
expect 2 "Port 1: 1 command sent, 0 expectations met, 0 failed" '2,1 20130046\n' --ports 1,9 --timeout 0.5

[ "$failures" -eq 0 ]
