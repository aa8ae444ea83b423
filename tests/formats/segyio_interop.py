#!/usr/bin/env python3
"""Reads and writes SEG-Y files with segyio for the interoperation tests.

  segyio_interop.py read FILE.sgy
      prints what segyio sees in FILE as JSON: trace count, sample count, interval (us),
      format code and every trace's samples.
  segyio_interop.py write FILE.sgy big|little 2|5
      writes 3 traces of 5 samples with segyio in the given byte order and format, and prints
      the samples and trace header values it wrote as JSON.
"""
import json
import sys

import numpy as np
import segyio


def read(path):
    with segyio.open(path, "r", ignore_geometry=True) as f:
        return {
            "tracecount": f.tracecount,
            "samples": len(f.samples),
            "interval": int(segyio.tools.dt(f)),
            "format": int(f.bin[segyio.BinField.Format]),
            "traces": [f.trace[i].tolist() for i in range(f.tracecount)],
        }


def write(path, endian, fmt):
    spec = segyio.spec()
    spec.format = fmt
    spec.samples = list(range(5))
    spec.tracecount = 3
    spec.endian = endian
    dtype = np.int32 if fmt == 2 else np.float32
    traces = []
    with segyio.create(path, spec) as f:
        f.bin.update({segyio.BinField.Interval: 250, segyio.BinField.IntervalOriginal: 250,
                      segyio.BinField.Samples: 5, segyio.BinField.Traces: 3})
        for i in range(3):
            if fmt == 2:
                data = np.array([(i + 1) * 1000 - 7 * k * (1 if k % 2 else -1) for k in range(5)], dtype=dtype)
            else:
                data = np.array([(i + 1) * 0.5 - 1.25 * k for k in range(5)], dtype=dtype)
            f.header[i] = {segyio.TraceField.TRACE_SEQUENCE_LINE: i + 1,
                           segyio.TraceField.offset: -100 * (i + 1),
                           segyio.TraceField.TRACE_SAMPLE_COUNT: 5,
                           segyio.TraceField.TRACE_SAMPLE_INTERVAL: 250}
            f.trace[i] = data
            traces.append(data.tolist())
    return {"traces": traces, "interval": 250, "sequence": [1, 2, 3], "offset": [-100, -200, -300]}


def main(argv):
    if len(argv) == 3 and argv[1] == "read":
        result = read(argv[2])
    elif len(argv) == 5 and argv[1] == "write":
        result = write(argv[2], argv[3], int(argv[4]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    json.dump(result, sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
