#!/usr/bin/env python3
"""Draws the bundle's raster artwork: the 20x20 style-sheet indicators and logo.ico.

Only the Python standard library is used, so the images can be redrawn anywhere; the build
itself never runs this script, it uses the committed files. The output is deterministic:
running it again on unchanged sources rewrites identical bytes.

    python3 scripts/make-artwork.py            # writes into resources/
    python3 scripts/make-artwork.py --out DIR  # writes into DIR/qss/default and DIR/image
"""

import argparse
import math
import os
import struct
import zlib

# --- A tiny coverage rasterizer ---------------------------------------------------------------
#
# A shape is a predicate inside(x, y) over design units plus a bounding box. Each pixel is
# sampled on an n x n grid, and the covered fraction scales the shape's alpha, which gives
# anti-aliased edges without any imaging library. Colours are composited source-over in
# premultiplied floats.


class Shape:
    def __init__(self, inside, box, colour):
        self.inside = inside
        self.box = box  # (x0, y0, x1, y1) in design units
        self.colour = colour  # (r, g, b, a) with a in 0..1


class Canvas:
    def __init__(self, size, design):
        self.size = size
        self.scale = design / size  # design units per pixel
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def paint(self, shape, samples):
        r, g, b, a = shape.colour
        x0, y0, x1, y1 = shape.box
        s = self.scale
        first_col = max(0, int(math.floor(x0 / s)))
        last_col = min(self.size - 1, int(math.ceil(x1 / s)))
        first_row = max(0, int(math.floor(y0 / s)))
        last_row = min(self.size - 1, int(math.ceil(y1 / s)))
        offsets = [(i + 0.5) / samples for i in range(samples)]
        total = samples * samples
        inside = shape.inside
        for row in range(first_row, last_row + 1):
            for col in range(first_col, last_col + 1):
                hits = 0
                for oy in offsets:
                    y = (row + oy) * s
                    for ox in offsets:
                        if inside((col + ox) * s, y):
                            hits += 1
                if hits == 0:
                    continue
                alpha = a * hits / total
                p = self.px[row * self.size + col]
                keep = 1.0 - alpha
                p[0] = r * alpha + p[0] * keep
                p[1] = g * alpha + p[1] * keep
                p[2] = b * alpha + p[2] * keep
                p[3] = alpha + p[3] * keep

    def rgba_rows(self):
        """Unpremultiplied 8-bit RGBA, top row first."""
        rows = []
        for row in range(self.size):
            line = []
            for col in range(self.size):
                r, g, b, a = self.px[row * self.size + col]
                if a <= 0.0:
                    line.append((0, 0, 0, 0))
                    continue
                line.append((to_byte(r / a), to_byte(g / a), to_byte(b / a), to_byte(a)))
            rows.append(line)
        return rows


def to_byte(v):
    return max(0, min(255, int(round(v * 255.0))))


def colour(hex_rgb, alpha=1.0):
    h = hex_rgb.lstrip("#")
    return (int(h[0:2], 16) / 255.0, int(h[2:4], 16) / 255.0, int(h[4:6], 16) / 255.0, alpha)


def rounded_rect(x0, y0, x1, y1, radius, fill):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    return Shape(inside, (x0, y0, x1, y1), fill)


def disc(cx, cy, radius, fill):
    def inside(x, y):
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    return Shape(inside, (cx - radius, cy - radius, cx + radius, cy + radius), fill)


def polygon(points, fill):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def inside(x, y):
        # Even-odd ray casting.
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return Shape(inside, (min(xs), min(ys), max(xs), max(ys)), fill)


def polyline(points, width, fill):
    """A stroked open path with round joins and caps."""
    half = width / 2.0
    segments = list(zip(points, points[1:]))

    def inside(x, y):
        for (ax, ay), (bx, by) in segments:
            dx, dy = bx - ax, by - ay
            t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
            t = min(1.0, max(0.0, t))
            px, py = ax + t * dx, ay + t * dy
            if (x - px) ** 2 + (y - py) ** 2 <= half * half:
                return True
        return False

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(inside, (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), fill)


def arc_band(cx, cy, radius, width, start_deg, end_deg, fill):
    """A stroked circular arc with butt caps, angles clockwise from +x (y points down)."""
    inner = radius - width / 2.0
    outer = radius + width / 2.0
    start = math.radians(start_deg)
    span = math.radians(end_deg - start_deg)

    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 < inner * inner or d2 > outer * outer:
            return False
        angle = (math.atan2(y - cy, x - cx) - start) % (2.0 * math.pi)
        return angle <= span

    return Shape(inside, (cx - outer, cy - outer, cx + outer, cy + outer), fill)


def render(shapes, size, design, samples):
    canvas = Canvas(size, design)
    for shape in shapes:
        canvas.paint(shape, samples)
    return canvas.rgba_rows()


# --- File formats -----------------------------------------------------------------------------


def png_bytes(rows):
    height = len(rows)
    width = len(rows[0])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for line in rows:
        raw.append(0)  # filter: none
        for pixel in line:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def and_mask(rows, transparent):
    """The 1-bit mask of an icon image: set where the pixel is see-through. Bottom row first."""
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for line in reversed(rows):
        bits = bytearray(stride)
        for col, pixel in enumerate(line):
            if transparent(pixel):
                bits[col // 8] |= 0x80 >> (col % 8)
        out.extend(bits)
    return bytes(out)


def bitmap_header(size, bits, palette_entries, image_bytes):
    # The height counts the colour bitmap and the mask that follows it.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0,
                       palette_entries, 0)


def dib_32(rows):
    size = len(rows)
    pixels = bytearray()
    for line in reversed(rows):
        for r, g, b, a in line:
            pixels.extend((b, g, r, a))
    mask = and_mask(rows, lambda p: p[3] == 0)
    return bitmap_header(size, 32, 0, len(pixels) + len(mask)) + bytes(pixels) + mask


def nearest(palette, rgb):
    best = 0
    best_distance = None
    for index, entry in enumerate(palette):
        d = sum((entry[k] - rgb[k]) ** 2 for k in range(3))
        if best_distance is None or d < best_distance:
            best, best_distance = index, d
    return best


def dib_indexed(rows, bits, palette):
    """A 4- or 8-bit image: opaque-enough pixels take their nearest palette colour, the rest
    are left to the mask, as older Windows shows them."""
    size = len(rows)
    entries = 1 << bits
    padded = list(palette) + [(0, 0, 0)] * (entries - len(palette))
    cut = lambda p: p[3] < 128
    stride = ((size * bits + 31) // 32) * 4
    pixels = bytearray()
    for line in reversed(rows):
        indices = [0 if cut(p) else nearest(padded, p) for p in line]
        packed = bytearray(stride)
        if bits == 8:
            packed[:size] = bytes(indices)
        else:
            for col, index in enumerate(indices):
                packed[col // 2] |= index << (4 if col % 2 == 0 else 0)
        pixels.extend(packed)
    mask = and_mask(rows, cut)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in padded)
    return bitmap_header(size, bits, entries, len(pixels) + len(mask)) + table + bytes(pixels) + mask


def ico_bytes(images):
    """images: list of (size, bits, data, colour_count)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    directory = bytearray()
    body = bytearray()
    for size, bits, data, colours in images:
        side = 0 if size >= 256 else size  # 0 stands for 256
        directory.extend(struct.pack("<BBBBHHII", side, side, colours, 0, 1, bits, len(data),
                                     offset + len(body)))
        body.extend(data)
    return header + bytes(directory) + bytes(body)


# --- Indicators (20 x 20) ---------------------------------------------------------------------

WHITE = colour("#FFFFFF")
FRAME = colour("#b4bcc6")
FRAME_PALE = colour("#dde1e6")
FILL_PALE = colour("#f5f5f5")
MARK = colour("#34495e")
MARK_PALE = colour("#c3cad2")
ARROW_GREY = colour("#8a96a3")


def box(frame, fill):
    return [rounded_rect(1.5, 1.5, 18.5, 18.5, 3.0, frame),
            rounded_rect(3.0, 3.0, 17.0, 17.0, 1.8, fill)]


def check(mark):
    return [polyline([(5.6, 10.2), (8.6, 13.3), (14.6, 6.9)], 2.2, mark)]


def ring(frame, fill):
    return [disc(10.0, 10.0, 8.5, frame), disc(10.0, 10.0, 7.0, fill)]


def arrow(direction, fill):
    """A short arrow: shaft and chevron head, pointing left (-1) or right (+1)."""
    tip = 10.0 + 5.0 * direction
    tail = 10.0 - 5.0 * direction
    back = tip - 4.5 * direction
    return [polyline([(tail, 10.0), (tip, 10.0)], 2.0, fill),
            polyline([(back, 5.5), (tip, 10.0), (back, 14.5)], 2.0, fill)]


INDICATORS = {
    "checkbox_unchecked": box(FRAME, WHITE),
    "checkbox_unchecked_disable": box(FRAME_PALE, FILL_PALE),
    "checkbox_checked": box(FRAME, WHITE) + check(MARK),
    "checkbox_checked_disable": box(FRAME_PALE, FILL_PALE) + check(MARK_PALE),
    "checkbox_parcial": box(FRAME, WHITE) + [rounded_rect(6.0, 6.0, 14.0, 14.0, 1.0, MARK)],
    "checkbox_parcial_disable": box(FRAME_PALE, FILL_PALE)
    + [rounded_rect(6.0, 6.0, 14.0, 14.0, 1.0, MARK_PALE)],
    "radiobutton_unchecked": ring(FRAME, WHITE),
    "radiobutton_unchecked_disable": ring(FRAME_PALE, FILL_PALE),
    "radiobutton_checked": ring(FRAME, WHITE) + [disc(10.0, 10.0, 4.0, MARK)],
    "radiobutton_checked_disable": ring(FRAME_PALE, FILL_PALE) + [disc(10.0, 10.0, 4.0, MARK_PALE)],
    "add_top": [polygon([(4.0, 13.0), (10.0, 6.5), (16.0, 13.0)], ARROW_GREY)],
    "add_bottom": [polygon([(4.0, 7.0), (16.0, 7.0), (10.0, 13.5)], ARROW_GREY)],
    "add_left": [polygon([(13.0, 4.0), (13.0, 16.0), (6.5, 10.0)], ARROW_GREY)],
    "add_right": [polygon([(7.0, 4.0), (13.5, 10.0), (7.0, 16.0)], ARROW_GREY)],
    "branch_open": [rounded_rect(4.0, 9.0, 16.0, 11.0, 0.5, MARK),
                    rounded_rect(9.0, 4.0, 11.0, 16.0, 0.5, MARK)],
    "branch_close": [rounded_rect(4.0, 9.0, 16.0, 11.0, 0.5, MARK)],
    "calendar_prevmonth": arrow(-1, MARK),
    "calendar_nextmonth": arrow(+1, MARK),
}

# --- Logo -------------------------------------------------------------------------------------
#
# The same geometry as resources/image/logo.svg (32 x 32 view box): a ring of mid radius 12
# and stroke width 4 split into four 70-degree arcs, and two arrows inside it.

ORANGE = colour("#FFAA00")
GREEN = colour("#00CA97")

LOGO = [
    arc_band(16.0, 16.0, 12.0, 4.0, -35.0, 35.0, ORANGE),
    arc_band(16.0, 16.0, 12.0, 4.0, 55.0, 125.0, GREEN),
    arc_band(16.0, 16.0, 12.0, 4.0, 145.0, 215.0, ORANGE),
    arc_band(16.0, 16.0, 12.0, 4.0, 235.0, 305.0, GREEN),
    polygon([(10, 12), (18, 12), (18, 9.5), (23, 13), (18, 16.5), (18, 14), (10, 14)], GREEN),
    polygon([(22, 18), (14, 18), (14, 15.5), (9, 19), (14, 22.5), (14, 20), (22, 20)], ORANGE),
]

# Every size in 32-bit colour, and a few in 8- and 4-bit colour for older displays.
LOGO_IMAGES = [(size, 32) for size in (16, 20, 24, 32, 40, 48, 64, 256)] + [
    (16, 8), (32, 8), (48, 8), (16, 4), (32, 4)]


DESKTOP_ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def logo_palette(bits):
    base = [(0, 0, 0), (255, 255, 255), (0xFF, 0xAA, 0x00), (0x00, 0xCA, 0x97)]
    if bits == 4:
        greys = [(v, v, v) for v in (0x33, 0x66, 0x80, 0x99, 0xC0, 0xDD)]
        return base + greys
    cube = [(r, g, b) for r in range(0, 256, 51) for g in range(0, 256, 51) for b in range(0, 256, 51)]
    return base + [c for c in cube if c not in base]


def logo_ico():
    rendered = {}
    images = []
    for size, bits in LOGO_IMAGES:
        if size not in rendered:
            rendered[size] = render(LOGO, size, 32.0, 8 if size <= 64 else 4)
        rows = rendered[size]
        if bits == 32 and size >= 256:
            data = png_bytes(rows)  # large images are kept as PNG, as Windows expects
        elif bits == 32:
            data = dib_32(rows)
        else:
            data = dib_indexed(rows, bits, logo_palette(bits))
        images.append((size, bits, data, 16 if bits == 4 else 0))
    return ico_bytes(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources"),
                        help="the resources folder to write into")
    args = parser.parse_args()

    qss_dir = os.path.join(args.out, "qss", "default")
    image_dir = os.path.join(args.out, "image")
    os.makedirs(qss_dir, exist_ok=True)
    os.makedirs(image_dir, exist_ok=True)

    for name, shapes in INDICATORS.items():
        with open(os.path.join(qss_dir, name + ".png"), "wb") as f:
            f.write(png_bytes(render(shapes, 20, 20.0, 8)))
    with open(os.path.join(image_dir, "logo.ico"), "wb") as f:
        f.write(logo_ico())

    # The desktop menu's icon in the hicolor theme sizes, next to the scalable logo.
    for size in DESKTOP_ICON_SIZES:
        icon_dir = os.path.join(args.out, "desktop", "hicolor", "%dx%d" % (size, size))
        os.makedirs(icon_dir, exist_ok=True)
        with open(os.path.join(icon_dir, "oskivo.png"), "wb") as f:
            f.write(png_bytes(render(LOGO, size, 32.0, 8 if size <= 64 else 4)))


if __name__ == "__main__":
    main()
