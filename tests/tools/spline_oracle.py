#!/usr/bin/python3
"""Reference values of the smoothing spline from SciPy (1.10 or later).

Writes tests/data/spline_oracle.txt, read by tests/core/output/smoothing_spline_test.cpp.
The data of every row are rebuilt by the test with the same formula (oracle_y
below and its C++ twin); the file carries a few of them so that a drift of
either formula shows up as such.

SciPy's make_smoothing_spline minimises sum (y - g)^2 + lam * integral g''^2
with a knot at every x (unit weights), so lam = 1/mu. The lam whose residual sum
equals S = s * (residual sum of the least-squares line) is found by root
finding in log lam. s = 0 is the natural interpolating spline (CubicSpline).

Run with Debian's interpreter, which sees python3-scipy:
    /usr/bin/python3 tests/tools/spline_oracle.py > tests/data/spline_oracle.txt
"""
import math

import numpy as np
import scipy
from scipy.interpolate import CubicSpline, make_smoothing_spline
from scipy.optimize import brentq

# (points, spacing of x, smoothing value)
ROWS = [
    (360, 1, 2.5e-8),
    (720, 1, 1e-6),
    (3600, 1, 1e-7),
    (3600, 1, 4e-6),
    (3600, 10, 0.0),
]
SAMPLES = 300


def oracle_y(n):
    """8 * raised-cosine bump + 0.3 t on t = i/(n-1), plus uniform noise of
    standard deviation 1e-3 from a 64-bit linear congruential generator."""
    state = 12345
    y = []
    for i in range(n):
        state = (state * 6364136223846793005 + 1442695040888963407) % 2**64
        uniform = (state >> 11) * 2.0**-53
        t = i / (n - 1)
        bump = 4.0 * (1.0 - math.cos(2.0 * math.pi * t))
        y.append(bump + 0.3 * t + (uniform - 0.5) * 3.4641016151377544e-3)
    return np.array(y)


def line_rss(x, y):
    xc = x - x.mean()
    yc = y - y.mean()
    r = yc - (xc @ yc) / (xc @ xc) * xc
    return r @ r


def sample_abscissas(x, s):
    """Knots and points between them, both ends included."""
    n = len(x)
    if s == 0:
        # the fine interpolation: every integer abscissa is used
        return np.unique(np.linspace(0, x[-1], SAMPLES).round())
    knots = np.unique(np.linspace(0, n - 1, SAMPLES // 2).round().astype(int))
    between = x[knots[:-1]] + 0.37 * (x[1] - x[0])
    return np.sort(np.concatenate([x[knots], between]))


def main():
    print("# Smoothing spline reference values from SciPy", scipy.__version__,
          "(tests/tools/spline_oracle.py).")
    print("# row <n> <spacing> <s> <mu>   (mu = 1/lam; inf for s = 0)")
    print("# y <i> <y_i>                  (input checks)")
    print("# g <x> <g(x)>")
    for n, spacing, s in ROWS:
        x = spacing * np.arange(n, dtype=float)
        y = oracle_y(n)
        if s == 0:
            spline = CubicSpline(x, y, bc_type="natural")
            mu = math.inf
        else:
            target = s * line_rss(x, y)

            def excess(log_lam):
                r = y - make_smoothing_spline(x, y, lam=math.exp(log_lam))(x)
                return r @ r - target

            log_lam = brentq(excess, -60.0, 60.0, xtol=1e-14, rtol=1e-14)
            spline = make_smoothing_spline(x, y, lam=math.exp(log_lam))
            mu = 1.0 / math.exp(log_lam)
        print(f"row {n} {spacing} {s!r} {mu!r}")
        for i in (0, 1, n // 2, n - 1):
            print(f"y {i} {y[i]!r}")
        for xs in sample_abscissas(x, s):
            print(f"g {float(xs)!r} {float(spline(xs))!r}")


if __name__ == "__main__":
    main()
