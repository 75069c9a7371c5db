#!/usr/bin/python3
"""Opens Veltrano's DXF output in an independent reader (ezdxf) and checks it
against the corrected X/Y list written in the same run.

usage: check_dxf.py VELTRANO_BATCH LIFTFILE WORKDIR
"""
import os
import subprocess
import sys

import ezdxf


def main():
    batch, lift, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    for step, count in (("1", 360), ("0.5", 720), ("0.1", 3600)):
        dxf_path = os.path.join(work, f"cam-{step}.dxf")
        list_path = os.path.join(work, f"cam-{step}.txt")
        subprocess.run([batch, "--step", step, "--xy", "--divider", "dot", "--corrected",
                        list_path, "--dxf", dxf_path, lift], check=True)
        doc = ezdxf.readfile(dxf_path)
        auditor = doc.audit()
        assert not auditor.has_errors, [str(e) for e in auditor.errors]
        lines = list(doc.modelspace().query("LINE"))
        assert len(lines) == count, (step, len(lines))
        points = [tuple(float(v) for v in row.split()) for row in open(list_path)]
        assert len(points) == count
        # Each LINE joins point k - 1 to point k; the first has zero length,
        # and nothing closes the contour back to point 0.
        for k, line in enumerate(lines):
            start, end = line.dxf.start, line.dxf.end
            want_start = points[max(k - 1, 0)]
            for got, want in ((start, want_start), (end, points[k])):
                # The list has 8 decimals, the DXF 8 significant digits.
                assert abs(got.x - want[0]) < 1e-6 and abs(got.y - want[1]) < 1e-6, (k, got, want)
                assert got.z == 0
        assert lines[0].dxf.start == lines[0].dxf.end
        # Handles are written as the decimal numbers 48, 49, ...; a reader
        # takes them as hexadecimal, and they stay distinct either way.
        assert [l.dxf.handle for l in lines] == [str(48 + k) for k in range(count)]
        print(f"step {step}: {count} LINE entities read back, audit clean")


main()
