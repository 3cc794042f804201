#!/usr/bin/python3
"""The road of quillet-export as a user would script it with PIL and numpy, vectorised.

    road_numpy.py [--white] [--threshold N] PICTURE POINTFILE

Decodes the picture, makes its grey levels k = (r + g + b + 1) // 3, and writes the point-data file:
a 24-byte header record {width, height, 0}, then one 24-byte record {x, y, k} (three little-endian
32-bit integers and 12 zero bytes) for every unit x = 1..W, y = 1..H, column by column, whose grey
level is strictly below (black data) or above (white data) the threshold. Unit (x, y) is pixel
(x, y), so column W and row H lie outside the picture and count as white (255).
Opaque pictures only: transparency is not flattened onto white as the program does.
"""
import argparse

import numpy as np
from PIL import Image


def point_records(rgb, white, threshold):
    height, width = rgb.shape[:2]
    grey = (rgb.sum(axis=2, dtype=np.uint16) + 1) // 3
    # units 1..W x 1..H: pixels (1..W, 1..H), the last column and row outside the picture
    units = np.full((height, width), 255, dtype=np.uint16)
    units[: height - 1, : width - 1] = grey[1:, 1:]
    by_column = units.T  # column-major: x outer, y inner
    selected = by_column > threshold if white else by_column < threshold
    xs, ys = np.nonzero(selected)
    records = np.zeros((len(xs) + 1, 6), dtype="<i4")
    records[0, :2] = (width, height)
    records[1:, 0] = xs + 1
    records[1:, 1] = ys + 1
    records[1:, 2] = by_column[xs, ys]
    return records


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--white", action="store_true")
    parser.add_argument("--threshold", type=int, default=122)
    parser.add_argument("picture")
    parser.add_argument("pointfile")
    args = parser.parse_args()
    rgb = np.asarray(Image.open(args.picture).convert("RGB"))
    records = point_records(rgb, args.white, args.threshold)
    records.tofile(args.pointfile)
    print(f"{len(records) - 1} points written to {args.pointfile}")


if __name__ == "__main__":
    main()
