#!/usr/bin/python3
"""Contact sheets of the pictures, for looking at them side by side.

Usage: tools/contact_sheet.py BMP-folder output-prefix
Writes <prefix>_items.png (groups at 105 px, events at 70 px) and
<prefix>_screens.png (screens at half size), plus the small pictures.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

folder, prefix = sys.argv[1], sys.argv[2]
names = {n.lower(): n for n in os.listdir(folder)}
label_font = ImageFont.truetype("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", 11)


def load(name):
    return Image.open(os.path.join(folder, names[name.lower()])).convert("RGB")


def sheet(rows, cell, out, bg=(31, 73, 116)):
    cols = max(len(r) for r in rows)
    W = cols * (cell[0] + 10) + 10
    H = len(rows) * (cell[1] + 24) + 10
    s = Image.new("RGB", (W, H), bg)
    d = ImageDraw.Draw(s)
    for j, row in enumerate(rows):
        for i, name in enumerate(row):
            im = load(name).resize(cell, Image.LANCZOS)
            x, y = 10 + i * (cell[0] + 10), 10 + j * (cell[1] + 24)
            s.paste(im, (x, y))
            d.text((x, y + cell[1] + 3), name, font=label_font, fill=(255, 255, 255))
    s.save(out)


groups = ["Abdruck", "Hemd", "Hut", "KOFFER", "LKW", "Mann", "Schluessel", "Schuh", "S",
          "TASCHE", "Tuch"]
rows = [[f"{g}_{i}.bmp" for i in range(1, 5)] for g in groups]
half = [rows[i] + (rows[i + 6] if i + 6 < len(rows) else []) for i in range(6)]
sheet(half, (105, 105), f"{prefix}_items.png")
events = ["Auto", "Huhn", "Harfe", "Hund", "Kuh", "Orgel", "Trommel", "Trompete", "Geige", "Vogel"]
sheet([[e + ".bmp" for e in events[:5]], [e + ".bmp" for e in events[5:]]], (125, 125),
      f"{prefix}_events.png")
sheet([[e + ".bmp" for e in events]], (70, 70), f"{prefix}_keypad.png")
screens = ["tueren2", "Wolken", "beach", "Titel", "Credits", "Hintergrund", "Sterne"]
sheet([[s + ".bmp" for s in screens[:3]], [s + ".bmp" for s in screens[3:6]],
       [screens[6] + ".bmp"]], (400, 300), f"{prefix}_screens.png")
small = ["FAX.BMP", "FAX1.BMP", "FAX2.BMP", "schluessel.bmp", "punkt.bmp"]
sheet([small], (128, 128), f"{prefix}_small.png")
sheet([["richtig.bmp", "falsch.bmp", "ok.bmp"]], (30, 30), f"{prefix}_markers.png")
sheet([["Logo.bmp"], ["logo_klein.bmp"]], (400, 110), f"{prefix}_logo.png")
