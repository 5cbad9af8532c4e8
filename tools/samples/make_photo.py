#!/usr/bin/env python3
"""Draws the sample job's photograph: a synthetic country scene (sky, sun,
hills, a house, a tree, a lake) written as a binary PPM.

    tools/samples/make_photo.py [OUT.ppm]   (default: landscape.ppm beside this script)

The picture is made from shapes and gradients only, every pixel averaged over
4 x 4 samples so that edges are smooth. It uses no random numbers: run again,
it draws the same picture (the checked-in landscape.ppm is its output).
"""

import math
import os
import sys

WIDTH, HEIGHT = 192, 128
SAMPLES = 4  # per axis, per pixel

HORIZON = 0.62  # the lake's far shore, as a fraction of the height


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def sky(u, v):
    """Deep blue at the top to pale near the horizon, warmer near the sun."""
    colour = mix((40, 90, 180), (185, 215, 240), v / HORIZON)
    sun_x, sun_y = 0.78, 0.18
    d = math.hypot((u - sun_x) * WIDTH / HEIGHT, v - sun_y)
    if d < 0.085:
        return (255, 236, 140)
    glow = max(0.0, 1.0 - (d - 0.085) / 0.35)
    return mix(colour, (255, 225, 170), glow * glow * 0.8)


def hill_top(u, base, height, phase, waves):
    """The skyline of a range of hills at column u."""
    return base - height * (0.5 + 0.3 * math.sin(waves * u * math.pi + phase)
                            + 0.2 * math.sin(2.7 * waves * u * math.pi + 2 * phase))


def house(u, v):
    """The house's colour at (u, v), or None outside it."""
    left, right, eaves, ground = 0.16, 0.36, 0.50, 0.66
    roof_top, roof_over = 0.36, 0.025
    # Roof: a triangle over the walls, a little wider than them.
    mid = (left + right) / 2
    half = (right - left) / 2 + roof_over
    if roof_top <= v < eaves:
        reach = half * (v - roof_top) / (eaves - roof_top)
        if abs(u - mid) <= reach:
            return (170, 45, 35) if abs(u - mid) < reach - 0.01 else (110, 30, 25)
    # Chimney
    if 0.30 <= u < 0.32 and 0.38 <= v < 0.45:
        return (120, 70, 60)
    if left <= u < right and eaves <= v < ground:
        if 0.235 <= u < 0.275 and 0.56 <= v:
            return (95, 60, 35)  # door
        for wl in (0.18, 0.295):
            if wl <= u < wl + 0.045 and 0.53 <= v < 0.59:
                cross = abs(u - (wl + 0.0225)) < 0.004 or abs(v - 0.56) < 0.006
                return (245, 245, 235) if cross else (120, 170, 215)  # window
        shade = 0.85 if u > mid + 0.06 else 1.0
        return tuple(c * shade for c in (235, 220, 185))  # walls
    return None


def tree(u, v):
    """The tree's colour at (u, v), or None outside it."""
    aspect = WIDTH / HEIGHT
    d = math.hypot((u - 0.505) * aspect, v - 0.42)
    if d < 0.11:
        light = 1.0 - 0.5 * max(0.0, min(1.0, (u - 0.47) * 6))
        return mix((40, 110, 40), (90, 160, 60), light)
    if 0.495 <= u < 0.515 and 0.48 <= v < 0.67:
        return (100, 65, 35)
    return None


def lake(u, v):
    """The lake in the lower right: an ellipse, darker and bluer far off."""
    d = math.hypot((u - 0.78) / 0.26, (v - 0.83) / 0.13)
    if d < 1.0:
        ripple = 0.06 * math.sin(v * 180.0)
        return mix((70, 120, 180), (150, 190, 225), 1.0 - d + ripple)
    return None


def colour_at(u, v):
    for layer in (house, tree):
        c = layer(u, v)
        if c:
            return c
    far = hill_top(u, 0.60, 0.14, 0.4, 2.0)
    near = hill_top(u, 0.72, 0.10, 1.7, 1.3)
    if v >= near:
        c = lake(u, v)
        if c:
            return c
        # A path from the door down to the bottom edge.
        if abs(u - (0.255 - (v - 0.66) * 0.4)) < 0.012 + (v - 0.66) * 0.08 and v >= 0.66:
            return (200, 175, 130)
        return mix((95, 165, 60), (55, 120, 40), (v - near) / (1.0 - near))
    if v >= far:
        return mix((110, 150, 120), (80, 130, 90), (v - far) / 0.2)
    return sky(u, v)


def render():
    rows = []
    for y in range(HEIGHT):
        row = bytearray()
        for x in range(WIDTH):
            total = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (x + (sx + 0.5) / SAMPLES) / WIDTH
                    v = (y + (sy + 0.5) / SAMPLES) / HEIGHT
                    for i, c in enumerate(colour_at(u, v)):
                        total[i] += c
            row.extend(int(t / (SAMPLES * SAMPLES) + 0.5) for t in total)
        rows.append(bytes(row))
    return b"".join(rows)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "landscape.ppm")
    header = b"P6\n# a country scene drawn by make_photo.py\n%d %d\n255\n" % (WIDTH, HEIGHT)
    with open(out, "wb") as f:
        f.write(header + render())


if __name__ == "__main__":
    main()
