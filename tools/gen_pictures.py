#!/usr/bin/python3
"""Generates every picture of the installation (assets/BMP) as 24-bit BMP.

Shapes come from Noto Color Emoji (fonts-noto-color-emoji) where a fitting one
exists; everything else is drawn here with Pillow.

Usage: tools/gen_pictures.py [output folder]   (default: assets/BMP)
"""
import math
import os
import random
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picturelib import (APP_BLUE, BAR_BLUE, SANS, SANS_BOLD, SANS_BOLD_ITALIC, SERIF_BOLD,  # noqa: E402
                        SS, Canvas, canvas_from, darker, emoji_image, gradient, lighter,
                        radial, save_bmp)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets", "BMP")


def emoji_with_shadow(c, ch, cx, cy, size, alpha=70):
    im = emoji_image(ch, size * SS)
    a = im.split()[3].filter(ImageFilter.GaussianBlur(3 * SS))
    sh = Image.new("RGBA", im.size, (20, 30, 50, 0))
    sh.putalpha(a.point(lambda v: v * alpha // 255))
    x = int(cx * SS - im.width / 2)
    y = int(cy * SS - im.height / 2)
    c.img.alpha_composite(sh, (x + 3 * SS, y + 5 * SS))
    c.img.alpha_composite(im, (x, y))


# ------------------------------------------------------------ memo events

def stage_bg(size=250):
    return canvas_from(radial(size, size, (255, 252, 242), (211, 228, 243), radius=0.72))


def event_picture(ch, size=250, scale=0.8):
    c = stage_bg(size)
    emoji_with_shadow(c, ch, size / 2, size / 2, size * scale)
    return c.result()


def harp_picture():
    c = stage_bg()
    gold = (214, 160, 52)
    gold_dark = (160, 108, 30)
    wood = (150, 82, 40)
    # soundboard: a wedge from the foot up to the upper right
    sb = [(78, 222), (100, 226), (206, 78), (192, 70)]
    c.shadow(lambda d: d.polygon([(x * SS, y * SS) for x, y in sb], fill=255))
    # strings first, so that neck and soundboard cover their ends
    for i in range(16):
        x = 86 + i * 7
        top = 52 + 22 * math.sin(math.pi * (x - 70) / 150) - (x - 70) * 0.05
        bottom = 222 - (x - 82) * (148 / 118)
        if bottom < top + 8:
            continue
        col = (200, 40, 40) if i % 7 == 0 else (112, 60, 160) if i % 7 == 4 else (250, 240, 215)
        c.line([(x, top + 4), (x, bottom)], col, 1.4)
    c.poly(sb, fill=wood)
    c.line([(86, 220), (198, 76)], (190, 120, 70), 3)
    # pillar
    c.rect((60, 44, 76, 226), fill=gold, radius=5)
    c.rect((64, 50, 68, 220), fill=lighter(gold, 0.45), radius=2)
    c.ellipse((54, 30, 82, 54), fill=gold)
    c.ellipse((61, 35, 75, 47), fill=lighter(gold, 0.5))
    # neck: a swung curve from the pillar head to the soundboard top
    neck = []
    for i in range(31):
        t = i / 30
        x = 70 + 130 * t
        y = 46 + 28 * math.sin(math.pi * t) * -1 + 30 * t + 8 * math.sin(2 * math.pi * t)
        neck.append((x, y))
    c.line(neck, gold_dark, 13)
    c.line(neck, gold, 9)
    # pedestal
    c.rect((48, 222, 118, 234), fill=gold_dark, radius=4)
    c.rect((54, 218, 112, 226), fill=gold, radius=3)
    return c.result()


def organ_picture():
    c = stage_bg()
    case = (128, 70, 36)
    case_dark = (92, 48, 24)
    c.shadow(lambda d: d.rectangle([40 * SS, 100 * SS, 210 * SS, 228 * SS], fill=255))
    # pipes, tallest in the middle
    heights = [70, 88, 104, 118, 130, 140, 130, 118, 104, 88, 70]
    x0 = 47
    for i, h in enumerate(heights):
        x = x0 + i * 14.4
        top = 118 - h
        pipe = (196, 200, 208) if i % 2 == 0 else (215, 186, 110)
        c.rect((x, top, x + 11, 122), fill=pipe, radius=2)
        c.rect((x + 2, top + 2, x + 4.5, 120), fill=lighter(pipe, 0.55), radius=1)
        # the pipe mouth
        c.poly([(x + 2, 104), (x + 9, 104), (x + 7.5, 110), (x + 3.5, 110)], fill=(60, 60, 70))
    # case with keyboard
    c.rect((36, 118, 214, 130), fill=case_dark, radius=3)
    c.rect((42, 128, 208, 226), fill=case, radius=4)
    c.rect((52, 140, 198, 170), fill=(245, 242, 230), outline=case_dark, width=2)
    for i in range(1, 14):
        x = 52 + i * 146 / 14
        c.line([(x, 140), (x, 170)], (120, 110, 100), 1)
    for i in range(13):
        if i % 7 in (2, 6):
            continue
        x = 52 + (i + 1) * 146 / 14 - 3
        c.rect((x, 140, x + 6, 158), fill=(30, 30, 35))
    c.rect((56, 180, 194, 218), fill=case_dark, radius=3)
    for i in range(4):
        c.rect((62 + i * 33, 186, 88 + i * 33, 212), fill=lighter(case, 0.12), radius=3)
    c.rect((30, 224, 220, 232), fill=case_dark, radius=3)
    return c.result()


# ------------------------------------------------------------ picture groups

ITEM = 170


def item_canvas():
    return Canvas(ITEM, ITEM, (255, 255, 255))


def item_emoji(ch, scale=0.82):
    c = item_canvas()
    emoji_with_shadow(c, ch, ITEM / 2, ITEM / 2, ITEM * scale, alpha=55)
    return c.result()


def suspect(ch, wall):
    """A suspect in front of a height chart, the way a wanted picture looks."""
    c = Canvas(ITEM, ITEM, wall)
    for i, y in enumerate(range(18, ITEM, 18)):
        c.line([(0, y), (ITEM, y)], darker(wall, 0.82), 1.2)
        if i % 2 == 0:
            c.text((6, y - 1), str(190 - i * 10), SANS_BOLD, 9, darker(wall, 0.6), anchor="lb")
    emoji_with_shadow(c, ch, ITEM / 2 + 6, ITEM / 2 + 10, ITEM * 0.78, alpha=60)
    c.rect((0, 0, ITEM - 1, ITEM - 1), outline=darker(wall, 0.7), width=2)
    return c.result()


def hat(kind):
    """Hats drawn where the emoji set has none: a grey fedora, a brown bowler."""
    c = item_canvas()
    if kind == 1:  # fedora: pinched crown, broad brim turned up at the back
        felt = (104, 112, 124)
        c.shadow(lambda d: d.ellipse([14 * SS, 92 * SS, 156 * SS, 134 * SS], fill=255))
        c.ellipse((14, 92, 156, 134), fill=darker(felt, 0.85))
        c.ellipse((20, 94, 150, 126), fill=felt)
        crown = [(44, 112), (40, 70), (52, 46), (74, 40), (85, 50), (96, 40), (118, 46),
                 (130, 70), (126, 112)]
        c.poly(crown, fill=felt)
        c.line([(85, 50), (85, 78)], darker(felt, 0.75), 3)
        c.rect((41, 92, 129, 110), fill=(36, 36, 40), radius=3)
        c.line([(48, 58), (60, 50)], lighter(felt, 0.3), 3)
    else:  # bowler: round dome, narrow curled brim
        felt = (110, 66, 34)
        c.shadow(lambda d: d.ellipse([22 * SS, 100 * SS, 148 * SS, 132 * SS], fill=255))
        c.ellipse((22, 100, 148, 132), fill=darker(felt, 0.8))
        c.ellipse((30, 100, 140, 124), fill=felt)
        c.d.pieslice(c.box((38, 34, 132, 176)), 180, 360, fill=felt)
        c.ellipse((38, 98, 132, 112), fill=felt)
        c.rect((38, 88, 132, 104), fill=(60, 34, 18))
        c.arc((50, 44, 96, 120), 200, 260, lighter(felt, 0.35), 4)
    return c.result()


def suitcase(kind):
    c = item_canvas()
    if kind == 1:  # red hard-shell trolley
        red = (214, 48, 49)
        c.rect((66, 14, 104, 22), fill=(90, 90, 96), radius=3)
        c.rect((70, 18, 75, 44), fill=(140, 140, 150))
        c.rect((95, 18, 100, 44), fill=(140, 140, 150))
        c.shadow(lambda d: d.rounded_rectangle([44 * SS, 40 * SS, 126 * SS, 150 * SS], 12 * SS,
                                               fill=255))
        c.rect((44, 40, 126, 150), fill=red, radius=12)
        for x in (58, 72, 86, 100, 114):
            c.rect((x - 2, 48, x + 2, 142), fill=darker(red, 0.82), radius=2)
        c.rect((48, 44, 60, 146), fill=lighter(red, 0.25), radius=6)
        for x in (54, 116):
            c.circle(x, 154, 6, fill=(40, 40, 44))
    elif kind == 2:  # brown leather case with two straps
        leather = (150, 92, 48)
        c.ellipse((68, 30, 102, 56), outline=(84, 48, 22), width=6)
        c.shadow(lambda d: d.rounded_rectangle([18 * SS, 48 * SS, 152 * SS, 140 * SS], 10 * SS,
                                               fill=255))
        c.rect((18, 48, 152, 140), fill=leather, radius=10)
        c.rect((18, 60, 152, 63), fill=darker(leather, 0.8))
        for x in (44, 114):
            c.rect((x, 46, x + 12, 142), fill=(84, 48, 22))
            c.rect((x - 2, 74, x + 14, 88), fill=(212, 170, 60), radius=2)
            c.rect((x + 2, 78, x + 10, 84), fill=(84, 48, 22))
        for x, y in ((18, 48), (140, 48), (18, 128), (140, 128)):
            c.rect((x, y, x + 12, y + 12), fill=(212, 170, 60), radius=3)
    elif kind == 3:  # aluminium case, grooved, black handle
        alu = (190, 196, 204)
        c.rect((66, 26, 104, 48), outline=(30, 30, 30), width=7, radius=6)
        c.shadow(lambda d: d.rectangle([22 * SS, 44 * SS, 148 * SS, 136 * SS], fill=255))
        c.rect((22, 44, 148, 136), fill=alu, outline=(120, 126, 134), width=2, radius=4)
        for y in range(54, 132, 8):
            c.line([(28, y), (142, y)], (160, 166, 176), 2)
            c.line([(28, y + 2), (142, y + 2)], (226, 230, 236), 1)
        c.rect((22, 84, 148, 92), fill=(120, 126, 134))
        for x in (40, 118):
            c.rect((x, 80, x + 14, 96), fill=(40, 40, 44), radius=2)
    else:  # green vintage case with travel stickers
        green = (46, 125, 80)
        c.rect((70, 30, 100, 52), outline=(70, 45, 25), width=6, radius=5)
        c.shadow(lambda d: d.rounded_rectangle([24 * SS, 48 * SS, 146 * SS, 144 * SS], 16 * SS,
                                               fill=255))
        c.rect((24, 48, 146, 144), fill=green, radius=16)
        c.rect((24, 48, 146, 144), outline=(232, 216, 170), width=4, radius=16)
        c.circle(58, 84, 17, fill=(250, 210, 60))
        c.text((58, 84), "ROM", SANS_BOLD, 10, (160, 40, 30), anchor="mm")
        c.rect((84, 62, 132, 88), fill=(235, 90, 70), radius=3)
        c.text((108, 75), "PARIS", SANS_BOLD, 10, (255, 255, 255), anchor="mm")
        c.rect((76, 100, 124, 132), fill=(110, 170, 230), radius=6)
        c.text((100, 116), "WIEN", SANS_BOLD, 11, (255, 255, 255), anchor="mm")
        c.circle(48, 122, 12, fill=(240, 240, 230))
        c.text((48, 122), "NY", SANS_BOLD, 9, (46, 90, 160), anchor="mm")
    return c.result()


def bag(kind):
    """Soft bags that nobody takes for a suitcase: a cloth tote, a shoulder bag."""
    c = item_canvas()
    if kind == 1:  # cloth tote: long loop handles, a printed heart
        canvas = (236, 224, 194)
        seam = darker(canvas, 0.78)
        for x0, x1 in ((50, 80), (90, 120)):
            c.arc((x0, 14, x1, 104), 180, 360, darker(canvas, 0.88), 7)
        body = [(38, 66), (132, 66), (140, 154), (30, 154)]
        c.shadow(lambda d: d.polygon(c.pts(body), fill=255))
        c.poly(body, fill=canvas, outline=seam, width=2)
        c.line([(40, 76), (130, 76)], seam, 1.2)
        red = (206, 40, 52)
        c.circle(75, 102, 11, fill=red)
        c.circle(95, 102, 11, fill=red)
        c.poly([(64.5, 106), (85, 134), (105.5, 106), (85, 102)], fill=red)
    else:  # blue shoulder bag: long thin strap, rounded flap, gold clasp
        blue = (38, 104, 170)
        c.line([(40, 92), (62, 20), (108, 20), (130, 92)], darker(blue, 0.6), 4)
        c.shadow(lambda d: d.rounded_rectangle(c.box((34, 84, 136, 152)), 18 * SS, fill=255))
        c.rect((34, 84, 136, 152), fill=blue, radius=18)
        c.d.pieslice(c.box((34, 54, 136, 142)), 0, 180, fill=darker(blue, 0.82))
        c.rect((34, 84, 136, 98), fill=darker(blue, 0.82))
        c.line([(40, 98), (130, 98)], lighter(blue, 0.3), 1.5)
        c.rect((77, 122, 93, 134), fill=(222, 180, 64), radius=3)
    return c.result()


def drawn_key(kind):
    c = item_canvas()
    if kind == 1:  # car key: black head with buttons, silver blade
        c.shadow(lambda d: d.rounded_rectangle([28 * SS, 52 * SS, 84 * SS, 120 * SS], 22 * SS,
                                               fill=255))
        blade = [(80, 78), (150, 78), (158, 84), (150, 94), (136, 94), (132, 90), (124, 94),
                 (112, 94), (106, 90), (96, 94), (80, 94)]
        c.poly(blade, fill=(200, 204, 212), outline=(130, 134, 144), width=1.5)
        c.line([(86, 86), (146, 86)], (160, 164, 172), 2)
        c.rect((28, 52, 84, 120), fill=(36, 38, 44), radius=22)
        c.circle(56, 72, 9, fill=(70, 72, 80))
        c.text((56, 72), "▲", SANS_BOLD, 9, (210, 210, 210), anchor="mm")
        c.circle(56, 100, 9, fill=(70, 72, 80))
        c.text((56, 100), "▼", SANS_BOLD, 9, (210, 210, 210), anchor="mm")
        c.circle(56, 124, 7, outline=(150, 150, 160), width=3)
    else:  # house key with a round blue rubber head
        blue = (40, 110, 220)
        c.shadow(lambda d: d.ellipse([18 * SS, 46 * SS, 86 * SS, 114 * SS], fill=255))
        blade = [(78, 74), (152, 74), (152, 84), (146, 84), (142, 92), (134, 84), (128, 92),
                 (120, 84), (114, 94), (106, 84), (78, 86)]
        c.poly(blade, fill=(222, 190, 90), outline=(170, 130, 40), width=1.5)
        c.circle(52, 80, 34, fill=blue)
        c.circle(52, 80, 26, fill=lighter(blue, 0.2))
        c.circle(40, 80, 9, fill=(255, 255, 255))
        for a in range(0, 360, 30):
            x = 52 + 30 * math.cos(math.radians(a))
            y = 80 + 30 * math.sin(math.radians(a))
            c.circle(x, y, 2.2, fill=darker(blue, 0.8))
    return c.result()


def wax_seal(color, emblem, scallop):
    c = item_canvas()
    cx = cy = ITEM / 2
    rng = random.Random(sum(map(ord, emblem)))
    pts = []
    for i in range(72):
        a = 2 * math.pi * i / 72
        r = 68 + 4 * math.sin(a * scallop) + rng.uniform(-2.5, 2.5)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.shadow(lambda d: d.polygon([(x * SS, y * SS) for x, y in pts], fill=255), blur=5)
    c.poly(pts, fill=darker(color, 0.85))
    wax = radial(ITEM, ITEM, lighter(color, 0.25), darker(color, 0.75), cx=0.4, cy=0.38,
                 radius=0.6)
    mask = Image.new("L", (ITEM * SS, ITEM * SS), 0)
    ImageDraw.Draw(mask).ellipse([(cx - 60) * SS, (cy - 60) * SS, (cx + 60) * SS,
                                  (cy + 60) * SS], fill=255)
    wax_big = wax.resize((ITEM * SS, ITEM * SS))
    c.img.paste(wax_big, (0, 0), mask)
    c.circle(cx, cy, 50, outline=darker(color, 0.6), width=3)
    c.circle(cx, cy, 47, outline=lighter(color, 0.3), width=1.5)
    # the emblem, pressed into the wax: a dark silhouette with a light rim below
    em = emoji_image(emblem, 64 * SS)
    alpha = em.split()[3]
    for dx, dy, col in ((2, 2, lighter(color, 0.35)), (0, 0, darker(color, 0.5))):
        layer = Image.new("RGBA", em.size, (*col, 255))
        layer.putalpha(alpha)
        c.img.alpha_composite(layer, (int((cx + dx) * SS - em.width / 2),
                                      int((cy + dy) * SS - em.height / 2)))
    return c.result()


def cloth(kind):
    c = item_canvas()
    size = 150 * SS
    tex = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(tex)
    if kind == 1:  # red bandana with white dots
        d.rectangle([0, 0, size, size], fill=(206, 32, 44))
        for y in range(0, size, 22 * SS):
            for x in range(0, size, 22 * SS):
                off = 11 * SS if (y // (22 * SS)) % 2 else 0
                d.ellipse([x + off, y, x + off + 8 * SS, y + 8 * SS], fill=(255, 255, 255))
        d.rectangle([6 * SS, 6 * SS, size - 6 * SS, size - 6 * SS], outline=(255, 240, 240),
                    width=3 * SS)
    elif kind == 2:  # blue and white checks
        d.rectangle([0, 0, size, size], fill=(255, 255, 255))
        step = 15 * SS
        for i in range(0, size, step * 2):
            d.rectangle([i, 0, i + step, size], fill=(120, 160, 230, 255))
            d.rectangle([0, i, size, i + step], fill=(120, 160, 230, 255))
        for i in range(0, size, step * 2):
            for j in range(0, size, step * 2):
                d.rectangle([i, j, i + step, j + step], fill=(30, 70, 170))
    elif kind == 3:  # green with yellow stripes
        d.rectangle([0, 0, size, size], fill=(36, 140, 76))
        for i in range(-size, size, 24 * SS):
            d.line([(i, 0), (i + size, size)], fill=(250, 214, 60), width=6 * SS)
    else:  # violet silk with flowers
        d.rectangle([0, 0, size, size], fill=(128, 60, 170))
        rng = random.Random(4)
        for _ in range(14):
            x, y = rng.randrange(10, 140) * SS, rng.randrange(10, 140) * SS
            for a in range(0, 360, 72):
                px = x + int(7 * SS * math.cos(math.radians(a)))
                py = y + int(7 * SS * math.sin(math.radians(a)))
                d.ellipse([px - 5 * SS, py - 5 * SS, px + 5 * SS, py + 5 * SS],
                          fill=(250, 190, 220))
            d.ellipse([x - 4 * SS, y - 4 * SS, x + 4 * SS, y + 4 * SS], fill=(255, 220, 80))
    if kind in (1, 2):
        # a square cloth laid as a diamond, its edges slightly wavy
        shape = [(75, 2), (148, 75), (75, 148), (2, 75)]
    elif kind == 3:
        # folded to a triangle
        shape = [(4, 30), (146, 30), (75, 140)]
    else:
        # a long scarf lying diagonally, fringed
        shape = [(10, 118), (112, 16), (140, 44), (38, 146)]
    mask = Image.new("L", (size, size), 0)
    md = ImageDraw.Draw(mask)
    md.polygon([(x * SS, y * SS) for x, y in shape], fill=255)
    tex.putalpha(mask)
    off = (ITEM - 150) / 2
    c.shadow(lambda dd: dd.polygon([((x + off) * SS, (y + off) * SS) for x, y in shape],
                                   fill=255))
    c.paste_big(tex, (off, off))
    pts = [(x + off, y + off) for x, y in shape]
    c.line(pts + [pts[0]], (0, 0, 0, 60), 1.2)
    if kind == 3:
        c.line([(pts[0][0] + 6, pts[0][1] + 8), (pts[1][0] - 6, pts[1][1] + 8)],
               (20, 100, 50), 2)
    if kind == 4:
        for (ax, ay), (bx, by) in ((pts[0], pts[3]), (pts[1], pts[2])):
            for i in range(9):
                t = (i + 0.5) / 9
                x = ax + (bx - ax) * t
                y = ay + (by - ay) * t
                nx, ny = (-6, -6) if ay > 100 or bx > 120 and by < 60 else (-6, -6)
                if (ax, ay) == pts[1]:
                    nx, ny = 6, -6
                c.line([(x, y), (x + nx, y + ny)], (110, 50, 150), 2)
    return c.result()


def sole_mask(kind, length, width, angle=-14):
    """A shoe sole as a mask at canvas resolution: a broad forefoot and a
    rounder heel joined by the narrower waist; ladies' shoes print the heel
    apart from the sole."""
    m = Image.new("L", (ITEM * SS, ITEM * SS), 0)
    d = ImageDraw.Draw(m)
    cx = ITEM / 2
    top = (ITEM - length) / 2

    def ell(x, y, rx, ry):
        d.ellipse([(x - rx) * SS, (y - ry) * SS, (x + rx) * SS, (y + ry) * SS], fill=255)

    fore_y = top + length * 0.27
    heel_y = top + length * 0.83
    ell(cx + 2, fore_y, width / 2, length * 0.27)
    if kind == 3:
        ell(cx, heel_y + length * 0.02, width * 0.26, length * 0.1)
        d.polygon([((cx - width * 0.42) * SS, fore_y * SS), ((cx + width * 0.46) * SS, fore_y * SS),
                   ((cx + width * 0.2) * SS, (top + length * 0.6) * SS),
                   ((cx - width * 0.18) * SS, (top + length * 0.6) * SS)], fill=255)
    else:
        ell(cx - 1, heel_y, width * 0.38, length * 0.17)
        d.polygon([((cx - width * 0.45) * SS, fore_y * SS), ((cx + width * 0.5) * SS, fore_y * SS),
                   ((cx + width * 0.36) * SS, heel_y * SS), ((cx - width * 0.38) * SS, heel_y * SS)],
                  fill=255)
        # the arch: the inner edge curves in at the waist
        d.ellipse([(cx - width * 0.62) * SS, (top + length * 0.5) * SS,
                   (cx - width * 0.3) * SS, (top + length * 0.7) * SS], fill=0)
        if kind == 2:
            # the heel block of a boot stands apart from the sole
            yb = top + length * 0.66
            d.rectangle([0, yb * SS, ITEM * SS, (yb + 5) * SS], fill=0)
    return m.rotate(angle, resample=Image.BICUBIC)


def shoe_print(kind):
    c = Canvas(ITEM, ITEM, (246, 240, 226))
    # a little ground texture, so the print lies on something
    rng = random.Random(kind)
    for _ in range(220):
        x, y = rng.uniform(0, ITEM), rng.uniform(0, ITEM)
        c.circle(x, y, rng.uniform(0.4, 1.2), fill=(222, 212, 190))
    ink = {1: (34, 34, 40), 2: (120, 72, 34), 3: (180, 30, 50), 4: (40, 80, 170)}[kind]
    length = {1: 150, 2: 156, 3: 146, 4: 140}[kind]
    width = {1: 62, 2: 70, 3: 50, 4: 58}[kind]
    tex = Image.new("RGBA", (ITEM * SS, ITEM * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(tex)
    if kind == 1:  # sneaker: zigzag grooves
        for y in range(8, ITEM, 9):
            zz = [(x * SS, (y + (4 if (x // 8) % 2 else 0)) * SS) for x in range(0, ITEM + 8, 8)]
            d.line(zz, fill=(*ink, 255), width=4 * SS, joint="curve")
    elif kind == 2:  # hiking boot: big lugs
        for y in range(10, ITEM, 16):
            for x in range(20, ITEM, 16):
                o = 8 if (y // 16) % 2 else 0
                d.rounded_rectangle([(x + o) * SS, y * SS, (x + o + 11) * SS, (y + 10) * SS],
                                    3 * SS, fill=(*ink, 255))
    elif kind == 3:  # ladies' shoe: fine diamonds, heel printed apart
        for y in range(0, ITEM, 10):
            for x in range(0, ITEM, 10):
                d.polygon([(x * SS, (y + 5) * SS), ((x + 5) * SS, y * SS),
                           ((x + 10) * SS, (y + 5) * SS), ((x + 5) * SS, (y + 10) * SS)],
                          outline=(*ink, 255), width=2 * SS)
    else:  # rubber boot: wavy bars
        for y in range(6, ITEM, 12):
            wave = [(x * SS, (y + 3 * math.sin(x / 6)) * SS) for x in range(0, ITEM + 2, 2)]
            d.line(wave, fill=(*ink, 255), width=5 * SS)
    mask = sole_mask(kind, length, width)
    rim = mask.filter(ImageFilter.MinFilter(2 * SS * 2 + 1))
    edge = Image.new("RGBA", tex.size, (*ink, 255))
    edge_mask = Image.fromarray(
        (np.array(mask, int) - np.array(rim, int)).clip(0, 255).astype(np.uint8))
    tex.putalpha(Image.fromarray(np.minimum(np.array(tex.split()[3]), np.array(mask))))
    c.img.alpha_composite(tex)
    edge.putalpha(edge_mask)
    c.img.alpha_composite(edge)
    # ink is never perfect: lighten random specks
    specks = Image.new("RGBA", tex.size, (0, 0, 0, 0))
    sd = ImageDraw.Draw(specks)
    for _ in range(90):
        x, y = rng.uniform(0, ITEM) * SS, rng.uniform(0, ITEM) * SS
        r = rng.uniform(0.6, 2.0) * SS
        sd.ellipse([x - r, y - r, x + r, y + r], fill=(246, 240, 226, 150))
    specks.putalpha(Image.fromarray(np.minimum(np.array(specks.split()[3]), np.array(mask))))
    c.img.alpha_composite(specks)
    return c.result()


# ------------------------------------------------------------ small markers

def marker(kind, size=30):
    c = Canvas(size, size, APP_BLUE)
    if kind == "richtig":  # the sought answer: an aqua arrow pointing at it
        c.poly([(3, 11), (15, 11), (15, 4), (27, 15), (15, 26), (15, 19), (3, 19)],
               fill=(0, 255, 255), outline=(0, 140, 160), width=1)
    elif kind == "falsch":  # a wrong choice: a red cross
        c.circle(15, 15, 13, fill=(230, 40, 40))
        c.line([(9, 9), (21, 21)], (255, 255, 255), 3.5)
        c.line([(21, 9), (9, 21)], (255, 255, 255), 3.5)
    else:  # a right choice: a green tick
        c.circle(15, 15, 13, fill=(40, 190, 60))
        c.line([(8, 15.5), (13, 20.5), (22, 9.5)], (255, 255, 255), 3.5)
    return c.result()


def dot_picture():
    c = Canvas(70, 70, APP_BLUE)
    c.circle(35, 35, 26, outline=(90, 130, 175), width=2)
    c.circle(35, 35, 9, fill=(205, 224, 241))
    return c.result()


def fax_frame(n):
    c = Canvas(128, 128, APP_BLUE)
    # paper coming out of the machine, longer in each frame
    out = [0, 18, 36][n]
    emoji_with_shadow(c, "📠", 64, 74, 104, alpha=80)
    if out:
        top = 42 - out
        c.rect((40, top, 88, 46), fill=(255, 255, 255), outline=(170, 180, 190), width=1)
        for y in range(int(top) + 5, 40, 6):
            c.line([(45, y), (83 - (y * 7) % 20, y)], (70, 80, 100), 1.5)
    # the status lamp blinks from frame to frame
    c.circle(104, 112, 5, fill=(60, 230, 80) if n != 1 else (40, 90, 50))
    return c.result()


# ------------------------------------------------------------ logos

def logo(w, h):
    c = Canvas(w, h, APP_BLUE)
    k = h / 110
    # square outer edge: the picture is shown as it is over other pictures, so no
    # background colour may show at the corners
    c.rect((0, 0, w, h), fill=(247, 238, 212), outline=(176, 132, 52), width=5 * k)
    c.rect((9 * k, 9 * k, w - 9 * k, h - 9 * k), outline=(200, 160, 80), width=1.5 * k,
           radius=10 * k)
    emoji_with_shadow(c, "🔍", 58 * k, h / 2, 78 * k, alpha=60)
    c.text((106 * k, h / 2 - 4 * k), "Grips-Fix", SERIF_BOLD, 46 * k, (24, 56, 96), anchor="lm")
    c.text((108 * k, h / 2 + 32 * k), "Gedächtnistraining für Detektive", SANS_BOLD,
           13 * k, (130, 90, 30), anchor="lm")
    return c.result()


def key_icon():
    c = Canvas(120, 120, APP_BLUE)
    emoji_with_shadow(c, "🔑", 60, 60, 96, alpha=90)
    return c.result()


# ------------------------------------------------------------ screens

W, H = 800, 600


def cloud(c, cx, cy, scale, rng, shade=(206, 220, 238)):
    """A cumulus: puffs rising to the middle over a flat base, shaded below."""
    n = 7
    puffs = []
    for i in range(n):
        t = i / (n - 1) - 0.5
        r = (26 + 18 * (1 - abs(t) * 2) + rng.uniform(-4, 4)) * scale
        puffs.append((t * 120 * scale, -r * 0.55 + rng.uniform(-3, 3) * scale, r))
    left = cx + puffs[0][0]
    right = cx + puffs[-1][0]
    base = (left, cy - 8 * scale, right, cy + 16 * scale)
    for dy, col in ((7 * scale, shade), (0, (255, 255, 255))):
        for px, py, r in puffs:
            c.circle(cx + px, cy + py + dy, r, fill=col)
        c.rect((base[0], base[1] + dy, base[2], base[3] + dy), fill=col, radius=12 * scale)


def wolken():
    c = canvas_from(gradient(W, H, (70, 140, 215), (190, 222, 246)))
    rng = random.Random(8)
    for cx, cy, s in ((120, 110, 1.2), (420, 70, 0.9), (680, 150, 1.3), (250, 300, 1.0),
                      (600, 360, 0.8), (90, 470, 1.1), (470, 520, 1.2), (760, 540, 0.9)):
        cloud(c, cx, cy, s, rng)
    img = c.result().filter(ImageFilter.GaussianBlur(0.6))
    return img


def beach():
    c = canvas_from(gradient(W, H, (100, 170, 230), (200, 230, 250)))
    c.circle(650, 90, 46, fill=(255, 236, 140))
    c.circle(650, 90, 38, fill=(255, 246, 190))
    rng = random.Random(3)
    cloud(c, 200, 90, 0.8, rng)
    cloud(c, 420, 150, 0.6, rng)
    sea = gradient(W, 140, (40, 130, 190), (70, 180, 200))
    c.paste_big(sea.resize((W * SS, 140 * SS)), (0, 270))
    for y in range(286, 410, 14):
        for x in range(rng.randrange(0, 40), W, 90):
            c.arc((x, y, x + 40, y + 8), 200, 340, (220, 240, 250), 2)
    sand = gradient(W, 200, (240, 214, 160), (222, 186, 120))
    c.paste_big(sand.resize((W * SS, 200 * SS)), (0, 400))
    # the waterline
    wave = [(x, 402 + 6 * math.sin(x / 40)) for x in range(0, W + 10, 10)]
    c.poly(wave + [(W, 420), (0, 420)], fill=(246, 228, 190))
    c.line(wave, (255, 255, 255), 4)
    for _ in range(160):
        x, y = rng.uniform(0, W), rng.uniform(430, H)
        c.circle(x, y, rng.uniform(0.6, 1.6), fill=(200, 165, 105))
    # a beach umbrella and a palm on the sides, out of the way of the start button
    c.line([(110, 450), (140, 560)], (120, 90, 60), 5)
    for i, col in enumerate([(230, 60, 60), (255, 255, 255)] * 3):
        a0 = 200 + i * 23
        c.d.pieslice(c.box((40, 400, 200, 500)), a0, a0 + 23, fill=col)
    c.line([(700, 560), (712, 420), (730, 330)], (130, 95, 55), 10)
    for a in (-150, -120, -60, -30, -90):
        x = 730 + 80 * math.cos(math.radians(a))
        y = 330 + 50 * math.sin(math.radians(a)) + 30
        c.line([(730, 330), ((730 + x) / 2, min(330, y) - 20), (x, y)], (50, 140, 60), 9)
    return c.result()


def starry(c, rng, count=220, top=0, bottom=H):
    for _ in range(count):
        x, y = rng.uniform(0, W), rng.uniform(top, bottom)
        r = rng.choice([0.6, 0.8, 1.0, 1.3, 1.8])
        b = rng.randrange(170, 256)
        c.circle(x, y, r, fill=(b, b, min(255, b + 20)))


def sterne():
    c = canvas_from(gradient(W, H, (6, 12, 40), (26, 50, 96)))
    rng = random.Random(12)
    starry(c, rng, 260, 0, 460)
    c.circle(640, 110, 44, fill=(250, 244, 200))
    c.circle(662, 98, 42, fill=(10, 20, 52))
    # a farm at night on the horizon
    hill = [(x, 470 - 30 * math.sin(x / 260) - 12 * math.sin(x / 70)) for x in range(0, W + 20, 20)]
    c.poly(hill + [(W, H), (0, H)], fill=(12, 26, 30))
    c.poly([(120, 460), (120, 400), (175, 360), (230, 400), (230, 460)], fill=(20, 20, 24))
    c.rect((160, 420, 188, 460), fill=(240, 190, 80))
    c.rect((140, 404, 152, 416), fill=(240, 190, 80))
    c.poly([(520, 455), (520, 380), (600, 330), (680, 380), (680, 455)], fill=(24, 18, 20))
    c.rect((580, 400, 620, 455), fill=(14, 10, 12))
    c.rect((700, 350, 730, 455), fill=(24, 18, 20), radius=10)
    for x in range(260, 500, 30):
        c.line([(x, 470), (x, 446)], (30, 34, 36), 3)
    c.line([(250, 452), (500, 452)], (30, 34, 36), 2)
    c.line([(250, 462), (500, 462)], (30, 34, 36), 2)
    return c.result()


def hintergrund():
    c = canvas_from(radial(W, H, (44, 98, 150), (18, 44, 74), radius=0.8))
    for i in range(-H, W, 26):
        c.line([(i, 0), (i + H, H)], (255, 255, 255, 10), 6)
    return c.result()


def door(c, x, color, icon):
    top, w, h = 140, 169, 295
    # casing
    c.rect((x - 9, top - 10, x + w + 9, top + h), fill=(236, 226, 204))
    c.rect((x - 4, top - 5, x + w + 4, top + h), fill=(196, 182, 156))
    # leaf with a slight vertical gradient
    leaf = gradient(w, h, lighter(color, 0.12), darker(color, 0.8))
    c.paste_big(leaf.resize((w * SS, h * SS)), (x, top))
    # name plate under the labels the program draws at top 152
    c.rect((x + 10, top + 6, x + w - 10, top + 34), fill=(247, 236, 196),
           outline=(170, 130, 50), width=2, radius=4)
    for px in (x + 15, x + w - 15):
        c.circle(px, top + 20, 1.8, fill=(170, 130, 50))
    # two recessed panels
    for (py, ph) in ((top + 48, 110), (top + 172, 108)):
        c.rect((x + 22, py, x + w - 22, py + ph), fill=darker(color, 0.78), radius=3)
        c.rect((x + 26, py + 4, x + w - 26, py + ph - 4), fill=lighter(color, 0.05), radius=2)
        c.line([(x + 22, py + ph), (x + w - 22, py + ph)], lighter(color, 0.35), 2)
    emoji_with_shadow(c, icon, x + w / 2, top + 103, 70, alpha=70)
    # handle
    c.circle(x + w - 22, top + 160, 8, fill=(214, 170, 70))
    c.circle(x + w - 24, top + 158, 3, fill=(250, 226, 150))
    c.rect((x + w - 26, top + 168, x + w - 18, top + 180), fill=(120, 90, 40), radius=2)


def tueren():
    c = canvas_from(gradient(W, H, (18, 40, 70), (40, 82, 126)))
    # wallpaper stripes
    for x in range(0, W, 40):
        c.rect((x, 0, x + 18, 442), fill=(255, 255, 255, 8))
    # skirting and floor boards
    c.rect((0, 435, W, 446), fill=(210, 196, 170))
    floor = gradient(W, H - 446, (96, 62, 38), (60, 38, 24))
    c.paste_big(floor.resize((W * SS, (H - 446) * SS)), (0, 446))
    for y in range(446, H, 22):
        c.line([(0, y), (W, y)], (44, 28, 18), 2)
        off = (y * 37) % 160
        for x in range(off, W, 160):
            c.line([(x, y), (x, y + 22)], (44, 28, 18), 1.5)
    colors = [(40, 110, 70), (150, 44, 44), (32, 84, 150), (196, 130, 30)]
    icons = ["📝", "🖼", "☎", "🐓"]
    for x, col, ic in zip((49, 227, 407, 586), colors, icons):
        door(c, x, col, ic)
    # warm light above every door
    glow = Image.new("RGBA", (W * SS, H * SS), (0, 0, 0, 0))
    gd = ImageDraw.Draw(glow)
    for x in (49, 227, 407, 586):
        cx = (x + 84) * SS
        gd.ellipse([cx - 120 * SS, 40 * SS, cx + 120 * SS, 200 * SS], fill=(255, 230, 160, 40))
    glow = glow.filter(ImageFilter.GaussianBlur(30 * SS))
    c.img.alpha_composite(glow)
    return c.result()


def titel():
    c = canvas_from(radial(W, H, (40, 90, 140), (10, 24, 44), cy=0.35, radius=0.9))
    rng = random.Random(1)
    starry(c, rng, 80, 0, H)
    # spotlight
    spot = Image.new("RGBA", (W * SS, H * SS), (0, 0, 0, 0))
    ImageDraw.Draw(spot).ellipse([150 * SS, 40 * SS, 650 * SS, 330 * SS],
                                 fill=(255, 240, 190, 60))
    c.img.alpha_composite(spot.filter(ImageFilter.GaussianBlur(40 * SS)))
    c.text((400, 150), "Grips-Fix", SERIF_BOLD, 108, (255, 226, 140), anchor="mm",
           stroke=3, stroke_fill=(90, 50, 10))
    c.text((400, 238), "Gedächtnistraining für Detektive", SANS_BOLD_ITALIC, 32,
           (230, 238, 250), anchor="mm")
    emoji_with_shadow(c, "🕵", 120, 330, 150, alpha=90)
    emoji_with_shadow(c, "🔍", 690, 330, 120, alpha=90)
    return c.result()


def credits():
    c = canvas_from(gradient(W, H, (16, 34, 60), (31, 73, 116)))
    glass = emoji_image("🔍", 330 * SS)
    faded = glass.copy()
    faded.putalpha(glass.split()[3].point(lambda v: v * 30 // 255))
    c.img.alpha_composite(faded, (int(520 * SS), int(170 * SS)))
    # thin gold rules above and below the rows of names
    c.line([(60, 150), (740, 150)], (190, 150, 70), 1.5)
    c.line([(60, 450), (740, 450)], (190, 150, 70), 1.5)
    return c.result()


def main():
    os.makedirs(OUT, exist_ok=True)
    pics = {}
    events = {"Auto.bmp": "🚗", "Huhn.bmp": "🐓", "Hund.bmp": "🐕", "Kuh.bmp": "🐄",
              "Trommel.bmp": "🥁", "Trompete.bmp": "🎺", "geige.bmp": "🎻", "Vogel.bmp": "🐦"}
    for name, ch in events.items():
        pics[name] = event_picture(ch)
    pics["Harfe.bmp"] = harp_picture()
    pics["Orgel.bmp"] = organ_picture()

    groups = {
        "Hemd": ["👔", "👕", "👚", "🎽"],
        "Schuh": ["👞", "👟", "👠", "🥾"],
        "LKW": ["🚚", "🚛", "🚐", "🛻"],
    }
    for g, chars in groups.items():
        for i, ch in enumerate(chars, 1):
            pics[f"{g}_{i}.bmp"] = item_emoji(ch)
    pics["Hut_1.bmp"] = item_emoji("🎩")
    pics["Hut_2.bmp"] = hat(1)
    pics["Hut_3.bmp"] = item_emoji("👒")
    pics["Hut_4.bmp"] = hat(2)
    pics["TASCHE_1.BMP"] = item_emoji("👜")
    pics["TASCHE_2.BMP"] = item_emoji("👝")
    pics["TASCHE_3.BMP"] = bag(1)
    pics["tasche_4.bmp"] = bag(2)
    walls = [(236, 230, 214), (214, 226, 236), (232, 220, 226), (220, 232, 218)]
    for i, (ch, wall) in enumerate(zip(["🧔🏻‍♂️", "👴🏼", "👨🏻‍🦰", "👱🏽‍♂️"], walls), 1):
        pics[f"Mann_{i}.bmp"] = suspect(ch, wall)
    for i in range(1, 5):
        pics[f"KOFFER_{i}.BMP"] = suitcase(i)
    pics["Schluessel_1.bmp"] = item_emoji("🔑", 0.78)
    pics["Schluessel_2.bmp"] = item_emoji("🗝", 0.8)
    pics["Schluessel_3.bmp"] = drawn_key(1)
    pics["Schluessel_4.bmp"] = drawn_key(2)
    seals = [((196, 30, 40), "⭐", 9), ((40, 70, 170), "👑", 11), ((30, 120, 70), "⚓", 7),
             ((200, 150, 40), "🦅", 13)]
    for i, (col, em, sc) in enumerate(seals, 1):
        pics[f"S_{i}.bmp"] = wax_seal(col, em, sc)
    for i in range(1, 5):
        pics[f"Tuch_{i}.bmp"] = cloth(i)
        pics[f"Abdruck_{i}.bmp"] = shoe_print(i)

    for k in ("richtig", "falsch", "ok"):
        pics[f"{k}.bmp"] = marker(k)
    pics["punkt.bmp"] = dot_picture()
    pics["FAX.BMP"] = fax_frame(0)
    pics["FAX1.BMP"] = fax_frame(1)
    pics["FAX2.BMP"] = fax_frame(2)
    pics["Logo.bmp"] = logo(400, 110)
    pics["logo_klein.bmp"] = logo(200, 55)
    pics["schluessel.bmp"] = key_icon()

    pics["tueren2.bmp"] = tueren()
    pics["Wolken.bmp"] = wolken()
    pics["beach.bmp"] = beach()
    pics["Titel.bmp"] = titel()
    pics["Credits.bmp"] = credits()
    pics["Hintergrund.bmp"] = hintergrund()
    pics["Sterne.bmp"] = sterne()

    only = set(sys.argv[2:])
    for name, img in pics.items():
        if not only or name in only:
            save_bmp(img, OUT, name)


if __name__ == "__main__":
    main()
