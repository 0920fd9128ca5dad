#!/usr/bin/env python3
"""Frequency response: steps one generator from 10 Hz to 10 MHz, five points per decade, and
reads each frequency back with the unit's own meter.

    DDSTarnUSB --headless --scpi &
    python3 examples/freq_response.py [HOST [PORT]]
"""
import sys

import pyvisa

host = sys.argv[1] if len(sys.argv) > 1 else "127.0.0.1"
port = sys.argv[2] if len(sys.argv) > 2 else "5025"
gen = pyvisa.ResourceManager("@py").open_resource(
    f"TCPIP::{host}::{port}::SOCKET", read_termination="\n", write_termination="\n",
    timeout=5000)
print(gen.query("*IDN?"))
gen.write("*RST;:OUTP ON")

print(f"{'set Hz':>12} {'measured Hz':>14} {'error ppm':>10}")
for k in range(31):
    hz = 10 * 10 ** (k / 5)
    # MEASure answers with a reading the meter took after the new frequency reached the unit.
    measured = float(gen.query(f"SOUR1:FREQ {hz:.6g};:MEAS:FREQ?"))
    print(f"{hz:12.6g} {measured:14.6f} {(measured / hz - 1) * 1e6:10.2f}")

print("errors:", gen.query("SYST:ERR?"))
gen.close()
