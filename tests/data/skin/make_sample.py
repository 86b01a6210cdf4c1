#!/usr/bin/env python3
"""Writes the small sample skin in sample/ used by the skin tool tests.

Run from this folder: python3 make_sample.py. Everything is generated, so the files
can be reviewed as the code below; rerunning gives the same bytes.
"""
import struct
import zlib

OPTIONS = """; sample skin for the tool tests
[GLOBALINFO]
VERSION=7.5
AUTHOR=Quorvel tests
DESCRIPTION=Small sample skin
MASTERBITMAP=MASTER.BMP
TITLEHEIGHT=28

[BUTTON]
COLOR=$00D0D0D0
BORDERSMASK=^0000^0000^0030^0020^0003^0003^0003^0003^3^1^0^0
GLYPHMASK=@0030@0000@0040@0010@2@1
PATTERN=~0040~0000~0064~0032~01~0
GLOW0=!GLOW.PNG!1!0!3!2!1!2!1!1

[EDIT]
PARENTCLASS=BUTTON
STATES=1
BORDERSMASK=EDGE.BMP
IMGTOPLEFT=#(0,20,6,26)(1,0,0,0)
"""


def bmp24(width, height, pixel):
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def png_rgba(width, height, pixel):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(pixel(x, y))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))

    ihdr = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')


def master(x, y):
    if (x, y) == (0, 0):
        return (255, 0, 255)  # key colour in the frame's corner
    return (x * 4, y * 8, 0x11)


with open('sample/Options.dat', 'w', newline='\r\n') as f:
    f.write(OPTIONS)
with open('sample/Master.bmp', 'wb') as f:
    f.write(bmp24(64, 32, master))
with open('sample/Edge.bmp', 'wb') as f:
    f.write(bmp24(18, 12, lambda x, y: (0x12, 0x34, 0x56)))
with open('sample/Glow.png', 'wb') as f:
    f.write(png_rgba(8, 4, lambda x, y: (200, 100, 50, 128) if x == 0 else (255, 255, 255, 255)))
