#!/usr/bin/env python3
"""Writes headless/generate/case_folding_table.cpp: the code points whose
full case folding (str.casefold()) differs from their lowercase
(str.lower()), with their folding. Windows lowercases only; with this table
it folds case as ICU does elsewhere. Run from the repository's top folder
after a Unicode update: python3 tools/case_folding_table.py"""

import sys
import unicodedata

OUT = "headless/generate/case_folding_table.cpp"


def utf16(text):
    units = []
    for ch in text:
        cp = ord(ch)
        if cp > 0xFFFF:
            cp -= 0x10000
            units += [0xD800 + (cp >> 10), 0xDC00 + (cp & 0x3FF)]
        else:
            units.append(cp)
    return "".join(chr(u) if 0x61 <= u <= 0x7A else "\\u%04X" % u for u in units)


def main():
    rows = []
    for cp in range(0x110000):
        if 0xD800 <= cp < 0xE000:
            continue
        ch = chr(cp)
        # U+0130 lowercases to two code points, which a system lowercasing
        # one unit at a time does not give: listed too.
        if ch.casefold() != ch.lower() or len(ch.lower()) > 1:
            if cp > 0xFFFF:
                sys.exit("U+%X folds unlike its lowercase: the table holds only the BMP" % cp)
            rows.append("    {0x%04X, u\"%s\"}," % (cp, utf16(ch.casefold())))
    with open(OUT, "w", encoding="utf-8", newline="\n") as f:
        f.write("// Made by tools/case_folding_table.py: Python's str.casefold() where it\n"
                "// differs from str.lower() (Unicode %s).\n" % unicodedata.unidata_version)
        f.write('#include "generate/case_folding_table.h"\n\n')
        f.write("namespace headless::generate {\n\nnamespace {\n\n")
        f.write("constexpr FoldingUnlikeLowercase kTable[] = {\n")
        f.write("\n".join(rows))
        f.write("\n};\n\n}  // namespace\n\n")
        f.write("std::span<const FoldingUnlikeLowercase> FoldingsUnlikeLowercase() {\n"
                "  return kTable;\n}\n\n")
        f.write("}  // namespace headless::generate\n")
    print("%s: %d code points" % (OUT, len(rows)))


if __name__ == "__main__":
    main()
