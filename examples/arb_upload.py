#!/usr/bin/env python3
"""Arbitrary wave upload: a decaying sine burst of 1000 points, sent in volts (DATA:ARB) or,
with --dac, as the unit's 12-bit codes in a binary block (DATA:ARB:DAC), then played at 1 kHz
and saved as a CSV file the File menu opens.

    DDSTarnUSB --headless --scpi &
    python3 examples/arb_upload.py [--dac] [HOST [PORT]]
"""
import math
import os
import sys

import pyvisa

args = [a for a in sys.argv[1:] if a != "--dac"]
host = args[0] if args else "127.0.0.1"
port = args[1] if len(args) > 1 else "5025"
gen = pyvisa.ResourceManager("@py").open_resource(
    f"TCPIP::{host}::{port}::SOCKET", read_termination="\n", write_termination="\n",
    timeout=10000)

volts = [2.5 * math.exp(-4 * i / 1000) * math.sin(2 * math.pi * 8 * i / 1000) for i in range(1000)]
if "--dac" in sys.argv:
    # 1.0 stands for 3.5 V; code 2048 is 0 V.
    codes = [round(2048 - 2047 * v / 3.5) for v in volts]
    gen.write_binary_values("DATA:ARB:DAC ", codes, datatype="H", is_big_endian=False)
else:
    gen.write("DATA:ARB " + ",".join(f"{v:.4f}" for v in volts))
print("complete:", gen.query("SOUR1:FREQ 1000;*OPC?"), "wave:", gen.query("FUNC?"))

path = os.path.abspath("burst.csv")
gen.write(f'MMEM:STOR:DATA "{path}"')
print("saved", path, "errors:", gen.query("SYST:ERR?"))
gen.close()
