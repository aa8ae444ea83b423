#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into fuzz/corpus/NAME/.

Each target gets a handful of small inputs: well-formed ones, so that the fuzzer starts from the
paths real data takes, and edge ones (cut short, claims beyond the data, the compact forms the
targets read from an odd first byte). Run it again after changing a target's input form; the files
are kept in the repository so that every run starts from the same seeds.
"""

import os
import shutil
import struct
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def ddb(channels, ns, words, fmt=2, freq=8000, unit=0, ident=b"PILE 7", extra=b""):
    head = bytearray(512)
    head[0:len(ident)] = ident
    struct.pack_into("<HHHHHHH", head, 44, 2005, 4, 4, 11, 3, 38, 120)
    struct.pack_into("<HHHHiH", head, 58, freq, 11, 22, channels, ns, fmt)
    struct.pack_into("<H", head, 92, unit)
    data = b"".join(struct.pack("<I", (0x01020304 + w * 0x00010101) & 0xFFFFFFFF) for w in range(words))
    return bytes(head) + data + extra


def ddb_compact(channels, ns, freq, unit, fmt, data_bytes):
    # The converter target's compact form: an odd first byte, then the header values, then the data.
    return struct.pack("<BBHHBB", 1, channels - 1, ns - 1, freq, unit, fmt) + bytes(range(256)) * (data_bytes // 256) \
        + bytes(data_bytes % 256)


def sgy(traces, ns, fmt=5, little=False, interval=100, samples_present=None):
    end = "<" if little else ">"
    text = b"C 1 zarno seed".ljust(3200, b" ")
    binary = bytearray(400)
    struct.pack_into(end + "HH", binary, 12, traces, traces)
    struct.pack_into(end + "HHH", binary, 16, interval, interval, ns)
    struct.pack_into(end + "H", binary, 24, fmt)
    out = bytearray(text + bytes(binary))
    present = traces if samples_present is None else samples_present
    for t in range(present):
        trace = bytearray(240)
        struct.pack_into(end + "ii", trace, 0, t + 1, t + 1)
        struct.pack_into(end + "HH", trace, 114, ns, interval)
        out += trace
        for s in range(ns):
            value = (s * 37 + t * 11) % 200 - 100
            if fmt == 1:  # IBM float: the integer's magnitude as a fraction of 16^2, and its sign
                out += struct.pack(end + "I", (0x80000000 if value < 0 else 0) | 0x42000000 | abs(value) << 16)
            else:
                out += struct.pack(end + SAMPLE_CODES[fmt], value % 256 if fmt == 16 else abs(value) if fmt in (10, 11) else value)
    return bytes(out)


# struct codes of the sample formats the reader decodes
SAMPLE_CODES = {2: "i", 3: "h", 5: "f", 6: "d", 8: "b", 10: "I", 11: "H", 16: "B"}


def sgy_compact(traces, ns_low, ns_high, fmt24, fmt25, body):
    return bytes([1, traces, ns_low, ns_high, fmt24, fmt25, 0, 0]) + body


def vary(ns, count, first, values):
    return struct.pack("<H", ns) + struct.pack("<ii", count, first) + b"".join(struct.pack("<d", v) for v in values)


def filter_record(fs=100000.0, n=128, bands=((10.0, 0.0, 1.0),), kind=2, beta=0.54):
    record = bytearray(2452)
    struct.pack_into("<diiid", record, 0, fs, n, len(bands), kind, beta)
    struct.pack_into("<ddd", record, 28, 0.46, 0.0, 0.0)
    for i, band in enumerate(bands):
        struct.pack_into("<ddd", record, 52 + 24 * i, *band)
    return bytes(record)


def fat_entry(name, ext, attr, size):
    entry = bytearray(32)
    entry[0:11] = name.ljust(8).encode() + ext.ljust(3).encode()
    entry[11] = attr
    struct.pack_into("<HH", entry, 22, 0x5A00, 0x3284)  # time and date
    struct.pack_into("<I", entry, 28, size)
    return bytes(entry)


def listing(status, entries):
    return struct.pack("<H", status) + b"".join(entries)


def request(code, payload):
    # The disk server target: a code byte (64 + byte % 14), a length byte (x3), the payload.
    assert len(payload) % 3 == 0
    return bytes([code - 64, len(payload) // 3]) + payload


def device_name(name, ext, attr=0):
    return (name.ljust(8) + ext.ljust(3)).encode() + bytes([attr])


def datagram(flags, ident, data):
    if len(data) % 2:
        data += b"\0"
    return struct.pack("<BBH", flags, ident, len(data) // 2) + data


def serial_frame(dst, src, data):
    if len(data) % 2:
        data += b"\0"
    total = dst + src + len(data) + sum(struct.unpack("<%dH" % (len(data) // 2), data))
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return struct.pack("<BBHHH", 0xAA, 0xAB, dst, src, len(data)) + data + struct.pack("<H", ~total & 0xFFFF)


SEEDS = {
    "ddb_convert_fuzzer": {
        "one_channel_int.ddb": ddb(1, 16, 16),
        "two_channels_float_khz.ddb": ddb(2, 8, 16, fmt=5, freq=8, unit=1),
        "partial_last_block.ddb": ddb(3, 50, 130, extra=b"\x5a\x5a\x5a"),
        "words_past_ns.ddb": ddb(2, 10, 40),
        "header_cut_short.ddb": ddb(1, 4, 4)[:300],
        "compact_one_channel.bin": ddb_compact(1, 200, 8000, 0, 2, 800),
        "compact_four_channels.bin": ddb_compact(4, 300, 25, 1, 5, 1300),
    },
    "sgy_reader_fuzzer": {
        "big_endian_float.sgy": sgy(2, 16),
        "little_endian_int.sgy": sgy(1, 16, fmt=2, little=True),
        "traces_missing.sgy": sgy(3, 8, samples_present=1),
        "zero_interval.sgy": sgy(1, 8, interval=0),
        "headers_only.sgy": sgy(1, 8, samples_present=0),
        "compact_big_endian.bin": sgy_compact(2, 8, 0, 0, 5, bytes(240) + bytes(range(32))),
        "compact_little_endian.bin": sgy_compact(1, 4, 0, 2, 0, bytes(240) + bytes(16)),
        "ibm_big_endian.sgy": sgy(2, 16, fmt=1),
        "int16_little_endian.sgy": sgy(2, 9, fmt=3, little=True),
        "int8_big_endian.sgy": sgy(1, 7, fmt=8),
        "double_little_endian.sgy": sgy(1, 5, fmt=6, little=True),
        "uint16_big_endian.sgy": sgy(1, 6, fmt=11),
        # revision 1 with one extended textual header, 3 IBM samples, an interval of 1 us
        "compact_revision_1_ibm.bin": bytes([1, 1, 0, 3, 0, 1, 1, 4]) + bytes(3200) + bytes(240) + bytes(12),
    },
    "vary_ini_fuzzer": {
        "neutral.bin": vary(8, 8, 1, [1.0] * 8),
        "rising.bin": vary(8, 8, 20, [1.0 + i for i in range(8)]),
        "count_beyond_ns.bin": vary(4, 10, 1, [2.0] * 10),
        "count_beyond_data.bin": vary(16, 16, 1, [1.5] * 3),
        "negative_count.bin": vary(8, -1, -5, []),
        "header_only.bin": vary(100, 0, 1, []),
        "ns_zero.bin": vary(0, 4, 1, [1.0] * 4),
    },
    "filter_ini_fuzzer": {
        "defaults.ini": filter_record(),
        "three_bands.ini": filter_record(n=32, bands=((5.0, 1.0, 2.0), (12.0, 5.0, 0.5), (20.0, 12.0, 1.0))),
        "odd_beta.ini": filter_record(n=7, beta=250.0),
        "zero_fs.ini": filter_record(fs=0.0, n=4),
        "short.ini": filter_record()[:100],
        "empty.ini": b"",
    },
    "listing_answer_fuzz": {
        "root_more.bin": listing(0xFFFF, [fat_entry("PILE06", "DDB", 0x20, 70000), fat_entry("SITE1", "", 0x10, 0)]),
        "subdir_done.bin": listing(1, [fat_entry(".", "", 0x10, 0), fat_entry("..", "", 0x10, 0),
                                       fat_entry("P01", "DDB", 0x20, 4608)]),
        "sixteen_entries.bin": listing(0xFFFF, [fat_entry("F%02d" % i, "TXT", 0x20, i * 100) for i in range(16)]),
        "deleted_and_volume.bin": listing(1, [b"\xe5" + fat_entry("GONE", "DDB", 0x20, 10)[1:],
                                              fat_entry("LABEL", "", 0x08, 0)]),
        "cut_entry.bin": listing(1, [fat_entry("HALF", "DDB", 0x20, 1)])[:20],
        "status_only.bin": listing(0, []),
    },
    "disk_server_fuzz": {
        "info_and_list.bin": request(65, b"") + request(66, b"") + request(67, b""),
        "enter_and_list.bin": request(68, device_name("SUB", "", 0x10)) + request(66, b"") + request(68, device_name("..", "", 0x10)),
        "open_read_close.bin": request(69, device_name("A", "TXT")) + request(71, bytes(6)) + request(70, bytes(3)),
        "create_write_delete.bin": request(72, device_name("NEW", "BIN")) + request(73, bytes(12))
        + request(70, bytes(3)) + request(74, device_name("NEW", "BIN")),
        "mkdir.bin": request(75, device_name("DIR2", "", 0x10)) + request(68, device_name("DIR2", "", 0x10)),
        "unknown_code.bin": bytes([0xF5, 1, 1, 2, 3]),
    },
    "datagram_fuzz": {
        "answer_with_data.bin": datagram(0x02 | 0x04, 7, struct.pack("<H", 65) + bytes(10)),
        "plain_message.bin": datagram(0x00, 1, struct.pack("<H", 66)),
        "repeat.bin": datagram(0x01, 1, struct.pack("<H", 66)),
        "no_answer.bin": datagram(0x08, 200, struct.pack("<H", 68) + device_name("SUB", "", 0x10)),
        "length_beyond_data.bin": struct.pack("<BBH", 0x02, 3, 600) + bytes(8),
        "wake_up.bin": bytes(4),
    },
    "serial_frame_fuzz": {
        "one_frame.bin": serial_frame(1, 2, datagram(0x02, 5, struct.pack("<H", 65) + bytes(4))),
        "two_frames.bin": serial_frame(1, 2, b"abcd") + serial_frame(2, 1, b"efghij"),
        "noise_then_frame.bin": b"\x00\xaa\x13\xab" + serial_frame(1, 2, b"xy"),
        "bad_checksum.bin": serial_frame(1, 2, b"abcd")[:-1] + b"\x00",
        "too_long.bin": struct.pack("<BBHHH", 0xAA, 0xAB, 1, 2, 600) + bytes(16),
        "empty_frame.bin": serial_frame(3, 4, b""),
    },
}


def main():
    targets = sys.argv[1:] or sorted(SEEDS)
    for name in targets:
        folder = os.path.join(ROOT, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for file_name, data in SEEDS[name].items():
            with open(os.path.join(folder, file_name), "wb") as out:
                out.write(data)
        print("%s: %d seeds" % (name, len(SEEDS[name])))


if __name__ == "__main__":
    main()
