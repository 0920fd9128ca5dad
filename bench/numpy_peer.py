#!/usr/bin/env python3
"""The download buffers of engine_bench built the way a Python user would: vectorised numpy.

Prints one JSON object: wave name -> CPU microseconds per 4096-code buffer (median of runs).
The record values repeat those of EngineWaveform.cpp.
"""
import json
import statistics
import sys
import time
import timeit

import numpy as np

N = 4096          # samples in the buffer
K = 4             # periods in the buffer
PHASE = 0.0
A = np.float64(np.float32(2.0)) * np.float64(np.float32(0.2857143))
OFS = 0.5 * 0.2857142857142857
FREQ = 1000.0
SQUARE_DUTY = np.float64(np.float32(0.5))
RAMP_DUTY = np.float64(np.float32(0.5))
TAU = np.float64(np.float32(0.001))
RISE, HIGH, FALL = (np.float64(np.float32(v)) for v in (0.2, 0.4, 0.2))
DEPTH = np.float64(np.float32(0.5)) * 0.5
CARRIER = 10000.0
PER_PERIOD = 1024
ARB = (3.0 * np.sin(np.arange(4096) * 0.0061359231515425647)).astype(np.float32)
RNG = np.random.default_rng()


def positions():
    return np.arange(N) / N + PHASE / K


def in_period(x):
    period = 1.0 / K
    return x - np.trunc(x / period) * period


def codes(v):
    return np.clip(np.trunc(2048.0 - v * 2047.0), 0, 4095).astype(np.uint16)


def sine():
    return codes(np.sin(K * positions() * 6.28318) * A + OFS)


def ramp():
    u = in_period(positions())
    rise = RAMP_DUTY / K
    fall = (1.0 - RAMP_DUTY) / K
    up = A * (2.0 * u / rise - 1.0) + OFS
    down = A * (1.0 - 2.0 * (u - rise) / fall) + OFS
    return codes(np.where(u < rise, up, down))


def square():
    u = in_period(positions())
    return codes(np.where(u < SQUARE_DUTY / K, OFS + A, OFS - A))


def exponent():
    u = in_period(positions())
    return codes(OFS + A * np.exp(-(K * u) / (TAU * FREQ)))


def arb():
    index = (np.trunc(N * positions()).astype(np.int64) % PER_PERIOD) % 4096
    return codes(ARB[index].astype(np.float64) * np.float64(np.float32(0.2857143)))


def trapezia():
    u = in_period(positions())
    r, h, f = RISE / K, HIGH / K, FALL / K
    falling = np.clip(A * (1.0 - 2.0 * (u - r - h) / f) + OFS, OFS - A, OFS + A)
    rising = A * (2.0 * u / r - 1.0) + OFS
    v = np.select([u >= (FALL + RISE + HIGH) / K, u >= (RISE + HIGH) / K, u >= r],
                  [OFS - A, falling, OFS + A], rising)
    return codes(v)


def am():
    x = positions()
    envelope = DEPTH * np.sin(K * x * 6.2831852) + (1.0 - DEPTH)
    return codes(envelope * np.sin(CARRIER * K * x * 6.2831852 / FREQ) * A + OFS)


def gauss_noise():
    weight = RNG.integers(0, 32768, N) * 3.0517578125e-05
    angle = RNG.integers(0, 32768, N) * 6.2831852 / 32768
    return codes(np.sin(angle) * A * weight)


def white_noise():
    return codes((RNG.integers(0, 32768, N) - 16384) * A * 6.103515625e-05)


WAVES = {"Sine": sine, "Ramp": ramp, "Square": square, "Exponent": exponent, "Arb": arb,
         "Trapezia": trapezia, "AM": am, "GaussNoise": gauss_noise, "WhiteNoise": white_noise}


def main():
    np.seterr(all="ignore")
    calls = 200
    result = {}
    for name, build in WAVES.items():
        assert build().shape == (N,)
        timer = timeit.Timer(build, timer=time.process_time)
        runs = timer.repeat(repeat=7, number=calls)
        result[name] = statistics.median(runs) / calls * 1e6
    json.dump(result, sys.stdout)
    print()


if __name__ == "__main__":
    main()
