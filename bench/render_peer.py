#!/usr/bin/env python3
"""The peer of `zarno-cli render`: reads a SEG-Y file as measure_peer.py does and draws every trace in
a band of its own, stacked top to bottom with a grid, into a PNG of the same size with matplotlib's
Agg backend (the one a user without a display gets).

usage: render_peer.py FILE.sgy OUT.png [WIDTH HEIGHT]
"""
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from measure_peer import read_traces  # noqa: E402

DPI = 100


def main():
    path, out = sys.argv[1], sys.argv[2]
    width = int(sys.argv[3]) if len(sys.argv) > 3 else 1920
    height = int(sys.argv[4]) if len(sys.argv) > 4 else 1080
    _, traces = read_traces(path)
    figure, axes = plt.subplots(len(traces), 1, sharex=True, squeeze=False,
                                figsize=(width / DPI, height / DPI), dpi=DPI)
    for axis, trace in zip(axes[:, 0], traces):
        axis.plot(trace, color="black", linewidth=1.0)
        axis.grid(True)
    figure.savefig(out, dpi=DPI)


if __name__ == "__main__":
    main()
