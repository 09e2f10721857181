#!/usr/bin/python3
"""Turns the help and tip texts (assets/help/*.txt) into RTF pages (assets/HLP).

The pages use only plain RTF that the program's reader and any word processor
understand: groups, \\par, \\b, \\i, \\ul, \\fs, \\cf with a colour table,
\\qc/\\ql, and \\'hh escapes in Windows-1252.

Text format, one paragraph per block of lines (blank lines separate blocks):
  = Title            heading, centred, large
  == Heading         sub-heading, bold
  - item             bullet item (each line starting with "- " is one item)
  **bold**, //italic//, __underlined__ inside any line
A page whose first line is "%tip" is a tip page: shown white on blue by the
program, so it sets no text colours and centres every paragraph.

Usage: tools/make_rtf.py [source folder] [output folder]
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets", "help")
OUT = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "assets", "HLP")

HEADER = ("{\\rtf1\\ansi\\ansicpg1252\\deff0"
          "{\\fonttbl{\\f0\\fswiss Arial;}}"
          "{\\colortbl;\\red31\\green73\\blue116;\\red150\\green70\\blue20;}\n")


def escape(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif 32 <= code < 128:
            out.append(ch)
        else:
            try:
                b = ch.encode("cp1252")
                out.append("\\'%02x" % b[0])
            except UnicodeEncodeError:
                out.append("\\u%d?" % (code if code < 32768 else code - 65536))
    return "".join(out)


INLINE = re.compile(r"(\*\*.+?\*\*|//.+?//|__.+?__)")


def inline(text):
    parts = []
    for piece in INLINE.split(text):
        if not piece:
            continue
        if piece.startswith("**"):
            parts.append("{\\b " + escape(piece[2:-2]) + "}")
        elif piece.startswith("//"):
            parts.append("{\\i " + escape(piece[2:-2]) + "}")
        elif piece.startswith("__"):
            parts.append("{\\ul " + escape(piece[2:-2]) + "}")
        else:
            parts.append(escape(piece))
    return "".join(parts)


def blocks(lines):
    block = []
    for line in lines:
        if line.strip():
            block.append(line.rstrip())
        elif block:
            yield block
            block = []
    if block:
        yield block


def convert(text):
    lines = text.splitlines()
    tip = bool(lines) and lines[0].strip() == "%tip"
    if tip:
        lines = lines[1:]
    body = [HEADER]
    align = "\\qc" if tip else "\\ql"
    for block in blocks(lines):
        # a heading line may sit directly above its paragraph or list
        while block and block[0].startswith("="):
            first = block.pop(0)
            if first.startswith("== "):
                colour = "" if tip else "\\cf2"
                body.append("{%s\\b\\fs30%s %s\\par}\n" % (align, colour, inline(first[3:])))
            else:
                colour = "" if tip else "\\cf1"
                body.append("{\\qc\\b\\fs40%s %s\\par}\n" % (colour, inline(first[2:])))
                body.append("{\\qc\\fs12\\par}\n")
        if not block:
            continue
        # a sentence that introduces a list is a paragraph of its own, above the list
        first_item = next((i for i, line in enumerate(block) if line.startswith("- ")), 0)
        if first_item > 0:
            body.append("{%s %s\\par}\n" % (align, inline(" ".join(block[:first_item]))))
            block = block[first_item:]
        if block[0].startswith("- "):
            items = []
            for line in block:
                if line.startswith("- "):
                    items.append(line[2:].strip())
                else:
                    items[-1] += " " + line.strip()
            for item in items:
                body.append("{%s \\'95  %s\\par}\n" % (align, inline(item)))
            body.append("{%s\\fs12\\par}\n" % align)
        else:
            body.append("{%s %s\\par}\n" % (align, inline(" ".join(block))))
            body.append("{%s\\fs12\\par}\n" % align)
    body.append("}\n")
    return "".join(body)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name in sorted(os.listdir(SRC)):
        if not name.endswith(".txt"):
            continue
        with open(os.path.join(SRC, name), encoding="utf-8") as f:
            rtf = convert(f.read())
        with open(os.path.join(OUT, name[:-4] + ".rtf"), "w", encoding="ascii",
                  newline="\r\n") as f:
            f.write(rtf)


if __name__ == "__main__":
    main()
