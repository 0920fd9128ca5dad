#!/usr/bin/env python3
"""The headless program driven as a benchtop function generator: pymeasure's generator drivers
over PyVISA, each check read back at the simulated unit's buffer through a preloaded tap.

Usage: benchtop_e2e.py PATH/TO/DDSTarnUSB PATH/TO/libddstarn_download_tap.so
Exit 77 (skipped) when pymeasure or PyVISA is not installed.
"""
import contextlib
import io
import logging
import math
import os
import socket
import subprocess
import sys
import tempfile
import time

try:
    import pyvisa  # noqa: F401
    from pymeasure.instruments.agilent import Agilent33220A, Agilent33500
except ImportError:
    print("SKIP: scripts/setup.sh installs python3-pymeasure, python3-pyvisa, python3-pyvisa-py")
    sys.exit(77)

FULL_SCALE = 3.5  # volts of code 1; code 2048 is 0 V
STEP = FULL_SCALE / 2047  # volts of one code


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start(program, tap, folder, port):
    env = dict(os.environ, DDSTARN_SIM_UNITS="1", LD_PRELOAD=tap, DDSTARN_TAP_DIR=folder)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    process = subprocess.Popen([program, "--headless", f"--scpi={port}"], env=env,
                               stdout=subprocess.PIPE, text=True)
    line = process.stdout.readline()
    assert line == f"SCPI listening on 127.0.0.1:{port}\n", repr(line)
    return process


class Unit:
    """What the tap saw reach simulated unit 0."""

    def __init__(self, folder):
        self.path = os.path.join(folder, "unit0.txt")

    def read(self):
        with open(self.path) as f:
            fields = dict(line.split(" ", 1) for line in f.read().splitlines())
        self.single = int(fields["single"])
        self.trigger = [int(v) for v in fields["trigger"].split()]
        self.codes = [int(v) for v in fields["codes"].split()]
        self.volts = [FULL_SCALE * (2048 - c) / 2047 for c in self.codes]
        return self

    def played(self):
        """The volts of the buffer, without the silence after a single wave."""
        if not self.single:
            return self.volts
        end = len(self.codes)
        while end > 1 and self.codes[end - 1] == 2048:
            end -= 1
        return self.volts[:end]

    def vpp(self):
        return max(self.played()) - min(self.played())

    def middle(self):
        return (max(self.played()) + min(self.played())) / 2


def done(gen):
    """*OPC?: every change has reached the unit."""
    return gen.ask("*OPC?").strip() == "1"


def near(value, target, tolerance=2 * STEP):
    return abs(value - target) <= tolerance


def check_amplitude_is_peak_to_peak(gen, unit):
    gen.shape = "SIN"
    gen.frequency = 1000
    gen.amplitude = 2
    gen.offset = 0.5
    assert done(gen)
    u = unit.read()
    assert near(u.vpp(), 2.0) and near(u.middle(), 0.5), (u.vpp(), u.middle())
    assert float(gen.amplitude) == 2 and float(gen.offset) == 0.5
    gen.amplitude_unit = "VRMS"
    gen.amplitude = 1
    assert done(gen)
    assert near(unit.read().vpp(), 2 * math.sqrt(2)), unit.read().vpp()
    assert gen.amplitude_unit == "VRMS"
    gen.amplitude_unit = "VPP"


def check_high_and_low(gen, unit):
    gen.voltage_high = 1.5
    gen.voltage_low = -0.5
    assert done(gen)
    u = unit.read()
    assert near(max(u.volts), 1.5) and near(min(u.volts), -0.5), (max(u.volts), min(u.volts))
    assert float(gen.amplitude) == 2 and float(gen.offset) == 0.5


def check_duty_and_symmetry(gen, unit):
    gen.shape = "SQU"
    gen.amplitude = 2
    gen.offset = 0
    gen.square_dutycycle = 25
    assert done(gen)
    volts = unit.read().volts
    high = sum(1 for v in volts if v > 0) / len(volts)
    assert abs(high - 0.25) < 0.01, high
    gen.shape = "RAMP"
    gen.ramp_symmetry = 20
    assert done(gen)
    volts = unit.read().volts
    # The ramp rises for its symmetry's share of each period, whatever the periods a buffer holds.
    rising = sum(1 for a, b in zip(volts, volts[1:]) if b > a) / (len(volts) - 1)
    assert abs(rising - 0.2) < 0.01, rising


def check_output_off(gen, unit):
    gen.output = False
    assert done(gen)
    assert set(unit.read().codes) == {2048}
    gen.output = True
    assert done(gen)
    assert len(set(unit.read().codes)) > 1


def check_single_wave_burst(gen, unit):
    gen.shape = "SIN"
    gen.amplitude = 2
    gen.burst_ncycles = 1
    gen.burst_mode = "TRIG"
    gen.trigger_source = "EXT"
    gen.burst_state = True
    assert done(gen)
    u = unit.read()
    assert u.single == 1 and u.trigger[0] == 1, (u.single, u.trigger)
    assert len(u.codes) == 4096 and u.codes[-1] == 2048 and near(u.vpp(), 2.0)
    assert gen.check_errors() == []
    gen.trigger()  # *TRG: the unit has no software trigger
    errors = gen.check_errors()
    assert len(errors) == 1 and "-221" in errors[0], errors
    gen.burst_ncycles = 5
    assert "-221" in gen.check_errors()[0]
    gen.burst_state = False
    assert done(gen) and unit.read().single == 0


def check_named_arbitrary_wave(gen33500, unit):
    points = [round(math.sin(2 * math.pi * i / 64), 4) for i in range(64)]
    with contextlib.redirect_stdout(io.StringIO()):  # the driver prints what it sends
        gen33500.data_arb("WAVE1", points, data_format="float")
    gen33500.arb_file = "WAVE1"
    gen33500.shape = "ARB"
    gen33500.amplitude = 3
    gen33500.offset = -0.5
    assert done(gen33500)
    assert gen33500.shape == "ARB" and gen33500.arb_file == "WAVE1"
    u = unit.read()
    assert near(u.vpp(), 3, 0.02) and near(u.middle(), -0.5, 0.02), (u.vpp(), u.middle())
    # The wave is resampled to the plan: a smooth sine, one point a sample.
    n = len(u.volts)
    worst = max(abs(v - (-0.5 + 1.5 * math.sin(2 * math.pi * i / n))) for i, v in enumerate(u.volts))
    assert worst < 0.02, worst
    assert gen33500.ask("DATA:CAT?") == '"WAVE1"'
    assert gen33500.check_errors() == []


def check_volatile_user_wave(gen, unit):
    codes = [round(8191 * math.sin(2 * math.pi * i / 16)) for i in range(16)]
    gen.write("DATA:DAC VOLATILE," + ",".join(map(str, codes)))
    gen.write("FUNC:USER VOLATILE")
    gen.shape = "USER"
    gen.amplitude = 1
    gen.offset = 0
    assert done(gen)
    assert gen.shape == "USER"
    assert near(unit.read().vpp(), 1, 0.01), unit.read().vpp()
    assert gen.check_errors() == []


def check_apply(gen, unit):
    gen.write("APPL:SIN 2 KHZ,3,0.25")
    assert gen.ask("APPL?") == '"SIN +2.000000E+03,+3.000000E+00,+2.500000E-01"'
    assert done(gen)
    u = unit.read()
    assert near(u.vpp(), 3) and near(u.middle(), 0.25), (u.vpp(), u.middle())
    assert gen.ask("FREQ? MAX") == "75000000"


def check_measure_follows_each_change(gen, unit):
    for hz in (1000, 5000, 700, 20000):
        measured = float(gen.ask(f"FREQ {hz};:MEAS:FREQ?"))
        assert abs(measured / hz - 1) < 1e-4, (hz, measured)


def main():
    logging.disable(logging.ERROR)  # check_errors logs what the checks provoke on purpose
    program, tap = sys.argv[1], os.path.abspath(sys.argv[2])
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        port = free_port()
        process = start(program, tap, folder, port)
        try:
            resource = f"TCPIP::127.0.0.1::{port}::SOCKET"
            options = dict(visa_library="@py", read_termination="\n", write_termination="\n",
                           timeout=5000)
            gen = Agilent33220A(resource, **options)
            gen33500 = Agilent33500(resource, **options)
            unit = Unit(folder)
            checks = [(check_amplitude_is_peak_to_peak, gen), (check_high_and_low, gen),
                      (check_duty_and_symmetry, gen), (check_output_off, gen),
                      (check_single_wave_burst, gen), (check_named_arbitrary_wave, gen33500),
                      (check_volatile_user_wave, gen), (check_apply, gen),
                      (check_measure_follows_each_change, gen)]
            for check, instrument in checks:
                try:
                    instrument.write("*RST;*CLS")
                    check(instrument, unit)
                    print("ok  ", check.__name__)
                except Exception as error:  # every check runs; the run fails at the end
                    failures.append(check.__name__)
                    print("FAIL", check.__name__, repr(error))
        finally:
            process.terminate()
            code = process.wait(timeout=10)
    if code != 0:
        failures.append(f"exit code {code} after SIGTERM")
    print("failed:", ", ".join(failures) if failures else "none")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
