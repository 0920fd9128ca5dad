#!/usr/bin/env bash
# Discovery of the headless program without touching any network: in a network, mount and PID
# namespace of its own (loopback only, a private /run), with its own rpcbind, D-Bus system bus
# and Avahi daemon. Checks that the program says once what is missing, then that avahi-browse
# and lxi discover (DNS-SD and the VXI-11 broadcast) find it with its ports and TXT record,
# and that its services are withdrawn when it stops.
# Usage: discovery_ns.sh PATH/TO/DDSTarnUSB. Exit 77 (skipped) with the reason when it cannot run.
set -uo pipefail
program=$1

skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root to make a network namespace"
for tool in unshare ip dbus-daemon avahi-daemon avahi-browse lxi /sbin/rpcbind rpcinfo; do
  command -v "$tool" >/dev/null || skip "$tool missing (scripts/setup.sh installs it)"
done
unshare -n -m -p -f --mount-proc true 2>/dev/null || skip "this machine allows no namespaces"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/bus.conf" <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=/run/dbus/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
cat >"$work/avahi.conf" <<'CONF'
[server]
use-ipv4=yes
use-ipv6=no
allow-interfaces=lo
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
CONF

# Everything below runs as PID 1 of its namespace: whatever it started ends with it.
unshare -n -m -p -f --mount-proc --propagation private env WORK="$work" PROGRAM="$program" \
  bash -s <<'INSIDE'
set -uo pipefail
failures=0
check() { # check NAME COMMAND...: prints ok/FAIL and counts failures
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}
mount -t tmpfs tmpfs /run
mkdir -p /run/dbus /run/avahi-daemon
ip link set lo up
ip link set lo multicast on
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/run/dbus/system_bus_socket
export DDSTARN_SIM_UNITS=1
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

# Starts the program and waits for its notes about VXI-11 and DNS-SD.
start() {
  "$PROGRAM" --headless --scpi=0 >"$WORK/out" 2>&1 &
  pid=$!
  for _ in $(seq 100); do grep -q '^DNS-SD' "$WORK/out" && break; sleep 0.05; done
  port=$(sed -n 's/^SCPI listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$WORK/out")
}
stop() { kill "$pid"; wait "$pid"; }

# Nothing to register with or announce through: said once, the raw socket still served.
start
cat "$WORK/out"
check "without rpcbind: said once" \
  [ "$(grep -c '^VXI-11 off, serving the raw socket alone: no rpcbind answers' "$WORK/out")" = 1 ]
check "without Avahi: said once" [ "$(grep -c '^DNS-SD off' "$WORK/out")" = 1 ]
check "the raw socket alone" [ -n "$port" ]
stop

/sbin/rpcbind -f &
dbus-daemon --config-file="$WORK/bus.conf" --nofork --nopidfile &
for _ in $(seq 50); do [ -S /run/dbus/system_bus_socket ] && break; sleep 0.1; done
avahi-daemon --no-drop-root --no-chroot --no-rlimits -f "$WORK/avahi.conf" >"$WORK/avahi.log" 2>&1 &
for _ in $(seq 100); do avahi-daemon -c 2>/dev/null && break; sleep 0.1; done
for _ in $(seq 50); do rpcinfo -p 127.0.0.1 >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1 # Avahi probes its host name before it publishes.

start
cat "$WORK/out"
check "VXI-11 registered" grep -q '^VXI-11: TCPIP::127.0.0.1::INSTR' "$WORK/out"
check "DNS-SD announced" grep -q '^DNS-SD: announced' "$WORK/out"
sleep 1
avahi-browse -rpt _scpi-raw._tcp | tee "$WORK/raw"
avahi-browse -rpt _vxi-11._tcp | tee "$WORK/vxi"
idn_txt='"SerialNumber=0" "Model=DDS-Tarn USB" "Manufacturer=DDS-Tarn"'
check "avahi-browse: _scpi-raw._tcp with its port and TXT" \
  grep -q "^=;lo;IPv4;.*;_scpi-raw._tcp;local;.*;127.0.0.1;$port;.*$idn_txt" "$WORK/raw"
check "avahi-browse: _vxi-11._tcp on port 111" \
  grep -q "^=;lo;IPv4;.*;_vxi-11._tcp;local;.*;127.0.0.1;111;.*$idn_txt" "$WORK/vxi"
timeout 20 lxi discover -m | tee "$WORK/lxi-m"
check "lxi discover -m: the raw socket" grep -q "scpi-raw service on port $port" "$WORK/lxi-m"
check "lxi discover -m: VXI-11" grep -q "vxi-11 service on port 111" "$WORK/lxi-m"
timeout 20 lxi discover | tee "$WORK/lxi"
check "lxi discover: the VXI-11 broadcast answered" \
  grep -q 'Found "DDS-Tarn,DDS-Tarn USB,0,.*" on address 127.0.0.1' "$WORK/lxi"

stop
sleep 1
check "withdrawn from DNS-SD" [ -z "$(avahi-browse -pt _scpi-raw._tcp)" ]
check "withdrawn from rpcbind" bash -c "! rpcinfo -p 127.0.0.1 | grep -q 395183"
echo "$failures failed"
exit $((failures > 0))
INSIDE
exit $?
