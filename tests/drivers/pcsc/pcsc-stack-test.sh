#!/bin/sh
# The PC/SC bridge end to end: the real pcsc-lite daemon in the foreground with the virtual reader
# driver, and a virtual card, all in private mount and network namespaces, so nothing is reachable
# from outside and a pcscd of the machine is left alone. Everything started here is stopped here,
# by process id. The client gets the virtual card's command line after its own arguments and
# starts the card itself.
#   pcsc-stack-test.sh CLIENT [ARGS...]
set -eu

if [ -z "${KELVANOR_PCSC_PRIVATE:-}" ]; then
  # The mount point for the private socket folder; pcscd's own place, empty when it is not running.
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
pcscd_pid=
stop() {
  if [ -n "$pcscd_pid" ]; then
    kill "$pcscd_pid" 2>/dev/null || true
    wait "$pcscd_pid" || true
  fi
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
# Debian's vicc: its modules lie outside Python's search path, and it imports Crypto by the name
# the Debian package does not use.
ln -s /usr/lib/python3/dist-packages/Cryptodome "$work/python/Crypto"
export PYTHONPATH="$work/python:/usr/lib/python3/site-packages/virtualsmartcard"

pcscd -f -c "$work/readers" >"$work/pcscd.log" 2>&1 &
pcscd_pid=$!
# For a client that stops the service in the middle of its run.
export KELVANOR_PCSCD_PID=$pcscd_pid
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

"$@" vicc -t iso7816 -H 127.0.0.1 -P 35963
