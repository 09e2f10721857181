#!/usr/bin/python3
"""Makes the program icon (assets/icons) from the detective of the title picture.

The detective with his magnifier stands on the night sky of BMP/Titel.bmp; the square
around him is cut out, scaled down to each icon size and given rounded corners and the
gold frame of the logo. Icons are written as hicolor theme PNGs named after the
program's desktop id.

Usage: tools/make_icon.py [BMP folder] [icons folder]
"""
import os
import sys

from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BMP = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets", "BMP")
OUT = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "assets", "icons")

APP_ID = "de.tannwald.GripsFix"
SIZES = (48, 64, 128)
# The detective of Titel.bmp (800x600) stands in this square. The subtitle ends just
# above his hat, so the sky above the square's first clear row is continued upwards by
# PAD rows copied from that row, which leaves room between hat and frame.
CROP = (30, 253, 212, 435)
PAD = 22
GOLD = (176, 132, 52)
SS = 4  # supersampling of the mask and frame


def detective(source):
    left, top, right, bottom = CROP
    square = Image.new("RGB", (right - left, bottom - top))
    square.paste(source.crop((left, top, right, bottom - PAD)), (0, PAD))
    sky = source.crop((left, top, right, top + 1)).resize((right - left, PAD))
    square.paste(sky, (0, 0))
    return square


def icon(source, size):
    picture = detective(source).resize((size, size), Image.LANCZOS).convert("RGBA")
    big = size * SS
    radius = big * 0.18
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, big - 1, big - 1), radius, fill=255)
    frame = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    width = max(SS, round(big * 0.03))
    ImageDraw.Draw(frame).rounded_rectangle((0, 0, big - 1, big - 1), radius,
                                            outline=GOLD + (255,), width=width)
    picture.alpha_composite(frame.resize((size, size), Image.LANCZOS))
    picture.putalpha(mask.resize((size, size), Image.LANCZOS))
    return picture


def main():
    names = {n.lower(): n for n in os.listdir(BMP)}
    source = Image.open(os.path.join(BMP, names["titel.bmp"])).convert("RGB")
    for size in SIZES:
        folder = os.path.join(OUT, "hicolor", f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        icon(source, size).save(os.path.join(folder, APP_ID + ".png"), optimize=True)


if __name__ == "__main__":
    main()
