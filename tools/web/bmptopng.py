#!/usr/bin/python3
"""Writes a 24-bit uncompressed BMP as an RGB PNG of the same pixels, for a page's data that a
program reads as PNG (the demo's floor).
    bmptopng.py INPUT.bmp OUTPUT.png"""
import struct
import sys
import zlib


def readbmp(data):
    """The width, the height and the rows from the top, as RGB bytes."""
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits, compression = struct.unpack_from('<iiHHI', data, 18)
    if bits != 24 or compression != 0 or width <= 0 or height == 0:
        raise ValueError('not a 24-bit uncompressed BMP')
    stride = (width * 3 + 3) & ~3
    rows = [data[offset + row * stride:offset + row * stride + width * 3]
            for row in range(abs(height))]
    if height > 0:  # stored from the bottom up
        rows.reverse()
    return width, abs(height), [b''.join(row[x:x + 3][::-1] for x in range(0, width * 3, 3))
                                for row in rows]  # each pixel blue, green, red in the file


def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))


def png(width, height, rows):
    header = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    pixels = zlib.compress(b''.join(b'\0' + row for row in rows), 9)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', pixels) +
            chunk(b'IEND', b''))


if __name__ == '__main__':
    with open(sys.argv[1], 'rb') as source:
        picture = readbmp(source.read())
    with open(sys.argv[2], 'wb') as target:
        target.write(png(*picture))
