#!/usr/bin/env python3
# Writes seed BMP files for the loader's fuzzer into the folder given: every bit depth the loader
# takes, bottom-up and top-down, the old 12-byte header, bit-field masks and a short palette.
import struct, sys, os

def bmp(width, height, bits, top_down=False, header=40, palette_entries=None, compression=0, masks=b""):
    row = (bits * width + 31) // 32 * 4
    pixels = bytearray()
    for y in range(height):
        line = bytearray(row)
        for x in range(width):
            v = (x * 7 + y * 13) & ((1 << min(bits, 8)) - 1)
            if bits < 8:
                shift = 8 - bits - (x * bits) % 8
                line[x * bits // 8] |= v << shift
            else:
                for k in range(bits // 8):
                    line[x * bits // 8 + k] = (v + 40 * k) & 255
        pixels += line
    if palette_entries is None:
        palette_entries = (1 << bits) if bits <= 8 else 0
    palette = b"".join(struct.pack("<BBBB", (i * 37) & 255, (i * 91) & 255, (i * 53) & 255, 0) for i in range(palette_entries))
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, -height if top_down else height, 1, bits,
                           compression, len(pixels), 2835, 2835, palette_entries, 0)
        info += masks
        info += bytes(header - len(info)) if header > len(info) else b""
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + pixels

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
seeds = {
    "b1.bmp": bmp(13, 5, 1), "b4.bmp": bmp(9, 4, 4), "b8.bmp": bmp(7, 6, 8),
    "b8-short-palette.bmp": bmp(5, 3, 8, palette_entries=20),
    "b16.bmp": bmp(6, 3, 16), "b24.bmp": bmp(5, 5, 24), "b32.bmp": bmp(4, 3, 32),
    "b24-top-down.bmp": bmp(5, 4, 24, top_down=True), "b8-top-down.bmp": bmp(6, 2, 8, top_down=True),
    "b24-core.bmp": bmp(3, 3, 24, header=12),
    "b32-fields.bmp": bmp(4, 2, 32, header=56, compression=3,
                          masks=struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
    "b16-fields.bmp": bmp(4, 2, 16, header=108, compression=3, masks=struct.pack("<IIII", 0xF800, 0x7E0, 0x1F, 0)),
    "b24-v5.bmp": bmp(3, 2, 24, header=124),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
