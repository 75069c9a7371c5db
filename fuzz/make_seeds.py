#!/usr/bin/env python3
"""Writes the seed inputs of fuzz/corpus/<target>/: a few typical and a few
awkward cases per target, in the input layout each target's source describes.
Run it again to recreate them; the fuzzer finds the rest."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.join(HERE, "..", "examples")


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def example_lines(name, every=1):
    with open(os.path.join(EXAMPLES, name), "rb") as f:
        lines = f.read().splitlines()
    return b"\n".join(lines[::every]) + b"\n"


def lift_header(kind=0, generate=False, clockwise=False, spacing=0, dot=False,
                degrees=False, z=False, radius_off=False, keep_base=False,
                encirclement=False, repaint_off=False, comma=False, geometry=False,
                view=False, finder=False, inch=False, rotate=0, smoothing=0,
                params=(0,) * 10, view_bytes=(0, 0, 0), find=14):
    flags = (generate | clockwise << 1 | spacing << 2 | dot << 4 | degrees << 5 |
             z << 6 | radius_off << 7)
    more = (keep_base | encirclement << 1 | repaint_off << 2 | comma << 3 |
            geometry << 4 | view << 5 | finder << 6 | inch << 7)
    return bytes([kind, flags, more, rotate, smoothing, *params, *view_bytes, find])


def lift_chain():
    t = "lift_chain"
    write(t, "three_lines", lift_header() + b"0\n1\n0\n")
    write(t, "empty_memo_generate", lift_header(generate=True))
    write(t, "cycloidal_every_10th_flat", lift_header(generate=True) +
          example_lines("cycloidal-8mm.txt", 10))
    write(t, "cycloidal_roller_half_degree", lift_header(kind=1, generate=True, spacing=1,
                                                         degrees=True, z=True, radius_off=True) +
          example_lines("cycloidal-8mm.txt", 4))
    write(t, "polynomial_finger_a_finder", lift_header(kind=2, generate=True, finder=True) +
          example_lines("polynomial-7mm-long-base-circle.txt", 5))
    write(t, "finger_b_encirclement", lift_header(kind=3, encirclement=True, rotate=20) +
          example_lines("cycloidal-8mm.txt", 3))
    write(t, "knife_comma_clockwise", lift_header(kind=4, generate=True, clockwise=True,
                                                  comma=True, spacing=2) +
          b"0,0\r\n0,5\r\n1,25\r\n2,0\r\n1,25\r\n0,5\r\n0,0\r\n")
    write(t, "inches_converted", lift_header(inch=True, dot=True) +
          example_lines("cycloidal-8mm-in-inches.txt", 20))
    write(t, "not_a_number", lift_header() + b"0\n1.5\nabc\n0\n")
    write(t, "exponents_blanks_signs", lift_header(generate=True, spacing=3) +
          b" 0 \n+1e-1\n2.5E0\n-0\n1.0e+00\n0\n")
    write(t, "rocker_ratio_zero", lift_header(geometry=True, params=(0,) * 8 + (160, 0)) +
          b"0\n3\n0\n")
    write(t, "roller_offset_too_large", lift_header(kind=1, geometry=True,
                                                    params=(0,) * 9 + (163,)) + b"0\n3\n0\n")
    write(t, "hostile_view_and_smoothing", lift_header(generate=True, view=True, smoothing=5,
                                                       view_bytes=(2, 3, 0)) +
          example_lines("cycloidal-8mm.txt", 10))
    write(t, "full_cycloidal_tenth_degree", lift_header(generate=True, spacing=2) +
          example_lines("cycloidal-8mm.txt"))


def number_readers():
    t = "number_readers"
    for name, shape, text in [
            ("plain", 1, b"12.5"), ("comma_system", 1 | 64, b"12,5"),
            ("exponent", 3, b" -1.25E-3 "), ("integer", 0, b"180"),
            ("integer_bounded", 16 | 32, b"400"), ("int_overflow", 0, b"2147483648"),
            ("huge", 5, b"1e308"), ("beyond_double", 5, b"1e309"),
            ("tiny", 1, b"4.9e-324"), ("garbage", 1, b"12.5mm"), ("empty", 1, b""),
            ("many_digits", 1, b"0." + b"9" * 40), ("plus_sign", 1, b"+.5")]:
        write(t, name, bytes([shape, 1]) + text)


def number_texts():
    t = "number_texts"
    for name, value, choice in [
            ("one", 1.0, 8 << 1), ("third", 1 / 3, 4 << 1 | 1), ("tie_8_digits", 0.125, 2 << 1),
            ("dxf_scientific", 123456789.0, 8 << 1), ("small", 0.00012345678, 3 << 1),
            ("negative", -28.25, 1 << 1 | 1), ("largest", 1.7976931348623157e308, 20 << 1),
            ("subnormal", 5e-324, 8 << 1), ("nan", math.nan, 8 << 1), ("inf", -math.inf, 0),
            ("general_15_digits", 999999999999999.5, 2 << 1), ("contour", 13.99999999, 8 << 1)]:
        write(t, name, struct.pack("<dB", value, choice))


def smoothing_spline():
    t = "smoothing_spline"
    # count, spacing kind, y kind, smoothing index, then bytes per point.
    write(t, "contour_like", bytes([30, 0, 0, 4]) + bytes(range(40, 100, 2)))
    write(t, "noise_tenth", bytes([35, 1, 1, 10]) + bytes((i * 37) % 251 for i in range(35)))
    write(t, "alternating", bytes([39, 0, 2, 6]) + bytes(i % 2 for i in range(39)))
    write(t, "line_s_one", bytes([20, 2, 5, 2]) + bytes(range(40)))
    write(t, "uneven_extreme", bytes([25, 3, 3, 5]) + bytes((i * 71) % 256 for i in range(100)))
    write(t, "interpolant", bytes([12, 0, 0, 0]) + bytes(range(0, 120, 10)))
    write(t, "nan_smoothing", bytes([8, 0, 0, 12]) + bytes(range(8)))
    write(t, "program_size", bytes([245, 0, 1, 14]) + bytes((i * 13) % 256 for i in range(360)))


lift_chain()
number_readers()
number_texts()
smoothing_spline()
