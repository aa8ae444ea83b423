#!/usr/bin/env python3
"""The peer a user could write in minutes: reads a SEG-Y file as zarno-cli measure does (headers, then
every trace's samples) and runs the same automatic reflection search with numpy's FFT: the arrival
index, the normalised autocorrelation, its first negative lag after the arrival and the strongest lag
after that. Prints one line per trace.

usage: measure_peer.py FILE.sgy [VELOCITY]
"""
import sys

import numpy as np

TEXT_HEADER = 3200
BINARY_HEADER = 400
TRACE_HEADER = 240
SAMPLE_TYPES = {2: ">i4", 5: ">f4"}


def read_traces(path):
    data = np.fromfile(path, dtype=np.uint8)
    binary = data[TEXT_HEADER:TEXT_HEADER + BINARY_HEADER].tobytes()
    interval_us = int.from_bytes(binary[16:18], "big")
    ns = int.from_bytes(binary[20:22], "big")
    fmt = int.from_bytes(binary[24:26], "big")
    stride = TRACE_HEADER + 4 * ns
    count = (data.size - TEXT_HEADER - BINARY_HEADER) // stride
    body = data[TEXT_HEADER + BINARY_HEADER:TEXT_HEADER + BINARY_HEADER + count * stride]
    rows = body.reshape(count, stride)[:, TRACE_HEADER:]
    traces = rows.copy().view(SAMPLE_TYPES[fmt]).astype(np.float64)
    return interval_us, traces


def reflection(x):
    n = x.size
    arrival = min(int(np.argmax(np.abs(x))), int(np.argmax(x)))
    size = 1 << (2 * n - 1).bit_length()
    spectrum = np.fft.rfft(x, size)
    r = np.fft.irfft(spectrum.real ** 2 + spectrum.imag ** 2, size)[:n]
    r /= r[0] if r[0] != 0 else 1.0
    negative = np.flatnonzero(r[arrival:] < 0)
    crossing = arrival + int(negative[0]) if negative.size else arrival
    return arrival, crossing + int(np.argmax(r[crossing:]))


def main():
    path = sys.argv[1]
    velocity = float(sys.argv[2]) if len(sys.argv) > 2 else 3600.0
    interval_us, traces = read_traces(path)
    for i, x in enumerate(traces):
        arrival, echo = reflection(x)
        length = echo * interval_us / 1e6 * velocity / 2
        print(f"trace {i + 1}: arrival {arrival}, reflection {echo}, length {length:.3f} m")


if __name__ == "__main__":
    main()
