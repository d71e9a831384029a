#!/usr/bin/env python3
"""Draws Vornik's icons and writes the files the build embeds.

The motif is a stop sign: a red octagon with a dark rim and a white cross,
which still reads at 16 x 16. Run it again after changing the drawing; the
build takes the committed outputs as they are:

  src/assets/tray_icon.ico           the tray icon file: two 32 x 32 images,
                                     8-bit and 24-bit, colour count 0
  src/assets/default_icon_16.dib     the three 16-colour images of the
  src/assets/default_icon_32.dib     executable's icon group, each as an icon
  src/assets/default_icon_48.dib     resource holds it (header, palette,
                                     colour bits, mask)
  src/assets/default_icon.grp        the icon group's directory, pointing at
                                     icon resources 3, 4 and 5

Standard library only.
"""

import math
import pathlib
import struct

ASSETS = pathlib.Path(__file__).resolve().parent.parent / "src" / "assets"

RIM = (128, 0, 0)
RED = (224, 0, 0)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# The 16-colour palette every 4-bit icon uses; the drawing takes its dark red,
# red and white.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
VGA16_COLOUR = {RIM: VGA16[1], RED: VGA16[9], WHITE: VGA16[15], BLACK: BLACK}

# The 8-bit image's palette: the three colours of the drawing, the rest black.
PALETTE256 = [BLACK, RIM, RED, WHITE] + [BLACK] * 252
PALETTE256_INDEX = {BLACK: 0, RIM: 1, RED: 2, WHITE: 3}


def stop_sign(size, x, y):
    """The colour at point (x, y) of a size x size square (pixel units, origin
    top left), or None where the icon is transparent."""
    half = size / 2
    u, v = abs(x - half), abs(y - half)
    apothem = half - 0.01
    # A regular octagon: inside the square and inside the four cut corners.
    def inside(a):
        return u <= a and v <= a and u + v <= a * math.sqrt(2)
    if not inside(apothem):
        return None
    rim = max(1.0, size / 16)
    if not inside(apothem - rim):
        return RIM
    # A white border inside the rim where there is room for it.
    if size >= 32 and not inside(apothem - rim - size / 24):
        return WHITE
    if size >= 32 and not inside(apothem - 2 * rim - size / 24):
        return RED
    # At 16 x 16 the cross is one pixel thick, or it clogs into a blob.
    reach = half * 0.42 if size >= 32 else 3.6
    thickness = size * 0.075 if size >= 32 else 0.4
    du, dv = x - half, y - half
    on_stroke = min(abs(du - dv), abs(du + dv)) / math.sqrt(2) <= thickness
    if on_stroke and abs(du) <= reach + 0.01 and abs(dv) <= reach + 0.01:
        return WHITE
    return RED


def hard_pixels(size):
    """One sample at each pixel centre: colours for palette images."""
    return [[stop_sign(size, col + 0.5, row + 0.5) for col in range(size)] for row in range(size)]


def smooth_pixels(size, samples=4):
    """Averaged samples for the 24-bit image. The mask is one bit, so only the
    inside is smoothed: a pixel is opaque when most of it lies in the sign."""
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            colours = []
            for sy in range(samples):
                for sx in range(samples):
                    c = stop_sign(size, col + (sx + 0.5) / samples, row + (sy + 0.5) / samples)
                    if c is not None:
                        colours.append(c)
            if len(colours) * 2 < samples * samples:
                line.append(None)
            else:
                line.append(tuple(round(sum(c[i] for c in colours) / len(colours)) for i in range(3)))
        pixels.append(line)
    return pixels


def row_stride(bits):
    return (bits + 31) // 32 * 4


def info_header(size, bit_count, colour_and_mask_bytes):
    # BITMAPINFOHEADER; an icon image is twice as tall: colour bits, then mask.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bit_count, 0,
                       colour_and_mask_bytes, 0, 0, 0, 0)


def mask_bits(pixels):
    """The AND mask, bottom row first: 1 where the background shows through."""
    size = len(pixels)
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray(row_stride(size))
        for col, colour in enumerate(row):
            if colour is None:
                line[col // 8] |= 0x80 >> (col % 8)
        out += line
    return bytes(out)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def palette_image(pixels, bit_count, palette, index_of):
    size = len(pixels)
    colour = bytearray()
    for row in reversed(pixels):
        line = bytearray(row_stride(size * bit_count))
        for col, c in enumerate(row):
            index = index_of[c if c is not None else BLACK]
            if bit_count == 8:
                line[col] = index
            else:  # 4 bits: the left pixel in the high nibble
                line[col // 2] |= index << (4 if col % 2 == 0 else 0)
        colour += line
    mask = mask_bits(pixels)
    return info_header(size, bit_count, len(colour) + len(mask)) + palette_bytes(palette) + colour + mask


def truecolour_image(pixels):
    size = len(pixels)
    colour = bytearray()
    for row in reversed(pixels):
        line = bytearray(row_stride(size * 24))
        for col, c in enumerate(row):
            r, g, b = c if c is not None else BLACK
            line[col * 3:col * 3 + 3] = bytes((b, g, r))
        colour += line
    mask = mask_bits(pixels)
    return info_header(size, 24, len(colour) + len(mask)) + colour + mask


def tray_icon_file():
    """Two 32 x 32 images; both directory entries leave colour count, planes
    and bit count at 0."""
    images = [
        palette_image(hard_pixels(32), 8, PALETTE256, PALETTE256_INDEX),
        truecolour_image(smooth_pixels(32)),
    ]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for image in images:
        out += struct.pack("<BBBBHHII", 32, 32, 0, 0, 0, 0, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def default_icon_images():
    def vga(pixels):
        return [[VGA16_COLOUR[c] if c is not None else None for c in row] for row in pixels]
    index = {VGA16[i]: i for i in (0, 1, 9, 15)}
    return {size: palette_image(vga(hard_pixels(size)), 4, VGA16, index) for size in (16, 32, 48)}


def icon_group(images, first_id=3):
    """GRPICONDIR: the directory of an icon-group resource; entries name their
    images by icon resource number instead of file offset."""
    out = struct.pack("<HHH", 0, 1, len(images))
    for n, (size, image) in enumerate(sorted(images.items())):
        out += struct.pack("<BBBBHHIH", size, size, 16, 0, 1, 4, len(image), first_id + n)
    return out


def main():
    tray = tray_icon_file()
    assert len(tray) == 5494, len(tray)
    (ASSETS / "tray_icon.ico").write_bytes(tray)

    images = default_icon_images()
    for size, expected in ((16, 296), (32, 744), (48, 1640)):
        assert len(images[size]) == expected, (size, len(images[size]))
        (ASSETS / f"default_icon_{size}.dib").write_bytes(images[size])
    (ASSETS / "default_icon.grp").write_bytes(icon_group(images))


if __name__ == "__main__":
    main()
