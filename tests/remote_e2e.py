#!/usr/bin/env python3
"""The headless program with two simulated generators, driven with PyVISA over a raw socket.

Usage: remote_e2e.py PATH/TO/DDSTarnUSB. Exit 77 (skipped) when PyVISA is not installed.
"""
import math
import os
import random
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

try:
    import pyvisa
except ImportError:
    print("SKIP: PyVISA missing; scripts/setup.sh installs python3-pyvisa and python3-pyvisa-py")
    sys.exit(77)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start(program, port, folder):
    env = dict(os.environ, DDSTARN_SIM_UNITS="2")
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    process = subprocess.Popen([program, "--headless", f"--scpi={port}", "--data-dir", folder],
                               env=env, stdout=subprocess.PIPE, text=True)
    line = process.stdout.readline()
    assert line == f"SCPI listening on 127.0.0.1:{port}\n", repr(line)
    return process


def wait_for(reading, good, seconds=3.0):
    """Reads until good(value) or the time is up; returns the last value."""
    deadline = time.monotonic() + seconds
    while True:
        value = reading()
        if good(value) or time.monotonic() > deadline:
            return value
        time.sleep(0.02)


def near(value, target, relative):
    return abs(value - target) <= relative * abs(target)


def check_identity(inst):
    fields = inst.query("*IDN?").split(",")
    assert len(fields) == 4 and fields[0] == "DDS-Tarn", fields
    assert inst.query("SYST:ERR?").startswith("0,")


def check_error_queue(inst):
    inst.write("NO:SUCH:HEADER")
    inst.write("*CLS")
    inst.write("NO:SUCH:HEADER")
    assert inst.query("SYST:ERR?").startswith("-113,")
    assert inst.query("SYST:ERR?").startswith("0,")


def check_garbage(inst):
    noise = bytes(b for b in random.Random(7).randbytes((1 << 20) + 65536) if b not in b"\n#")
    inst.write_raw(noise + b"\n")
    assert inst.query("*IDN?").startswith("DDS-Tarn,")
    assert inst.query("SYST:ERR?").startswith("-363,")


# Below: the generators' own commands, which need the instrument library in the build.
def check_devices(inst):
    assert inst.query("INST:CAT?") == '"Device 1","Device 2"'


def check_frequency_at_the_unit(inst):
    assert inst.query("SOUR1:FREQ 1234;*OPC?") == "1"
    actual, ppm = map(float, inst.query("FREQ:ACT?").split(","))
    assert near(actual, 1234, 1e-3) and abs((actual / 1234 - 1) * 1e6 - ppm) < 0.5, (actual, ppm)
    measured = wait_for(lambda: float(inst.query("MEAS:FREQ?")), lambda f: near(f, actual, 1e-5))
    assert near(measured, actual, 1e-5), measured
    inst.write("SOUR1:FREQ 1e12")
    assert inst.query("SYST:ERR?").startswith("-222,")
    assert float(inst.query("SOUR1:FREQ?")) == 75e6
    assert inst.query("SOUR2:FREQ 5000;*OPC?;:INST:NSEL 2;:MEAS:FREQ?").startswith("1;")
    assert near(wait_for(lambda: float(inst.query("MEAS:FREQ?")), lambda f: near(f, 5000, 1e-4)),
                5000, 1e-4)
    assert float(inst.query("SOUR1:FREQ?")) == 75e6
    inst.write("INST:NSEL 1;*RST")


def check_arbitrary_points(inst):
    points = [round(math.sin(2 * math.pi * i / 100), 3) for i in range(100)]
    assert inst.query("DATA:ARB " + ",".join(map(str, points)) + ";*OPC?") == "1"
    assert inst.query("FUNC?").startswith("ARB")
    inst.write('MMEM:STOR:DATA "points.csv"')  # in the waveform folder
    assert inst.query("SYST:ERR?").startswith("0,")
    lines = open(os.path.join(WAVES, "points.csv")).read().split()
    # As with a CSV file of the same points, the unit's plan for the frequency they imply
    # decides how many points make a period; the points sent lead the table.
    assert int(lines[1].split("=")[1]) >= 100, lines[:2]
    stored = [float(line.split(",")[0]) for line in lines[2:102]]
    assert all(abs(a - b) < 1e-4 for a, b in zip(stored, points)) and len(stored) == 100
    inst.write("*RST")


def check_block_upload(inst):
    # 16-bit DAC codes of one sine period in a definite-length block.
    codes = [round(2048 - 2047 * math.sin(2 * math.pi * i / 64)) for i in range(64)]
    inst.write_binary_values("DATA:ARB:DAC ", codes, datatype="H", is_big_endian=False)
    assert inst.query("*OPC?") == "1"
    assert inst.query("FUNC?").startswith("ARB")
    assert inst.query("SYST:ERR?").startswith("0,")
    inst.write("*RST")


def check_log_sweep(inst):
    inst.write("*RST;:FREQ 1000;:SWE:SPAC LOG;POIN 2;DWEL 300;:FREQ:STAR 100;STOP 10000")
    inst.write("SWE:STAT ON")
    expected = [100 * 10 ** (k / 2) for k in range(5)]
    visited, strays = set(), []
    deadline = time.monotonic() + 3.5
    while time.monotonic() < deadline:
        f = float(inst.query("MEAS:FREQ?"))
        hits = [k for k, e in enumerate(expected) if near(f, e, 1e-3)]
        visited.update(hits)
        if not hits and visited:
            strays.append(f)
        time.sleep(0.03)
    assert inst.query("SWE:STAT OFF;*OPC?") == "1"
    assert {0, 1, 2, 3} <= visited and not strays, (visited, strays[:5])
    assert float(inst.query("FREQ?")) == 1000


def check_listening_needs_allow_list(program):
    """Beyond loopback only with an allow-list; refused before anything is bound."""
    run = subprocess.run([program, "--headless", "--scpi=0", "--listen=0.0.0.0"],
                         env=dict(os.environ, DDSTARN_SIM_UNITS="0", QT_QPA_PLATFORM="offscreen"),
                         capture_output=True, text=True, timeout=30)
    assert run.returncode == 1 and "allowed" in run.stderr, (run.returncode, run.stderr)
    run = subprocess.run([program, "--headless", "--allow=10.0.0.0/33"], capture_output=True,
                         text=True, timeout=30, env=dict(os.environ, DDSTARN_SIM_UNITS="0"))
    assert run.returncode == 1 and "10.0.0.0/33" in run.stderr, (run.returncode, run.stderr)


WAVES = tempfile.mkdtemp(prefix="ddstarn_e2e_")


def main():
    failures = []
    try:
        check_listening_needs_allow_list(sys.argv[1])
        print("ok   check_listening_needs_allow_list")
    except Exception as error:
        failures.append("check_listening_needs_allow_list")
        print("FAIL check_listening_needs_allow_list", repr(error))
    process = start(sys.argv[1], free_port(), WAVES)
    try:
        manager = pyvisa.ResourceManager("@py")
        port = process.args[2].split("=")[1]
        inst = manager.open_resource(f"TCPIP::127.0.0.1::{port}::SOCKET", read_termination="\n",
                                     write_termination="\n", timeout=5000)
        checks = [check_identity, check_error_queue, check_garbage]
        inst.write("INST:CAT?")
        if inst.query("SYST:ERR?").startswith("-113,"):
            print("SKIP device checks: this build serves the common commands only")
        else:
            inst.read()
            checks += [check_devices, check_frequency_at_the_unit, check_arbitrary_points,
                       check_block_upload, check_log_sweep]
        for check in checks:
            try:
                check(inst)
                print("ok  ", check.__name__)
            except Exception as error:  # every check runs; the run fails at the end
                failures.append(check.__name__)
                print("FAIL", check.__name__, repr(error))
                inst.write("*CLS")
        inst.close()
    finally:
        process.terminate()
        code = process.wait(timeout=10)
        shutil.rmtree(WAVES, ignore_errors=True)
    if code != 0:
        failures.append(f"exit code {code} after SIGTERM")
    print("failed:", ", ".join(failures) if failures else "none")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
