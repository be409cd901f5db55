#!/bin/sh
# kelvanor-cli on the real PC/SC stack: pcscd with the virtual reader, whose two slots each get a
# virtual card, in private mount and network namespaces as in pcsc-stack-test.sh. One request file
# runs on both readers at once and then one after another, and probe lists the two readers.
# Everything started here is stopped here, by process id.
#   pcsc-two-cards-test.sh KELVANOR-CLI LIBRARY REQUEST.req
set -eu
cli=$1 library=$2 request=$3

if [ -z "${KELVANOR_PCSC_PRIVATE:-}" ]; then
  mkdir -p /run/pcscd
  if unshare -m -n true 2>/dev/null; then
    KELVANOR_PCSC_PRIVATE=1 exec unshare -m -n sh "$0" "$@"
  fi
  echo "unshare refused: running on the machine's network and its /run/pcscd"
else
  ip link set lo up
  mount -t tmpfs kelvanor-pcscd /run/pcscd
fi

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

mkdir "$work/readers" "$work/python"
cat > "$work/readers/vpcd" <<CONF
FRIENDLYNAME "Virtual PCD"
DEVICENAME   /dev/null:0x8C7B
LIBPATH      /usr/lib/pcsc/drivers/serial/libifdvpcd.so
CHANNELID    0x8C7B
CONF
ln -s /usr/lib/python3/dist-packages/Cryptodome "$work/python/Crypto"
export PYTHONPATH="$work/python:/usr/lib/python3/site-packages/virtualsmartcard"

pcscd -f -c "$work/readers" >"$work/pcscd.log" 2>&1 &
pcscd_pid=$!
pids=$pcscd_pid
tries=0
until [ -S /run/pcscd/pcscd.comm ]; do
  tries=$((tries + 1))
  if [ $tries -gt 50 ] || ! kill -0 "$pcscd_pid" 2>/dev/null; then
    echo "pcscd did not start:"
    cat "$work/pcscd.log"
    exit 1
  fi
  sleep 0.1
done

# The virtual reader's first slot listens on 35963, the second on the port after it.
for port in 35963 35964; do
  vicc -t iso7816 -H 127.0.0.1 -P $port >"$work/vicc-$port.log" 2>&1 &
  pids="$! $pids"
done

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
