#!/usr/bin/python3
"""Turns strings.txt (UTF-8) into a STRINGTABLE for windres.

Every character outside printable ASCII, and the quote and backslash, is
written as a four-digit \\xNNNN escape inside L"..." so that the script is
pure ASCII and windres never has to guess a code page.

    gen_strings.py <strings.txt> <resource.h> <out.rc>
"""
import sys

import resource_ids


def read_strings(path, table):
    """Returns [(identifier, text)] in file order; rejects duplicates and
    requires every string of resource.h in every language."""
    entries, seen = [], set()
    with open(path, encoding="utf-8", newline="") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#"):
                continue
            key, sep, text = line.partition("|")
            if not sep:
                sys.exit(f"{path}:{number}: expected <base name>+<language>|<text>")
            ident = resource_ids.resolve(table, key, f"{path}:{number}")
            if ident in seen:
                sys.exit(f"{path}:{number}: identifier {ident} given twice")
            seen.add(ident)
            entries.append((ident, text))
    missing = [i for i in resource_ids.localized(table, "IDS_") if i not in seen]
    if missing:
        sys.exit(f"{path}: no text for the strings {missing}")
    return entries


def rc_wide_literal(text):
    out = []
    for ch in text:
        code = ord(ch)
        if code > 0xFFFF:
            sys.exit(f"character U+{code:X} does not fit one UTF-16 unit")
        if 0x20 <= code < 0x7F and ch not in '"\\':
            out.append(ch)
        else:
            out.append(f"\\x{code:04x}")
    return 'L"' + "".join(out) + '"'


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    entries = read_strings(sys.argv[1], resource_ids.read(sys.argv[2]))
    lines = ["/* Generated from strings.txt by gen_strings.py; do not edit. */",
             "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
             "STRINGTABLE",
             "BEGIN"]
    lines += [f"  {ident}, {rc_wide_literal(text)}" for ident, text in entries]
    lines += ["END", ""]
    with open(sys.argv[3], "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
