#!/usr/bin/python3
"""Reads the files the graphics tests wrote with outside programs.

Every picture X.gif, X.bmp or X.jpg in the folder has a dump X.rgb of the
pixels it must hold (red, green, blue bytes, top row first). GIF and BMP
files are read with ImageMagick and must match exactly; JPEG files are read
with djpeg, must be grey (PGM) when their name says so and colour (PPM)
otherwise, and must match within the losses of the compression.
"""
import pathlib
import subprocess
import sys


def read_pnm(data):
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    return fields[0], int(fields[1]), int(fields[2]), data[at + 1:]


def check_exact(picture, expected):
    size = subprocess.run(["identify", "-format", "%w %h", str(picture)],
                          check=True, capture_output=True).stdout
    pixels = subprocess.run(["convert", str(picture), "-depth", "8", "rgb:-"],
                            check=True, capture_output=True).stdout
    if pixels != expected:
        diffs = sum(1 for a, b in zip(pixels, expected) if a != b)
        return f"{picture.name} ({size.decode()}): {diffs} bytes differ, " \
               f"{len(pixels)} read, {len(expected)} expected"
    return None


def check_jpeg(picture, expected):
    data = subprocess.run(["djpeg", "-pnm", str(picture)],
                          check=True, capture_output=True).stdout
    kind, width, height, pixels = read_pnm(data)
    grey = "grey" in picture.name
    if kind != (b"P5" if grey else b"P6"):
        return f"{picture.name}: djpeg gives {kind.decode()}"
    if grey:
        expected = expected[::3]
    if len(pixels) != len(expected):
        return f"{picture.name}: {len(pixels)} bytes read, {len(expected)} expected"
    mean = sum(abs(a - b) for a, b in zip(pixels, expected)) / len(expected)
    if mean > 4:
        return f"{picture.name}: mean difference {mean:.1f}"
    return None


def main():
    folder = pathlib.Path(sys.argv[1])
    checked = 0
    failures = []
    for picture in sorted(folder.glob("*")):
        if picture.suffix not in (".gif", ".bmp", ".jpg"):
            continue
        dump = picture.with_suffix(".rgb")
        if not dump.exists():
            continue
        expected = dump.read_bytes()
        check = check_jpeg if picture.suffix == ".jpg" else check_exact
        failure = check(picture, expected)
        checked += 1
        if failure:
            failures.append(failure)
    print(f"{checked} files checked")
    for failure in failures:
        print("FAILED:", failure)
    if checked == 0:
        print("FAILED: no files to check")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
