#!/usr/bin/env python3
"""Writes effect/LevellerTables.h, the tables of the leveller's power curve in
effect/LevellerCurve.h, computed with 60 significant digits and each checked against the bounds
LevellerCurve.h relies on.

The curve is R(e) = exp(S ln e + O) for the leveller's power envelope e: S and O below are the
doubles the effect's constants give (effect/DspConstants.h; LevellerCurve.h asserts S).

Usage: gen-leveller-tables.py | clang-format --assume-filename=effect/LevellerTables.h \
           > effect/LevellerTables.h
"""
import struct

import mpmath

mpmath.mp.dps = 60

# The effect's constants, as doubles (Python floats round as C++ doubles do).
SLOPE = -0.5238095238095238          # 1/2.1 - 1
DECIBELS_TO_NEPERS = 0.1151292546497
NEPERS_TO_DECIBELS = 8.685889638065037
THRESHOLD = 122.0
RATIO = 25.0
TWICE_SLOPE = 2 * SLOPE * DECIBELS_TO_NEPERS
S = TWICE_SLOPE * NEPERS_TO_DECIBELS
# O in exact arithmetic from the doubles: 2 × slope × threshold in nepers, plus ln 625.
O = mpmath.mpf(TWICE_SLOPE) * THRESHOLD + mpmath.log(mpmath.mpf(RATIO) ** 2)

INTERVAL_BITS = 7                   # 128 intervals of the reduced argument
OFFSET = 0x3FE6A09E667F3BCD         # the bits of √½: the reduced argument lies in [√½, √2)
K_MIN = -24                         # below 2^-24.5 the envelope is far below the threshold
SMALLEST_POWER_OF_K = mpmath.mpf(2) ** -1000  # the table of k ends before its values get tiny
DEGREE = 7


def bits_to_double(b):
    return struct.unpack("<d", struct.pack("<Q", b))[0]


def round_to_bits(v, significant):
    """v rounded to `significant` significant bits."""
    m, e = mpmath.frexp(v)
    scale = mpmath.mpf(2) ** significant
    return float(mpmath.nint(m * scale) / scale * mpmath.mpf(2) ** e)


def split(v, significant):
    """A high part on `significant` bits and the rest relative to it."""
    hi = round_to_bits(v, significant)
    return hi, float((v - mpmath.mpf(hi)) / mpmath.mpf(hi))


def interval_rows():
    rows = []
    max_r = 0
    for i in range(1 << INTERVAL_BITS):
        first = OFFSET + (i << (52 - INTERVAL_BITS))
        last = OFFSET + ((i + 1) << (52 - INTERVAL_BITS)) - 1
        lo, hi = mpmath.mpf(bits_to_double(first)), mpmath.mpf(bits_to_double(last))
        if lo <= 1 <= hi:
            invc = 1.0
        else:
            # 1/c for c the interval's geometric centre, on 27 bits: z's high 26 bits times it
            # are exact.
            invc = round_to_bits(1 / mpmath.sqrt(lo * hi), 27)
        max_r = max(max_r, abs(lo * invc - 1), abs(hi * invc - 1))
        # c^S with c = 1/invc, on 26 bits: times the 27-bit power of k it is exact.
        power, tail = split(mpmath.power(mpmath.mpf(invc), -S), 26)
        rows.append((invc, power, tail))
    assert max_r < mpmath.mpf(2) ** -7.9, max_r
    return rows


def k_rows():
    rows = []
    k = K_MIN
    while True:
        v = mpmath.exp(mpmath.mpf(S) * k * mpmath.log(2) + O)
        if v < SMALLEST_POWER_OF_K:
            break
        rows.append(split(v, 27))
        k += 1
    return rows


def binomial(j):
    c = mpmath.mpf(1)
    for m in range(j):
        c = c * (mpmath.mpf(S) - m) / (m + 1)
    return c


def main():
    ks = k_rows()
    # The terms left out of (1 + r)^S are below 2^-60 of it.
    assert abs(binomial(DEGREE + 1)) * (mpmath.mpf(2) ** -7.9) ** (DEGREE + 1) < mpmath.mpf(2) ** -60
    out = [
        "#pragma once",
        "// Tables of the leveller's power curve in LevellerCurve.h, written by",
        "// scripts/gen-leveller-tables.py (60-digit arithmetic); do not edit by hand.",
        "",
        "namespace tavo::leveller_tables {",
        "",
        f"inline constexpr double kSlope = {S.hex()}; // S",
        f"inline constexpr int kIntervalBits = {INTERVAL_BITS};",
        f"inline constexpr unsigned long long kOffset = 0x{OFFSET:016X}ull;",
        "",
        "// Per interval of the reduced argument: 1/c on 27 bits; c^S on 26 bits and the rest",
        "// relative to it.",
        "struct IntervalRow {",
        "  double invc, power, tail;",
        "};",
        f"inline constexpr IntervalRow kIntervals[{1 << INTERVAL_BITS}] = {{",
    ]
    for invc, power, tail in interval_rows():
        out.append(f"    {{{invc.hex()}, {power.hex()}, {tail.hex()}}},")
    out += [
        "};",
        "",
        "// Per power of two k of the envelope from kFirstK on: exp(S k ln 2 + O) on 27 bits and the",
        "// rest relative to it.",
        "struct PowerRow {",
        "  double power, tail;",
        "};",
        f"inline constexpr int kFirstK = {K_MIN};",
        f"inline constexpr int kLastK = {K_MIN + len(ks) - 1};",
        f"inline constexpr PowerRow kPowers[{len(ks)}] = {{",
    ]
    for power, tail in ks:
        out.append(f"    {{{power.hex()}, {tail.hex()}}},")
    out += [
        "};",
        "",
        "// (1 + r)^S − 1 − S r = Σ c_j r^j, j = 2 … 7.",
        "inline constexpr double kBinomial[" + str(DEGREE - 1) + "] = {",
    ]
    for j in range(2, DEGREE + 1):
        out.append(f"    {float(binomial(j)).hex()},")
    out += ["};", "", "} // namespace tavo::leveller_tables"]
    print("\n".join(out))


if __name__ == "__main__":
    main()
