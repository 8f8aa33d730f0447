#!/usr/bin/env python3
"""Writes a synthetic report file (headerless 12-byte records: day count, RH and T in
hundredths) for trying exports end to end: one reading every STEP seconds from 1 January 2025,
a daily swing with noise, and a share of invalid humidity and temperature readings.

    bench/make_report.py OUT COUNT [--step SECONDS] [--invalid SHARE] [--seed N]
"""
import argparse
import math
import random
import struct

parser = argparse.ArgumentParser()
parser.add_argument("out")
parser.add_argument("count", type=int)
parser.add_argument("--step", type=float, default=60.0)
parser.add_argument("--invalid", type=float, default=0.01)
parser.add_argument("--seed", type=int, default=20261210)
args = parser.parse_args()

rng = random.Random(args.seed)
record = struct.Struct("<dhh")
start = 45658.0  # 2025-01-01 00:00 as a day count from 1899-12-30
chunk = bytearray(record.size * 65536)
with open(args.out, "wb") as out:
    filled = 0
    for i in range(args.count):
        day = i * args.step / 86400.0
        rh = 45 - 12 * math.sin(2 * math.pi * day) + rng.gauss(0, 1)
        t = 21 + 4 * math.sin(2 * math.pi * day) + 0.2 * rng.gauss(0, 1)
        rh_raw = int(round(rh * 10)) * 10
        t_raw = int(round(t * 10)) * 10
        u = rng.random()
        if u < args.invalid / 2:
            rh_raw = 12000
        elif u < args.invalid:
            t_raw = -12000
        record.pack_into(chunk, filled, start + day + 5.0 / 86400.0, rh_raw, t_raw)
        filled += record.size
        if filled == len(chunk):
            out.write(chunk)
            filled = 0
    out.write(chunk[:filled])
