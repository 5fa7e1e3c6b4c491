"""Screen images held in memory: read from a binary PPM, looked at pixel by pixel, saved as PNG."""

import struct
import zlib


class Image:
    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb  # bytes, three per pixel, row by row

    @classmethod
    def from_ppm(cls, data):
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
        if magic != b"P6" or maxval != 255:
            raise ValueError("not an 8-bit binary PPM")
        pos += 1  # the single whitespace after maxval
        rgb = data[pos:pos + width * height * 3]
        if len(rgb) != width * height * 3:
            raise ValueError("truncated PPM")
        return cls(width, height, rgb)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError("pixel (%d, %d) outside %dx%d" % (x, y, self.width, self.height))
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, left, top, width, height):
        rows = []
        for y in range(top, top + height):
            start = (y * self.width + left) * 3
            rows.append(self.rgb[start:start + width * 3])
        return Image(width, height, b"".join(rows))

    def colours(self):
        """Every distinct colour with its pixel count."""
        counts = {}
        for i in range(0, len(self.rgb), 3):
            c = tuple(self.rgb[i:i + 3])
            counts[c] = counts.get(c, 0) + 1
        return counts

    def foreground_agreement(self, other):
        """The share of this image's foreground pixels that the other image has in the same colour.

        The foreground is whatever differs from this image's top-left corner colour, so that an
        icon is compared without the background that shows through it (a skin may change that).
        A pixel blended with the background (an icon's soft edge) may differ by as much as the
        two backgrounds differ, channel by channel.
        """
        if (self.width, self.height) != (other.width, other.height):
            return 0.0
        background = self.rgb[0:3]
        slack = [abs(a - b) + 2 if a != b else 0 for a, b in zip(background, other.rgb[0:3])]
        total = same = 0
        for i in range(0, len(self.rgb), 3):
            if self.rgb[i:i + 3] != background:
                total += 1
                same += all(abs(a - b) <= s for a, b, s in zip(self.rgb[i:i + 3], other.rgb[i:i + 3], slack))
        return same / total if total else 0.0

    def save_png(self, path):
        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

        stride = self.width * 3
        raw = b"".join(b"\x00" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))
        png = (b"\x89PNG\r\n\x1a\n"
               + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
               + chunk(b"IDAT", zlib.compress(raw, 6))
               + chunk(b"IEND", b""))
        with open(path, "wb") as f:
            f.write(png)
