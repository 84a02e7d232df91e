#!/usr/bin/env python3
"""Hand check of slice geometry and factors of safety for two small cases.

Section: one soil (c = 10, phi = 25 deg, gamma = 18) between y = 0 and the
ground polyline (0,20)-(20,20)-(40,10)-(60,10). Slope faces right. No water,
no loads, no seismic coefficient.

Case A: circular slip surface, centre (35,35), R = 28, 10 base slices.
Case B: slip polyline (10,20)-(20,8)-(40,6)-(50,10), moment centre (30,35).

Standard library only. Numbers printed with 15 significant digits.
"""
import math

PI = 3.14159265359
C_SOIL = 10.0
PHI = 25.0 * PI / 180.0
GAMMA = 18.0
TAN_PHI = math.tan(PHI)
GROUND = [(0.0, 20.0), (20.0, 20.0), (40.0, 10.0), (60.0, 10.0)]
N0 = 10
EDGE_TOL = 0.01


def g(v):
    return "%.15g" % v


def ground_y(x):
    """Ground elevation at x by linear interpolation on the ground polyline."""
    for (x1, y1), (x2, y2) in zip(GROUND, GROUND[1:]):
        if x1 <= x <= x2:
            return y1 + (y2 - y1) * (x - x1) / (x2 - x1)
    raise ValueError("x outside ground")


def slice_bounds(x0, w, breaks):
    """Base slices [x_a, x_a + w] (running sum of w), each split at any break
    x lying strictly inside it by more than EDGE_TOL from both edges.
    Returns the list of (left, width) and the sorted boundaries."""
    slices = []
    bounds = [x0]
    left = x0
    for _ in range(N0):
        right = left + w
        cuts = sorted(set(bx for bx in breaks
                          if left + EDGE_TOL < bx < right - EDGE_TOL))
        xl = left
        for bx in cuts:
            slices.append((xl, bx - xl))
            bounds.append(bx)
            xl = bx
        slices.append((xl, right - xl))
        bounds.append(right)
        left = right
    return slices, bounds


def analyse(title, slip, slices, bounds, xc, yc, extra=()):
    print("=" * 70)
    print(title)
    for name, val in extra:
        print("%s = %s" % (name, g(val)))
    print("slip polyline:")
    for (px, py) in slip:
        print("  (%s, %s)" % (g(px), g(py)))
    print("boundaries (%d):" % len(bounds))
    for bx in bounds:
        print("  " + g(bx))

    data = []
    for i, (xl, b) in enumerate(slices):
        m = xl + b / 2.0
        # slip segment under the slice mid point
        seg = None
        for s in range(len(slip) - 1):
            if slip[s][0] <= m <= slip[s + 1][0]:
                seg = s
                break
        (x1, y1), (x2, y2) = slip[seg], slip[seg + 1]
        ms = (y2 - y1) / (x2 - x1)
        qs = y1 - ms * x1
        yb = ms * m + qs
        yg = ground_y(m)
        h = yg - yb
        W = h * b * GAMMA
        a = math.atan(ms)
        sin_a = -math.sin(a)          # slope faces right
        cos_a = math.cos(a)
        l = b / cos_a
        # foot of the perpendicular from the centre onto the base line
        xF = (xc - ms * qs + ms * yc) / (ms * ms + 1.0)
        yF = ms * xF + qs
        Rs = math.hypot(xc - xF, yc - yF)
        f = math.hypot(m - xF, yb - yF)
        if m < xF:
            f = -f
        xw = abs(xc - m)
        if m > xc:
            xw = -xw
        data.append(dict(b=b, m=m, yb=yb, yg=yg, h=h, W=W, sin=sin_a,
                         cos=cos_a, l=l, Rs=Rs, f=f, x=xw))

    keys = ["b", "m", "yb", "yg", "h", "W", "sin", "cos", "l", "Rs", "f", "x"]
    print("slices (%d):" % len(data))
    for i, d in enumerate(data):
        print("  slice %d: " % i + ", ".join("%s=%s" % (k, g(d[k])) for k in keys))

    def fs_from_normals(normals):
        num = sum((C_SOIL * d["l"] + n * TAN_PHI) * d["Rs"]
                  for d, n in zip(data, normals))
        den = sum(d["W"] * d["x"] + n * d["f"] for d, n in zip(data, normals))
        return num / den

    # Ordinary method of slices
    fs_ord = fs_from_normals([d["W"] * d["cos"] for d in data])

    # Simplified Bishop
    def bishop_step(fprev):
        normals = [(d["W"] - C_SOIL * d["l"] * d["sin"] / fprev)
                   / (TAN_PHI * d["sin"] / fprev + d["cos"]) for d in data]
        return fs_from_normals(normals)

    F = fs_ord
    it = 0
    for it in range(1, 201):
        fprev = F
        F = bishop_step(fprev)
        if abs(F - fprev) <= 1e-12:
            break
    fs_bishop = F
    n_full = it

    F = fs_ord
    k = 0
    while True:
        fprev = F
        F = bishop_step(fprev)
        k += 1
        if abs(F - fprev) <= 0.01:
            break
    fs_bishop_001 = F

    print("FS ordinary                 = %s" % g(fs_ord))
    print("FS Bishop converged         = %s  (iterations %d)" % (g(fs_bishop), n_full))
    print("FS Bishop tolerance 0.01    = %s  (iterations %d)" % (g(fs_bishop_001), k))


def case_a():
    xc, yc, R = 35.0, 35.0, 28.0
    xL = xc - math.sqrt(R * R - (20.0 - yc) ** 2)   # cut on the crest y = 20
    xR = xc + math.sqrt(R * R - (10.0 - yc) ** 2)   # cut on the toe y = 10
    w0 = (xR - xL) / N0
    chord = [(xL, 20.0)]
    x = xL
    for _ in range(1, N0):
        x = x + w0
        chord.append((x, yc - math.sqrt(R * R - (x - xc) ** 2)))
    chord.append((xR, 10.0))
    x0, x10 = chord[0][0], chord[-1][0]
    w = (x10 - x0) / N0
    breaks = [p[0] for p in GROUND]
    slices, bounds = slice_bounds(x0, w, breaks)
    analyse("CASE A: circle centre (35, 35), R = 28", chord, slices, bounds,
            xc, yc, extra=[("xL", xL), ("xR", xR)])


def case_b():
    slip = [(10.0, 20.0), (20.0, 8.0), (40.0, 6.0), (50.0, 10.0)]
    xc, yc = 30.0, 35.0
    x0 = slip[0][0]
    w = (slip[-1][0] - x0) / N0
    breaks = [p[0] for p in GROUND] + [p[0] for p in slip]
    slices, bounds = slice_bounds(x0, w, breaks)
    analyse("CASE B: slip polyline, moment centre (30, 35)", slip, slices,
            bounds, xc, yc)


if __name__ == "__main__":
    case_a()
    case_b()
