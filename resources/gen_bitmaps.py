#!/usr/bin/python3
"""Draws the header picture and the 25 explanation panels from artwork.txt.

Each picture is written as a 24-bit, uncompressed, bottom-up BMP with a
40-byte BITMAPINFOHEADER, and bitmaps.rc binds them under English (US).

    gen_bitmaps.py <artwork.txt> <resource.h> <font dir> <out dir>
"""
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

import resource_ids

HEADER_SIZE = (478, 87)
PANEL_SIZE = (298, 229)

WHITE = (0xFF, 0xFF, 0xFF)
RED = (0xFF, 0x00, 0x00)
BRIGHT_RED = (0xE2, 0x00, 0x00)
DARK_RED = (0x8C, 0x0A, 0x0A)
MAROON = (0x80, 0x00, 0x00)

# Punctuation that French (and Spanish) set apart with a blank but that must
# never start a line.
CLINGING = {"!", "?", ":", ";", "»"}
# In the text source "~" is a blank at which no line may break ("KORVANE~6").
NO_BREAK = "~"


# ---------------------------------------------------------------- text source

def parse_artwork(path, table):
    """Returns {picture id: [lines of its section, blank lines kept]}."""
    sections, current = {}, None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n")
            if line.startswith("#"):
                continue
            if line.startswith("[") and line.endswith("]"):
                ident = resource_ids.resolve(table, line[1:-1], f"{path}:{number}")
                if ident in sections:
                    sys.exit(f"{path}:{number}: picture {ident} given twice")
                current = sections[ident] = []
            elif current is not None:
                current.append(line.strip())
            elif line.strip():
                sys.exit(f"{path}:{number}: text outside a section")
    return sections


def heading_and_paragraphs(lines):
    lines = list(lines)
    while lines and not lines[-1]:
        lines.pop()
    if not lines or not lines[0]:
        return None, []
    paragraphs, current = [], []
    for line in lines[1:] + [""]:
        if line:
            current.append(line)
        elif current:
            paragraphs.append(" ".join(current))
            current = []
    return lines[0], paragraphs


# ------------------------------------------------------------------- drawing

def words_of(text):
    words = []
    for token in text.split(" "):
        if not token:
            continue
        if token in CLINGING and words:
            words[-1] += " " + token
        else:
            words.append(token)
    return words


def wrap(text, font, width):
    lines, line = [], ""
    for word in words_of(text):
        candidate = f"{line} {word}" if line else word
        if line and font.getlength(candidate.replace(NO_BREAK, " ")) > width:
            lines.append(line)
            line = word
        else:
            line = candidate
    if line:
        lines.append(line)
    return [line.replace(NO_BREAK, " ") for line in lines]


def panel_layout(heading, paragraphs, fonts, width, height, size):
    """Positions of every line at one body size, or None if they do not fit."""
    margin = 16
    text_width = width - 2 * margin
    bold = ImageFont.truetype(fonts["bold"], size + 4)
    body = ImageFont.truetype(fonts["regular"], size)
    items = []                        # (x, y, text, font, colour)
    y = 15
    for line in wrap(heading, bold, text_width):
        items.append((margin, y, line, bold, DARK_RED))
        y += round((size + 4) * 1.3)
    rule_y = y + 3
    y = rule_y + 12
    step = round(size * 1.45)
    for paragraph in paragraphs:
        for line in wrap(paragraph, body, text_width):
            items.append((margin, y, line, body, MAROON))
            y += step
        y += round(size * 0.6)
    if y > height - 14:
        return None
    return items, rule_y, margin


def draw_panel(heading, paragraphs, fonts):
    width, height = PANEL_SIZE
    for size in range(13, 8, -1):
        layout = panel_layout(heading, paragraphs, fonts, width, height, size)
        if layout:
            break
    else:
        sys.exit(f"panel text does not fit: {heading!r}")
    items, rule_y, margin = layout
    image = Image.new("RGB", PANEL_SIZE, WHITE)
    draw = ImageDraw.Draw(image)
    for x, y, text, font, colour in items:
        draw.text((x, y), text, font=font, fill=colour)
    # A short bar over a hairline rule sets the heading off from the text.
    draw.rectangle([margin, rule_y - 1, margin + 34, rule_y + 1], fill=DARK_RED)
    draw.line([margin + 35, rule_y, width - margin, rule_y], fill=DARK_RED)
    return image


def draw_header(title, tagline, fonts):
    width, height = HEADER_SIZE
    image = Image.new("RGB", HEADER_SIZE, WHITE)
    draw = ImageDraw.Draw(image)
    title_font = ImageFont.truetype(fonts["bold"], 42)
    x = 20
    for ch in title:                  # slightly spaced capitals
        draw.text((x, 8), ch, font=title_font, fill=BRIGHT_RED)
        x += title_font.getlength(ch) + 2
    tag_font = ImageFont.truetype(fonts["regular"], 14)
    draw.text((22, 61), tagline, font=tag_font, fill=RED)

    # A measured signal, a decaying oscillation right of the title, drawn four
    # times larger and scaled down for smooth edges.
    scale, left, right, mid = 4, int(x) + 22, width - 18, 36
    if right - left < 60:
        sys.exit("header title too wide for the signal beside it")
    trace = Image.new("RGB", (width * scale, height * scale), WHITE)
    pen = ImageDraw.Draw(trace)
    pen.line([left * scale, mid * scale, right * scale, mid * scale],
             fill=BRIGHT_RED, width=scale)
    points = []
    for i in range(0, (right - left) * scale + 1):
        t = i / ((right - left) * scale)
        swell = (t / 0.15) * math.exp(1 - t / 0.15)   # rises, then dies away
        y = mid - 26 * swell * math.sin(2 * math.pi * 5 * t)
        points.append((left * scale + i, y * scale))
    pen.line(points, fill=RED, width=int(2.2 * scale), joint="curve")
    trace = trace.resize(HEADER_SIZE, Image.LANCZOS)
    box = (left - 2, 0, right + 3, height - 16)
    image.paste(trace.crop(box), box)
    return image


# ---------------------------------------------------------------- BMP output

def write_bmp(image, path):
    """24 bpp, BI_RGB, bottom-up, BITMAPFILEHEADER + 40-byte BITMAPINFOHEADER."""
    width, height = image.size
    stride = (width * 3 + 3) & ~3
    pixels = image.convert("RGB").tobytes("raw", "BGR", stride, -1)
    assert len(pixels) == stride * height
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                       len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + info + pixels)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    table = resource_ids.read(sys.argv[2])
    sections = parse_artwork(sys.argv[1], table)
    fonts = {"regular": os.path.join(sys.argv[3], "DejaVuSans.ttf"),
             "bold": os.path.join(sys.argv[3], "DejaVuSans-Bold.ttf")}
    out = sys.argv[4]

    header_id = table["IDB_HEADER"]
    panel_ids = resource_ids.localized(table, "IDB_PANEL_")
    header = [line for line in sections.get(header_id, []) if line]
    if len(header) != 2:
        sys.exit("[IDB_HEADER] needs the title and the tagline")
    pictures = {header_id: draw_header(header[0], header[1], fonts)}
    for ident in panel_ids:
        heading, paragraphs = heading_and_paragraphs(sections.get(ident, []))
        if not heading or not paragraphs:
            sys.exit(f"panel {ident} is missing or empty")
        pictures[ident] = draw_panel(heading, paragraphs, fonts)
    extra = set(sections) - set(pictures)
    if extra:
        sys.exit(f"sections of pictures that are no header or panel: {sorted(extra)}")

    rc = ["/* Generated from artwork.txt by gen_bitmaps.py; do not edit. */",
          "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US"]
    for ident, image in pictures.items():
        name = f"bitmap_{ident}.bmp"
        write_bmp(image, os.path.join(out, name))
        rc.append(f'{ident} BITMAP "{name}"')
    with open(os.path.join(out, "bitmaps.rc"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(rc) + "\n")


if __name__ == "__main__":
    main()
