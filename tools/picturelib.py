"""Drawing helpers shared by the picture generators (Pillow + numpy).

Shapes are drawn on a canvas SS times larger than the result and scaled down,
which gives smooth, anti-aliased edges that Pillow's primitives lack.
"""
import math
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

SS = 4
EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
FONT_DIR = "/usr/share/fonts/truetype"
SANS_BOLD = f"{FONT_DIR}/liberation2/LiberationSans-Bold.ttf"
SANS = f"{FONT_DIR}/liberation2/LiberationSans-Regular.ttf"
SANS_BOLD_ITALIC = f"{FONT_DIR}/liberation2/LiberationSans-BoldItalic.ttf"
SERIF_BOLD = f"{FONT_DIR}/dejavu/DejaVuSerif-Bold.ttf"

APP_BLUE = (31, 73, 116)
BAR_BLUE = (42, 101, 154)


def font(path, px):
    return ImageFont.truetype(path, int(px))


class Canvas:
    """An RGBA drawing surface in result pixels; coordinates are scaled by SS."""

    def __init__(self, w, h, bg=(255, 255, 255, 255)):
        self.w, self.h = w, h
        if len(bg) == 3:
            bg = (*bg, 255)
        self.img = Image.new("RGBA", (w * SS, h * SS), bg)
        self.d = ImageDraw.Draw(self.img, "RGBA")

    def _layer(self, *colors):
        """Pillow does not blend translucent ink on RGBA images, so such
        shapes are drawn on a layer of their own and composited."""
        translucent = any(c is not None and len(c) == 4 and c[3] < 255 for c in colors)
        return _Ink(self, translucent)

    @staticmethod
    def s(v):
        return v * SS

    def pts(self, pts):
        return [(x * SS, y * SS) for x, y in pts]

    def box(self, b):
        return [b[0] * SS, b[1] * SS, b[2] * SS, b[3] * SS]

    def rect(self, b, fill=None, outline=None, width=1, radius=0):
        with self._layer(fill, outline) as d:
            if radius:
                d.rounded_rectangle(self.box(b), radius * SS, fill=fill, outline=outline,
                                    width=int(width * SS))
            else:
                d.rectangle(self.box(b), fill=fill, outline=outline, width=int(width * SS))

    def ellipse(self, b, fill=None, outline=None, width=1):
        with self._layer(fill, outline) as d:
            d.ellipse(self.box(b), fill=fill, outline=outline, width=int(width * SS))

    def circle(self, cx, cy, r, **kw):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), **kw)

    def poly(self, pts, fill=None, outline=None, width=1):
        with self._layer(fill) as d:
            d.polygon(self.pts(pts), fill=fill)
        if outline:
            p = self.pts(pts)
            with self._layer(outline) as d:
                d.line(p + [p[0]], fill=outline, width=int(width * SS), joint="curve")

    def line(self, pts, fill, width=1):
        with self._layer(fill) as d:
            d.line(self.pts(pts), fill=fill, width=max(1, int(width * SS)), joint="curve")

    def arc(self, b, start, end, fill, width=1):
        with self._layer(fill) as d:
            d.arc(self.box(b), start, end, fill=fill, width=int(width * SS))

    def text(self, xy, txt, fnt_path, px, fill, anchor="la", stroke=0, stroke_fill=None):
        f = font(fnt_path, px * SS)
        self.d.text((xy[0] * SS, xy[1] * SS), txt, font=f, fill=fill, anchor=anchor,
                    stroke_width=int(stroke * SS), stroke_fill=stroke_fill)

    def text_size(self, txt, fnt_path, px):
        f = font(fnt_path, px * SS)
        b = self.d.textbbox((0, 0), txt, font=f)
        return (b[2] - b[0]) / SS, (b[3] - b[1]) / SS

    def paste(self, im, xy):
        """Pastes an RGBA image given in result pixels (scaled up to SS)."""
        big = im.resize((im.width * SS, im.height * SS), Image.LANCZOS)
        self.img.alpha_composite(big, (int(xy[0] * SS), int(xy[1] * SS)))

    def paste_big(self, im, xy):
        """Pastes an RGBA image that is already at canvas (SS) resolution."""
        self.img.alpha_composite(im, (int(xy[0] * SS), int(xy[1] * SS)))

    def emoji(self, ch, cx, cy, size):
        """Draws a colour emoji centred at (cx, cy), size in result pixels."""
        im = emoji_image(ch, size * SS)
        self.img.alpha_composite(im, (int(cx * SS - im.width / 2), int(cy * SS - im.height / 2)))

    def shadow(self, shape_fn, offset=(3, 4), blur=4, alpha=90):
        """Draws a soft drop shadow of whatever shape_fn paints on a mask."""
        mask = Image.new("L", self.img.size, 0)
        md = ImageDraw.Draw(mask)
        shape_fn(md)
        mask = mask.filter(ImageFilter.GaussianBlur(blur * SS))
        sh = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        sh.putalpha(mask.point(lambda v: v * alpha // 255))
        self.img.alpha_composite(sh, (int(offset[0] * SS), int(offset[1] * SS)))

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


class _Ink:
    def __init__(self, canvas, translucent):
        self.c = canvas
        self.translucent = translucent

    def __enter__(self):
        if not self.translucent:
            return self.c.d
        self.layer = Image.new("RGBA", self.c.img.size, (0, 0, 0, 0))
        return ImageDraw.Draw(self.layer)

    def __exit__(self, *exc):
        if self.translucent:
            self.c.img.alpha_composite(self.layer)
        return False


def emoji_image(ch, size):
    """Renders an emoji (109 px bitmap strike) trimmed and scaled to fit size."""
    f = ImageFont.truetype(EMOJI_FONT, 109)
    im = Image.new("RGBA", (300, 200), (0, 0, 0, 0))
    ImageDraw.Draw(im).text((20, 20), ch, font=f, embedded_color=True)
    im = im.crop(im.getbbox())
    scale = size / max(im.width, im.height)
    return im.resize((max(1, round(im.width * scale)), max(1, round(im.height * scale))),
                     Image.LANCZOS)


def gradient(w, h, top, bottom, horizontal=False):
    t = np.linspace(0, 1, w if horizontal else h)
    top = np.array(top, float)
    bottom = np.array(bottom, float)
    line = top[None, :] * (1 - t[:, None]) + bottom[None, :] * t[:, None]
    if horizontal:
        arr = np.repeat(line[None, :, :], h, axis=0)
    else:
        arr = np.repeat(line[:, None, :], w, axis=1)
    return Image.fromarray(arr.clip(0, 255).astype(np.uint8), "RGB").convert("RGBA")


def radial(w, h, inner, outer, cx=0.5, cy=0.5, radius=0.75):
    y, x = np.mgrid[0:h, 0:w]
    d = np.sqrt(((x / w - cx) ** 2 + (y / h - cy) ** 2)) / radius
    d = d.clip(0, 1)[..., None]
    arr = np.array(inner, float) * (1 - d) + np.array(outer, float) * d
    return Image.fromarray(arr.clip(0, 255).astype(np.uint8), "RGB").convert("RGBA")


def canvas_from(img):
    c = Canvas(img.width, img.height)
    c.img = img.resize((img.width * SS, img.height * SS), Image.BICUBIC).convert("RGBA")
    c.d = ImageDraw.Draw(c.img, "RGBA")
    return c


def darker(c, f=0.7):
    return tuple(int(v * f) for v in c[:3])


def lighter(c, f=0.4):
    return tuple(int(v + (255 - v) * f) for v in c[:3])


def save_bmp(img, folder, name):
    """Saves as an uncompressed 24-bit Windows BMP."""
    img.convert("RGB").save(os.path.join(folder, name), "BMP")


def rotate_about(img, angle):
    return img.rotate(angle, resample=Image.BICUBIC, expand=False)
