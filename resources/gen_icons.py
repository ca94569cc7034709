#!/usr/bin/python3
"""Builds the icon resources from the pixel art in icons.txt.

windres numbers the images of an ICON statement itself, but the program needs
fixed image identifiers (those of resource.h), so this writes the raw resource data
instead, to be bound in the script as RT_ICON (type 3) and RT_GROUP_ICON
(type 14):
  icon_<image>.bin   BITMAPINFOHEADER (height doubled), 256-colour palette,
                     8-bit XOR image, 1-bit AND mask, both bottom-up
  group_<group>.bin  GRPICONDIR with one GRPICONDIRENTRY naming the image
  icons.rc           the statements that bind them, neutral language

    gen_icons.py <icons.txt> <resource.h> <out dir>
"""
import os
import struct
import sys

import resource_ids

SIZE = 16
PALETTE_SIZE = 256


def parse(path, table):
    """Returns (palette {char: (r, g, b)}, [(image id, group id, rows)])."""
    palette, icons, current = {}, [], None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            words = line.split()
            if words[0] == "colour" and len(words) == 3:
                rgb = words[2].lstrip("#")
                palette[words[1]] = tuple(int(rgb[i:i + 2], 16) for i in (0, 2, 4))
            elif words[0] == "icon" and len(words) == 4 and words[2] == "group":
                where = f"{path}:{number}"
                current = (resource_ids.resolve(table, words[1], where),
                           resource_ids.resolve(table, words[3], where), [])
                icons.append(current)
            elif current is not None and len(line) == SIZE:
                current[2].append(line)
            else:
                sys.exit(f"{path}:{number}: cannot read {line!r}")
    for image, _, rows in icons:
        if len(rows) != SIZE:
            sys.exit(f"{path}: icon {image} has {len(rows)} rows, expected {SIZE}")
        unknown = {c for row in rows for c in row} - set(palette) - {"."}
        if unknown:
            sys.exit(f"{path}: icon {image} uses undefined colours {sorted(unknown)}")
    return palette, icons


def icon_image(palette, rows):
    """The RT_ICON data: an 8-bit DIB followed by its AND mask."""
    # Index 0 is black: transparent pixels are black in the XOR image with
    # their mask bit set, so the screen shows through unchanged.
    order = sorted(palette)
    index = {c: i + 1 for i, c in enumerate(order)}
    index["."] = 0
    colours = [(0, 0, 0)] + [palette[c] for c in order]
    colours += [(0, 0, 0)] * (PALETTE_SIZE - len(colours))

    xor_stride = SIZE                       # 16 bytes: already a multiple of 4
    and_stride = ((SIZE + 31) // 32) * 4    # 1 bit per pixel, rows to 32 bits
    xor, mask = bytearray(), bytearray()
    for row in reversed(rows):              # bottom-up
        xor += bytes(index[c] for c in row)
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            if c == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    assert len(xor) == xor_stride * SIZE
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0,
                         len(xor) + len(mask), 0, 0, PALETTE_SIZE, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    return header + table + bytes(xor) + bytes(mask)


def group_directory(image_id, image_bytes):
    """GRPICONDIR + one GRPICONDIRENTRY; colour count 0 means 256 colours."""
    return (struct.pack("<HHH", 0, 1, 1)
            + struct.pack("<BBBBHHIH", SIZE, SIZE, 0, 0, 1, 8, image_bytes, image_id))


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    palette, icons = parse(sys.argv[1], resource_ids.read(sys.argv[2]))
    if len(palette) + 1 > PALETTE_SIZE:
        sys.exit("too many colours for a 256-colour icon")
    out = sys.argv[3]
    rc = ["/* Generated from icons.txt by gen_icons.py; do not edit. */",
          "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL"]
    for image, group, rows in icons:
        data = icon_image(palette, rows)
        with open(os.path.join(out, f"icon_{image}.bin"), "wb") as f:
            f.write(data)
        with open(os.path.join(out, f"group_{group}.bin"), "wb") as f:
            f.write(group_directory(image, len(data)))
        rc.append(f'{image} 3 "icon_{image}.bin"')
        rc.append(f'{group} 14 "group_{group}.bin"')
    with open(os.path.join(out, "icons.rc"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(rc) + "\n")


if __name__ == "__main__":
    main()
