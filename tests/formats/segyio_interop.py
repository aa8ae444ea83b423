#!/usr/bin/env python3
"""Reads and writes SEG-Y files with segyio for the interoperation tests.

  segyio_interop.py read FILE.sgy [big|little]
      prints what segyio sees in FILE as JSON: trace count, sample count, interval (us),
      format code, the textual header and every trace's samples.
  segyio_interop.py write FILE.sgy big|little FORMAT
      writes 3 traces of 8 samples with segyio in the given byte order and sample format, and
      prints the samples and trace header values it wrote as JSON.
  segyio_interop.py pile FILE.sgy big|little FORMAT
      writes one 12 m pile sounded at 40 us (two blows, the toe reflection 150 samples after the
      blow) the way a script elsewhere would: samples given 1 ms apart, so that segyio fills both
      interval fields with 1000 us, then the standard interval field set to 40 us and the original
      recording's left at 1000 us. Prints the samples segyio reads back.
"""
import json
import math
import sys

import numpy as np
import segyio

DTYPES = {1: np.float32, 2: np.int32, 3: np.int16, 5: np.float32, 8: np.int8}
# Amplitudes that fill each integer format without overflowing it.
PILE_SCALE = {1: 1000.0, 2: 100000.0, 3: 10000.0, 5: 1000.0, 8: 100.0}


def card_lines(text):
    """The textual header (as segyio gives it, in ASCII) in its 80-character cards, each without
    the blanks and control characters at its end."""
    cards = [text[i:i + 80].decode("latin-1") for i in range(0, len(text), 80)]
    return [card.rstrip("".join(map(chr, range(33))) + "".join(map(chr, range(0x7F, 0xA0)))) for card in cards]


def read(path, endian="big"):
    with segyio.open(path, "r", ignore_geometry=True, endian=endian) as f:
        return {
            "tracecount": f.tracecount,
            "samples": len(f.samples),
            "interval": int(segyio.tools.dt(f)),
            "format": int(f.bin[segyio.BinField.Format]),
            "text": card_lines(f.text[0]),
            "traces": [f.trace[i].tolist() for i in range(f.tracecount)],
        }


def spec_of(endian, fmt, samples, tracecount):
    spec = segyio.spec()
    spec.format = fmt
    spec.samples = list(range(samples))
    spec.tracecount = tracecount
    spec.endian = endian
    return spec


def write(path, endian, fmt):
    dtype = DTYPES[fmt]
    traces = []
    with segyio.create(path, spec_of(endian, fmt, 8, 3)) as f:
        f.bin.update({segyio.BinField.Interval: 250, segyio.BinField.IntervalOriginal: 250,
                      segyio.BinField.Samples: 8, segyio.BinField.Traces: 3})
        for i in range(3):
            if np.issubdtype(dtype, np.integer):
                data = np.array([(i + 1) * 10 - 7 * k * (1 if k % 2 else -1) for k in range(8)], dtype=dtype)
            else:
                data = np.array([(i + 1) * 0.5 - 1.25 * k + 0.1 for k in range(8)], dtype=dtype)
            f.header[i] = {segyio.TraceField.TRACE_SEQUENCE_LINE: i + 1,
                           segyio.TraceField.offset: -100 * (i + 1),
                           segyio.TraceField.TRACE_SAMPLE_COUNT: 8,
                           segyio.TraceField.TRACE_SAMPLE_INTERVAL: 250}
            f.trace[i] = data
            traces.append(data.tolist())
    return {"traces": traces, "interval": 250, "sequence": [1, 2, 3], "offset": [-100, -200, -300]}


def pile_trace(samples, lag, scale):
    x = [0.0] * samples
    for i in range(12):
        s = scale * math.sin(math.pi * i / 12.0)
        x[20 + i] += s
        x[20 + lag + i] += 0.4 * s
    return x


def pile(path, endian, fmt):
    samples, lag = 1024, 150
    with segyio.create(path, spec_of(endian, fmt, samples, 2)) as f:
        f.bin.update({segyio.BinField.Interval: 40})
        for i, scale in enumerate([PILE_SCALE[fmt], 0.8 * PILE_SCALE[fmt]]):
            f.trace[i] = np.array(np.round(pile_trace(samples, lag, scale)), dtype=DTYPES[fmt])
    return read(path, endian)


def main(argv):
    if len(argv) in (3, 4) and argv[1] == "read":
        result = read(*argv[2:])
    elif len(argv) == 5 and argv[1] in ("write", "pile"):
        result = (write if argv[1] == "write" else pile)(argv[2], argv[3], int(argv[4]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    json.dump(result, sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
