#!/usr/bin/python3
"""Writes the BMP files the graphics tests read, made by ImageMagick.

For each depth a picture X.bmp (BMP3: 40-byte info header) and a dump X.rgb
of its pixels as ImageMagick reads them back (red, green, blue bytes, top
row first).
"""
import pathlib
import subprocess
import sys

# name: (ImageMagick options, picture source)
PICTURES = {
    "im_24": (["-type", "TrueColor"], "gradient:red-blue"),
    "im_8": (["-colors", "200", "-type", "Palette"], "plasma:fractal"),
    "im_4": (["-colors", "12", "-type", "Palette"], "gradient:yellow-navy"),
    "im_1": (["-monochrome"], "pattern:checkerboard"),
}


def main():
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, (options, source) in PICTURES.items():
        picture = folder / f"{name}.bmp"
        subprocess.run(["convert", "-seed", "7", "-size", "37x23", source, *options, "-compress", "None",
                        f"bmp3:{picture}"], check=True)
        dump = subprocess.run(["convert", str(picture), "-depth", "8", "rgb:-"],
                              check=True, capture_output=True).stdout
        (folder / f"{name}.rgb").write_bytes(dump)
    return 0


if __name__ == "__main__":
    sys.exit(main())
