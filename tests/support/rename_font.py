# SPDX-License-Identifier: MIT
"""Copies a TrueType font under another family name, for the tests that need
a family the system does not have (Debian python3-fonttools).

    rename_font.py FONT COPY FAMILY
"""
import sys

from fontTools.ttLib import TTFont

source, copy, family = sys.argv[1:4]
font = TTFont(source)
table = font["name"]
# Family, full and typographic family names, in the Windows records only
# (the Macintosh ones cannot hold Japanese); a PostScript name of its own.
table.names = [r for r in table.names if r.platformID == 3 or r.nameID not in (1, 4, 6, 16)]
for record in table.names:
    if record.nameID in (1, 4, 16):
        record.string = family
    elif record.nameID == 6:
        record.string = "TaijuTestFamily"
font.save(copy)
