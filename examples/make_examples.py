#!/usr/bin/env python3
"""Writes the example lift tables of this folder: one valve lift in mm per line,
one line per 0.1 degree of cam rotation. Run it again to recreate them.

Each lobe is checked to be grindable for a flat tappet on the default 28 mm
base circle: the contour's radius of curvature R + s + s'' (s'' in mm per
radian squared) stays positive, so no follower of the default geometry cuts
into the cam.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
R = 14.0  # default base circle radius, mm


def cycloidal(height, duration, centre=180.0):
    def lift(deg):
        u = (deg - (centre - duration / 2)) / duration
        if u <= 0 or u >= 1:
            return 0.0
        v = 2 * u if u <= 0.5 else 2 - 2 * u
        return height * (v - math.sin(2 * math.pi * v) / (2 * math.pi))
    return lift


def polynomial_345(height, rise, centre=180.0):
    """Rise by the 3-4-5 polynomial over `rise` degrees, fall the same way."""
    def lift(deg):
        u = 1 - abs(deg - centre) / rise
        if u <= 0:
            return 0.0
        return height * (10 * u**3 - 15 * u**4 + 6 * u**5)
    return lift


def write(name, lift, samples=3600, inch=False):
    values = [lift(i * 0.1) for i in range(samples)]
    h = math.radians(0.1)
    for i in range(1, samples - 1):
        s2 = (values[i + 1] - 2 * values[i] + values[i - 1]) / (h * h)
        assert R + values[i] + s2 > 0, (name, i)
    scale = 1 / 25.4 if inch else 1.0
    digits = 6 if inch else 4
    with open(os.path.join(HERE, name), "w", newline="\r\n") as f:
        for v in values:
            f.write(f"{v * scale:.{digits}f}\n")


write("cycloidal-8mm.txt", cycloidal(8.0, 240.0))
write("polynomial-7mm-long-base-circle.txt", polynomial_345(7.0, 100.0))
write("cycloidal-8mm-in-inches.txt", cycloidal(8.0, 240.0), inch=True)
