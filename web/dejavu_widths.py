#!/usr/bin/env python3
"""Prints the advance widths of the printable ASCII characters of DejaVu Sans
and DejaVu Sans Bold (fonts-dejavu-core) in font units, for web/panel_font.hpp.
   web/dejavu_widths.py [FONT_DIR]"""
import struct
import sys

def widths(path):
    data = open(path, 'rb').read()
    tables = {}
    for i in range(struct.unpack('>H', data[4:6])[0]):
        tag, _, offset, _ = struct.unpack('>4sIII', data[12 + 16 * i:28 + 16 * i])
        tables[tag.decode()] = offset
    units = struct.unpack('>H', data[tables['head'] + 18:tables['head'] + 20])[0]
    metrics = struct.unpack('>H', data[tables['hhea'] + 34:tables['hhea'] + 36])[0]
    cmap = tables['cmap']
    glyph = {}
    for i in range(struct.unpack('>H', data[cmap + 2:cmap + 4])[0]):
        platform, encoding, offset = struct.unpack('>HHI', data[cmap + 4 + 8 * i:cmap + 12 + 8 * i])
        sub = cmap + offset
        if platform != 3 or encoding != 1 or struct.unpack('>H', data[sub:sub + 2])[0] != 4:
            continue
        segs = struct.unpack('>H', data[sub + 6:sub + 8])[0] // 2
        ends = struct.unpack('>%dH' % segs, data[sub + 14:sub + 14 + 2 * segs])
        base = sub + 16 + 2 * segs
        starts = struct.unpack('>%dH' % segs, data[base:base + 2 * segs])
        deltas = struct.unpack('>%dh' % segs, data[base + 2 * segs:base + 4 * segs])
        ro_at = base + 4 * segs
        offsets = struct.unpack('>%dH' % segs, data[ro_at:ro_at + 2 * segs])
        for c in range(32, 127):
            for s in range(segs):
                if starts[s] <= c <= ends[s]:
                    if offsets[s] == 0:
                        glyph[c] = (c + deltas[s]) & 0xFFFF
                    else:
                        at = ro_at + 2 * s + offsets[s] + 2 * (c - starts[s])
                        g = struct.unpack('>H', data[at:at + 2])[0]
                        glyph[c] = (g + deltas[s]) & 0xFFFF if g else 0
                    break
        break
    hmtx = tables['hmtx']
    def advance(g):
        g = min(g, metrics - 1)
        return struct.unpack('>H', data[hmtx + 4 * g:hmtx + 4 * g + 2])[0]
    return units, [advance(glyph.get(c, 0)) for c in range(32, 127)]

folder = sys.argv[1] if len(sys.argv) > 1 else '/usr/share/fonts/truetype/dejavu'
for name in ('DejaVuSans.ttf', 'DejaVuSans-Bold.ttf'):
    units, w = widths(folder + '/' + name)
    print('// %s, %d units to the em, characters 32..126' % (name, units))
    print(', '.join(str(x) for x in w))
