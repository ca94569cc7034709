"""The resource identifiers, read from resource.h: the code, the resource
script and the generators all take them from there.

The text sources name their items by those names: a localized item as
<name>+<language> (the base plus 0 German ... 4 Spanish), any other by its
name alone.
"""
import re
import sys

DEFINE = re.compile(r"#define\s+(\w+)\s+(\d+)\b")


def read(path):
    """Returns {name: number} for every "#define <name> <number>" line."""
    with open(path, encoding="ascii") as f:
        return {m[1]: int(m[2]) for m in map(DEFINE.match, f) if m}


def resolve(table, key, where):
    """The identifier that "<name>" or "<name>+<language>" stands for."""
    name, plus, language = key.partition("+")
    languages = range(table["KORVANE_LANGUAGES"])
    if name not in table or (plus and not (language.isdigit() and int(language) in languages)):
        sys.exit(f"{where}: unknown resource {key!r}")
    return table[name] + (int(language) if plus else 0)


def localized(table, prefix):
    """Every identifier of the localized items whose names start with prefix,
    in the order of resource.h, each base with its languages in turn."""
    return [number + language for name, number in table.items() if name.startswith(prefix)
            for language in range(table["KORVANE_LANGUAGES"])]
