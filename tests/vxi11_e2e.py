#!/usr/bin/env python3
"""The headless program over VXI-11: PyVISA's TCPIP INSTR resources run the raw-socket checks,
lxi-tools asks *IDN?, and the core channel is driven call by call for what a VISA session
hides (device_clear, device_readstb, locks between links, a link that goes mid-write, bounds).

Usage: vxi11_e2e.py PATH/TO/DDSTarnUSB. Exit 77 (skipped) when PyVISA is missing or no rpcbind
answers on this machine (scripts/test.sh starts one when run as root).
"""
import os
import shutil
import socket
import struct
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import remote_e2e as raw  # noqa: E402  (exits 77 itself without PyVISA)
import pyvisa  # noqa: E402
from pyvisa_py.protocols import rpc, vxi11  # noqa: E402

END = vxi11.OP_FLAG_END
WAITLOCK = vxi11.OP_FLAG_WAIT_BLOCK
ERR_LOCKED, ERR_NO_LOCK, ERR_TIMEOUT, ERR_NO_RESOURCES = 11, 12, 15, 9
STB_EAV, STB_MAV = 4, 16


def link(name="inst0"):
    client = vxi11.CoreClient("127.0.0.1")
    error, lid, _, _ = client.create_link(0, False, 0, name)
    assert error == 0, error
    return client, lid


def write(client, lid, data, flags=END, lock_timeout=0):
    return client.device_write(lid, 2000, lock_timeout, flags, data)


def query(client, lid, line):
    assert write(client, lid, line.encode())[0] == 0
    error, reason, data = client.device_read(lid, 4096, 2000, 0, 0, 0)
    assert error == 0 and reason & vxi11.RX_END, (error, reason)
    return data.decode().rstrip("\n")


def check_clear_and_status_byte(_):
    client, lid = link()
    write(client, lid, b"NO:SUCH:HEADER")
    write(client, lid, b"*IDN?")
    error, stb = client.device_read_stb(lid, 0, 0, 1000)
    assert error == 0 and stb & STB_EAV and stb & STB_MAV, stb
    assert client.device_clear(lid, 0, 0, 1000) == 0
    error, stb = client.device_read_stb(lid, 0, 0, 1000)
    assert error == 0 and not stb & STB_MAV, stb  # the answer went with the clear
    assert query(client, lid, "SYST:ERR?").startswith("-113,")
    # Pieces are one message only once END comes.
    write(client, lid, b"*ID", flags=0)
    error, stb = client.device_read_stb(lid, 0, 0, 1000)
    assert error == 0 and not stb & STB_MAV, stb
    write(client, lid, b"N?", flags=END)
    error, reason, data = client.device_read(lid, 4096, 1000, 0, 0, 0)
    assert error == 0 and data.startswith(b"DDS-Tarn,"), (error, data)
    client.destroy_link(lid)
    client.close()


def check_read_reasons(_):
    client, lid = link()
    write(client, lid, b"*IDN?")
    error, reason, data = client.device_read(lid, 4, 1000, 0, 0, 0)
    assert (error, reason, data) == (0, vxi11.RX_REQCNT, b"DDS-"), (error, reason, data)
    error, reason, data = client.device_read(lid, 4096, 1000, 0, vxi11.OP_FLAG_TERMCHAR_SET,
                                             ord(","))
    assert (error, reason, data) == (0, vxi11.RX_CHR, b"Tarn,"), (error, reason, data)
    error, reason, data = client.device_read(lid, 4096, 1000, 0, 0, 0)
    assert error == 0 and reason == vxi11.RX_END and data.endswith(b"\n"), (reason, data)
    # Nothing asked: an I/O timeout at once, and -420 in the queue.
    assert client.device_read(lid, 4096, 1000, 0, 0, 0)[0] == ERR_TIMEOUT
    assert query(client, lid, "SYST:ERR?").startswith("-420,")
    client.close()


def check_locks(_):
    a, la = link()
    b, lb = link()
    assert a.device_lock(la, 0, 0) == 0
    assert write(b, lb, b"SOUR1:FREQ 2000")[0] == ERR_LOCKED
    started = time.monotonic()
    assert write(b, lb, b"SOUR1:FREQ 2000", flags=END | WAITLOCK, lock_timeout=300)[0] == \
        ERR_LOCKED
    assert time.monotonic() - started >= 0.25
    assert b.device_unlock(lb) == ERR_NO_LOCK
    assert query(a, la, "SOUR1:FREQ 3000;*OPC?") == "1"
    # A waiting writer goes on once the holder unlocks.
    unlock = threading.Timer(0.2, lambda: a.device_unlock(la))
    unlock.start()
    assert write(b, lb, b"SOUR1:FREQ 2000", flags=END | WAITLOCK, lock_timeout=5000)[0] == 0
    unlock.join()  # its reply read before `a` is used again
    assert float(query(b, lb, "SOUR1:FREQ?")) == 2000
    # A link that goes takes its lock with it.
    assert a.device_lock(la, 0, 0) == 0
    a.close()
    time.sleep(0.2)
    assert b.device_lock(lb, 0, 0) == 0 and b.device_unlock(lb) == 0
    b.close()


def check_abort(_):
    a, la = link()
    b = vxi11.CoreClient("127.0.0.1")
    error, lb, abort_port, _ = b.create_link(0, False, 0, "inst0")
    assert error == 0 and a.device_lock(la, 0, 0) == 0
    # device_abort on the abort channel ends b's wait for the lock at once.
    abort = rpc.RawTCPClient("127.0.0.1", vxi11.DEVICE_ASYNC_PROG, vxi11.DEVICE_ASYNC_VERS,
                             abort_port)
    packer, unpacker = vxi11.Vxi11Packer(), vxi11.Vxi11Unpacker("")
    abort.packer, abort.unpacker = packer, unpacker
    aborting = threading.Timer(0.2, lambda: abort.make_call(1, lb, packer.pack_device_link,
                                                            unpacker.unpack_device_error))
    aborting.start()
    started = time.monotonic()
    error, _ = write(b, lb, b"SOUR1:FREQ 2000", flags=END | WAITLOCK, lock_timeout=10000)
    aborting.join()
    assert error == 23 and time.monotonic() - started < 5, (error, time.monotonic() - started)
    assert a.device_unlock(la) == 0 and write(b, lb, b"*CLS")[0] == 0
    abort.close()
    a.close()
    b.close()


def check_vanished_mid_write(_):
    a, la = link()
    assert query(a, la, "SOUR1:FREQ 1500;*OPC?") == "1"
    assert write(a, la, b"SOUR1:FREQ 4321", flags=0)[0] == 0
    a.close()
    b, lb = link()
    time.sleep(0.1)
    assert float(query(b, lb, "SOUR1:FREQ?")) == 1500
    assert query(b, lb, "SYST:ERR?").startswith("0,")
    b.close()


def check_bounds(inst):
    # A record mark that announces 2 GiB is refused before its bytes: the connection closes.
    client = vxi11.CoreClient("127.0.0.1")
    sock = client.sock
    sock.sendall(struct.pack(">I", 0x7FFFFFFF) + b"x" * 1024)
    sock.settimeout(3)
    try:
        assert sock.recv(16) == b""
    except ConnectionResetError:
        pass
    client.close()
    time.sleep(0.2)
    # Links and raw-socket clients share the places.
    links = []
    while len(links) < 20:
        c = vxi11.CoreClient("127.0.0.1")
        error, lid, _, _ = c.create_link(0, False, 0, "inst0")
        if error:
            assert error == ERR_NO_RESOURCES, error
            c.close()
            break
        links.append(c)
    # Eight places per address, two of them taken by the raw socket and `inst`.
    assert len(links) == 6, len(links)
    for c in links:
        c.close()
    assert inst.query("*IDN?").startswith("DDS-Tarn,")
    # Connections that never make a link do not keep a new client out.
    idle = [socket.create_connection(("127.0.0.1", client.port)) for _ in range(70)]
    fresh, lid = link()
    assert query(fresh, lid, "*IDN?").startswith("DDS-Tarn,")
    fresh.close()
    for s in idle:
        s.close()


def check_lxi_tools(_):
    if not shutil.which("lxi"):
        print("SKIP lxi-tools missing (scripts/setup.sh installs it)")
        return
    answer = subprocess.run(["lxi", "scpi", "-a", "127.0.0.1", "*IDN?"], capture_output=True,
                            text=True, timeout=20).stdout
    assert answer.startswith("DDS-Tarn,"), answer


def main():
    process = raw.start(sys.argv[1], raw.free_port(), raw.WAVES)
    failures = []
    try:
        note = process.stdout.readline()
        if not note.startswith("VXI-11: TCPIP::127.0.0.1::INSTR"):
            print("SKIP:", note.strip(), "(start rpcbind to run these checks)")
            return 77
        manager = pyvisa.ResourceManager("@py")
        resources = ["TCPIP::127.0.0.1::INSTR", "TCPIP::127.0.0.1::inst0::INSTR"]
        inst = None
        for resource in resources:
            inst = manager.open_resource(resource, read_termination="\n",
                                         write_termination="\n", timeout=5000)
            checks = [raw.check_identity, raw.check_error_queue, raw.check_garbage,
                      raw.check_frequency_at_the_unit, raw.check_block_upload]
            if resource == resources[0]:
                checks += [raw.check_devices, raw.check_arbitrary_points, raw.check_log_sweep]
            else:
                checks += [check_clear_and_status_byte, check_read_reasons, check_locks,
                           check_abort, check_vanished_mid_write, check_lxi_tools]
            peer = manager.open_resource(
                f"TCPIP::127.0.0.1::{process.args[2].split('=')[1]}::SOCKET",
                read_termination="\n", write_termination="\n", timeout=5000) \
                if resource == resources[1] else None
            if peer:
                checks.append(check_bounds)
            for check in checks:
                try:
                    check(inst)
                    print("ok  ", resource, check.__name__)
                except Exception as error:  # every check runs; the run fails at the end
                    failures.append(check.__name__)
                    print("FAIL", resource, check.__name__, repr(error))
                    inst.write("*CLS")
            if peer:
                peer.close()
            inst.close()
    finally:
        process.terminate()
        code = process.wait(timeout=10)
    if code != 0:
        failures.append(f"exit code {code} after SIGTERM")
    print("failed:", ", ".join(failures) if failures else "none")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
