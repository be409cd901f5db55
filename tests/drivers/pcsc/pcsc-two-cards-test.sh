#!/bin/sh
# kelvanor-cli on the real PC/SC stack that pcsc-stack-test.sh starts, with a virtual card in each
# of the virtual reader's two slots. One request file runs on both readers at once and then one
# after another, and probe lists the two readers. The cards started here are stopped here, by
# process id.
#   pcsc-stack-test.sh sh pcsc-two-cards-test.sh KELVANOR-CLI LIBRARY REQUEST.req
# pcsc-stack-test.sh appends the virtual card's command line, which ends in the first slot's port.
set -eu
cli=$1 library=$2 request=$3
shift 3
for port; do :; done

work=$(mktemp -d)
pids=
stop() {
  for pid in $pids; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap stop EXIT

# The second slot listens on the port after the first; vicc takes the last -P it is given.
"$@" >"$work/vicc-1.log" 2>&1 &
pids=$!
"$@" -P $((port + 1)) >"$work/vicc-2.log" 2>&1 &
pids="$! $pids"

failures=0
check() {
  if eval "$2"; then
    echo "ok:   $1"
  else
    echo "FAIL: $1"
    failures=$((failures + 1))
  fi
}

# The file waits for each card with REQUEST ICC, so the cards need not be in yet.
status=0
"$cli" run --driver "$library" --ports 1,2 --timeout 30 --log "$work/session.log" --junit "$work/report.xml" \
  "$request" >"$work/run.txt" 2>&1 || status=$?
cat "$work/run.txt"
check "run --ports 1,2 exits 0" '[ "$status" -eq 0 ]'
for port in 1 2; do
  check "port $port: every expectation met" "grep -q '^\[port $port\] Port $port: .* 0 failed' '$work/run.txt'"
  check "port $port: its own log" "grep -q '^>CT_close ok' '$work/session-p$port.log'"
done
check "JUnit: a suite for each terminal, no failure" \
  "python3 -c 'import sys, xml.etree.ElementTree as E; r = E.parse(sys.argv[1]).getroot(); \
s = list(r.iter(\"testsuite\")); assert len(s) == 2 and not list(r.iter(\"failure\")), E.tostring(r)' '$work/report.xml'"

status=0
"$cli" run --driver "$library" --ports 1,2 --serial "$request" >"$work/serial.txt" 2>&1 || status=$?
check "run --ports 1,2 --serial exits 0" '[ "$status" -eq 0 ]' || cat "$work/serial.txt"

status=0
"$cli" probe --driver "$library" --ports 1-3 >"$work/probe.txt" 2>&1 || status=$?
cat "$work/probe.txt"
check "probe exits 0" '[ "$status" -eq 0 ]'
for slot in 00 01; do
  check "probe names reader $slot" "grep -q '^  driver: PC/SC: Virtual PCD 00 $slot' '$work/probe.txt'"
done
check "probe gives both cards' ATRs" \
  "[ \$(grep -c 'ATR (REQUEST ICC): 3B 95 13 81 01 80 73 FF 01 00 0B 90 01' '$work/probe.txt') -eq 2 ]"
check "probe: no reader at port 3" "grep -q '^Port 3: -8 (ERR_CT)' '$work/probe.txt'"

[ "$failures" -eq 0 ]
