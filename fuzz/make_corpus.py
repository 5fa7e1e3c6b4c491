#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/.

Every rejection case of the skin archive reader has a seed, named after the
result it must give ("expect0-" extracted, "expect1-" failed, "expect2-" wrong
password, always with the password "skin"); resource and bitmap seeds are
named "valid-" or "invalid-", and so are the bitmap files of the program's
pictures (picture/). The corpus replay test checks those outcomes.
Run again after changing it: python3 fuzz/make_corpus.py
"""
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
PASSWORD = b"skin"
DOS_TIME, DOS_DATE = 0x6A3C, 0x5A21


# ---------------------------------------------------------------- bitmaps
def bmp(width, height, bpp, rows, palette=b"", compression=0, masks=b"", info_size=40, top_down=False,
        stream=None):
    """A BMP file image; rows are raw pixel bytes from the bottom row (top row when top_down), or
    `stream` is the run-length encoded pixel data."""
    stride = ((width * bpp + 31) // 32) * 4
    data = stream if stream is not None else b"".join(r.ljust(stride, b"\0")[:stride] for r in rows)
    if info_size == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", info_size, width, -height if top_down else height, 1, bpp,
                           compression, len(data), 2835, 2835, len(palette) // 4 if palette else 0, 0)
        info += masks if info_size >= 52 else b""
        info = info.ljust(info_size, b"\0")
        if info_size < 52:
            info += masks
    off = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", off + len(data), 0, 0, off) + info + palette + data


def bmp24(width, height, color):
    r, g, b = color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF
    return bmp(width, height, 24, [bytes([b, g, r]) * width] * height)


def rle_size_beyond():
    """An RLE8 image whose recorded stream size runs past the end of the file."""
    image = bytearray(bmp(2, 2, 8, [], bytes(1024), compression=1, stream=bytes([2, 1, 0, 1])))
    image[14 + 20:14 + 24] = struct.pack("<I", 5000)
    return bytes(image)


def grey_preview(width, height):
    """An 8-bit grey bitmap as the capture library writes the preview file: a 256-entry grey
    palette, rows bottom-up, each row padded to 4 bytes."""
    grey = b"".join(bytes([i, i, i, 0]) for i in range(256))
    rows = [bytes(((x * 7 + y * 3) ^ (x * y)) & 0xFF for x in range(width)) for y in range(height)]
    return bmp(width, height, 8, rows, grey)


def picture_seeds():
    """Bitmap files of the program's pictures: the preview's own format, and the damaged files
    that a disk or another program may leave in Temp\\."""
    preview = grey_preview(64, 48)
    header_only = preview[:1078]
    huge = bytearray(preview)
    huge[18:26] = struct.pack("<ii", 30000, 30000)
    far_offset = bytearray(preview)
    far_offset[10:14] = struct.pack("<I", 0xFFFFFF00)
    zero = bytearray(preview)
    zero[18:26] = struct.pack("<ii", 0, 0)
    inside_header = bytearray(preview)
    inside_header[10:14] = struct.pack("<I", 20)
    seeds = {
        "valid-grey-preview.bmp": preview,
        "valid-grey-preview-topdown.bmp": bmp(5, 3, 8, [bytes([0, 64, 128, 192, 255])] * 3,
                                              b"".join(bytes([i, i, i, 0]) for i in range(256)), top_down=True),
        "valid-24bpp-slot.bmp": bmp24(9, 4, 0x336699),
        "valid-rle8.bmp": bitmap_seeds()["valid-rle8.bmp"],
        "invalid-truncated-100-bytes.bmp": preview[:100],
        "invalid-truncated-1078-bytes.bmp": header_only,
        "invalid-truncated-half.bmp": preview[:len(preview) // 2],
        "invalid-30000-by-30000.bmp": bytes(huge),
        "invalid-pixel-offset-0xFFFFFF00.bmp": bytes(far_offset),
        "invalid-0-by-0.bmp": bytes(zero),
        "invalid-pixel-offset-inside-header.bmp": bytes(inside_header),
        "invalid-jpeg-named-bmp.bmp": b"\xff\xd8\xff\xe0" + b"\0" * 60,
        "invalid-empty.bmp": b"",
    }
    return seeds


def bitmap_seeds():
    pal2 = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    pal16 = b"".join(bytes([i * 16, 255 - i * 16, i * 8, 0]) for i in range(16))
    pal256 = b"".join(bytes([i, i, 255 - i, 0]) for i in range(256))
    seeds = {
        "valid-1bpp.bmp": bmp(9, 3, 1, [b"\xAA\x80", b"\x55\x00", b"\xFF\x80"], pal2),
        "valid-4bpp.bmp": bmp(5, 2, 4, [b"\x01\x23\x40", b"\xFE\xDC\xB0"], pal16),
        "valid-8bpp.bmp": bmp(4, 2, 8, [b"\x00\x40\x80\xFF", b"\x01\x02\x03\x04"], pal256),
        "valid-8bpp-short-palette.bmp": bmp(3, 1, 8, [b"\x00\x01\x09"], pal256[:8]),
        "valid-16bpp.bmp": bmp(3, 2, 16, [struct.pack("<3H", 0x7C00, 0x03E0, 0x001F)] * 2),
        "valid-16bpp-565.bmp": bmp(2, 1, 16, [struct.pack("<2H", 0xF800, 0x07E0)], compression=3,
                                   masks=struct.pack("<3I", 0xF800, 0x07E0, 0x001F)),
        "valid-24bpp.bmp": bmp24(7, 3, 0xFF00FF),
        "valid-24bpp-topdown.bmp": bmp(2, 2, 24, [b"\x00\x00\xFF" * 2, b"\xFF\x00\x00" * 2], top_down=True),
        "valid-32bpp.bmp": bmp(2, 2, 32, [b"\x10\x20\x30\x00" * 2] * 2),
        "valid-32bpp-v5-bitfields.bmp": bmp(2, 1, 32, [b"\x01\x02\x03\x04" * 2], compression=3,
                                            masks=struct.pack("<3I", 0xFF000000, 0x00FF0000, 0x0000FF00),
                                            info_size=124),
        "valid-core-header.bmp": bmp(3, 1, 8, [b"\x00\x01\x02"], bytes([0, 0, 255, 0, 255, 0, 255, 0, 0])[:9],
                                     info_size=12),
        "invalid-not-bm.bmp": b"XX" + bmp24(2, 2, 0)[2:],
        "invalid-truncated.bmp": bmp24(8, 8, 0x123456)[:-5],
        # Run-length: runs, a literal cut at the row's end, end of line, a delta, end of bitmap.
        "valid-rle8.bmp": bmp(5, 3, 8, [], pal256, compression=1,
                              stream=bytes([3, 5, 0, 3, 6, 7, 8, 0, 0, 0, 0, 2, 1, 1, 1, 9, 0, 1])),
        "valid-rle4.bmp": bmp(6, 2, 4, [], pal16, compression=2,
                              stream=bytes([3, 0x12, 0, 3, 0x45, 0x60, 0, 0, 6, 0xAB, 0, 1])),
        "valid-rle8-no-end-marker.bmp": bmp(4, 2, 8, [], pal256, compression=1, stream=bytes([4, 1, 0, 0, 4, 2])),
        "valid-rle8-long-runs.bmp": bmp(3, 2, 8, [], pal256, compression=1,
                                        stream=bytes([255, 1, 0, 2, 255, 255, 255, 2, 0, 0, 255, 3, 0, 1])),
        "invalid-rle8-topdown.bmp": bmp(2, 2, 8, [], pal256, compression=1, top_down=True, stream=bytes([2, 1, 0, 1])),
        "invalid-rle8-literal-cut.bmp": bmp(4, 1, 8, [], pal256, compression=1, stream=bytes([0, 4, 1, 2])),
        "invalid-rle8-delta-cut.bmp": bmp(4, 1, 8, [], pal256, compression=1, stream=bytes([0, 2, 1])),
        "invalid-rle4-in-8bpp.bmp": bmp(2, 2, 8, [], pal256, compression=2, stream=bytes([2, 1, 0, 1])),
        "invalid-rle-size-beyond.bmp": rle_size_beyond(),
        "invalid-zero-width.bmp": bmp(0, 2, 24, [b""] * 2),
        "invalid-bpp-7.bmp": bmp(2, 2, 7, [b"\x00"] * 2),
        "invalid-huge.bmp": b"BM" + struct.pack("<IHHI", 54, 0, 0, 54) +
                            struct.pack("<IiiHHIIiiII", 40, 60000, 60000, 1, 24, 0, 0, 0, 0, 0, 0),
        "invalid-header-size.bmp": b"BM" + struct.pack("<IHHI", 30, 0, 0, 30) + struct.pack("<I", 20) + b"\0" * 12,
        "invalid-offset-past-end.bmp": bmp24(1, 1, 0)[:10] + struct.pack("<I", 0x7FFFFFFF) + bmp24(1, 1, 0)[14:],
        "invalid-empty.bmp": b"",
    }
    # A core header 8-bit image carries 3-byte palette entries; fix its palette to 256 entries.
    seeds["valid-core-header.bmp"] = bmp(3, 1, 8, [b"\x00\x01\x02"], b"\x00\x00\xFF" * 256, info_size=12)
    return seeds


# ---------------------------------------------------------------- skin resource files
def entry_header(name, kind, offset, size, nxt):
    return name.encode().ljust(64, b"\0")[:64] + struct.pack("<BIII", kind, offset, size, nxt)


def resource(entries, header_size=24, first=24):
    """A skin resource file with each entry's data right after its header, ended by a terminator."""
    out = bytearray(b"TOLVANEX_SK2" + struct.pack("<III", header_size, 2, first))
    out = out.ljust(first, b"\0")
    for name, kind, data in entries:
        at = len(out)
        nxt = at + 77 + len(data)
        out += entry_header(name, kind, at + 77, len(data), nxt) + data
    out += entry_header("", 0, 0, 0, 0)
    return bytes(out)


def int_entry(name, value):
    return (name, 1, struct.pack("<i", value))


def sample_resource():
    return resource([
        ("SKIN2_TRACKBAR", 0, bmp24(6, 4, 0xFF00FF)),
        ("skin2_button", 0, bmp24(6, 2, 0x808080)),
        ("SKIN2_BUTTON", 0, bmp24(3, 1, 0x000000)),
        int_entry("SKIN2_TRANSCOLOR", 0xFF00FF),
        int_entry("SKIN2_FORMCOLOR", 0xF0F0F0),
        int_entry("SKIN2_TITLEBARICONPOSX", 8),
        ("SKIN2_TITLEFIVESECT", 2, b"\x01"),
        ("SKIN2_NOTE", 3, b"hello skin"),
        ("SKIN2_UNKNOWN_KIND", 9, b""),
    ])


def resource_seeds():
    good = sample_resource()
    cycle = bytearray(resource([int_entry("A", 1), int_entry("B", 2)]))
    second = 24 + 77 + 4
    cycle[second + 73:second + 77] = struct.pack("<I", 24)  # B points back at A
    out_of_range = bytearray(resource([int_entry("A", 1)]))
    out_of_range[24 + 65:24 + 69] = struct.pack("<I", 0xFFFFFF00)
    bad_bitmap = resource([("SKIN2_TRACKBAR", 0, b"BM" + b"\0" * 20)])
    return {
        "valid-sample.sk2": good,
        "valid-empty-chain.sk2": resource([]),
        "valid-short-values.sk2": resource([("SHORTINT", 1, b"\x01\x02"), ("EMPTYFLAG", 2, b""),
                                            ("LONGINT", 1, b"\x01\0\0\0\xFF"), ("LONGFLAG", 2, b"\x07\x08")]),
        "valid-unknown-kind.sk2": resource([("X", 200, b"\xFF" * 4)]),
        "valid-big-header.sk2": resource([int_entry("A", 5)], header_size=40, first=40),
        # Found by fuzzing: a form colour whose low three bytes equal the transparency colour.
        "valid-form-colour-is-transparency-colour.sk2": resource([
            ("SKIN2_TRACKBAR", 0, bmp24(6, 4, 0xFF00FF)),
            int_entry("SKIN2_TRANSCOLOR", 0xFF00FF),
            ("SKIN2_FORMCOLOR", 1, struct.pack("<I", 0xFFFF00FF)),
        ]),
        "invalid-short.sk2": good[:15],
        "invalid-header-size-small.sk2": resource([], header_size=16),
        "invalid-header-size-beyond.sk2": resource([], header_size=100000),
        "invalid-first-offset.sk2": resource([], first=24)[:24 - 4] + struct.pack("<I", 5000) + resource([])[24:],
        "invalid-cycle.sk2": bytes(cycle),
        "invalid-data-out-of-range.sk2": bytes(out_of_range),
        "invalid-bad-bitmap.sk2": bad_bitmap,
        "invalid-truncated-chain.sk2": good[:-20],
    }


# ---------------------------------------------------------------- skin archives
def crypt_keys(password):
    keys = [0x12345678, 0x23456789, 0x34567890]
    for c in password:
        update_keys(keys, c)
    return keys


def crc_step(crc, b):
    return zlib.crc32(bytes([b]), crc ^ 0xFFFFFFFF) ^ 0xFFFFFFFF


def update_keys(keys, c):
    keys[0] = crc_step(keys[0], c)
    keys[1] = ((keys[1] + (keys[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
    keys[2] = crc_step(keys[2], keys[1] >> 24)


def encrypt(password, data):
    keys = crypt_keys(password)
    out = bytearray()
    for c in data:
        t = (keys[2] | 2) & 0xFFFF
        out.append(c ^ (((t * (t ^ 1)) >> 8) & 0xFF))
        update_keys(keys, c)
    return bytes(out)


def deflate(data, level=9):
    c = zlib.compressobj(level, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


class Entry:
    def __init__(self, name, data, **kw):
        self.name = name.encode()
        self.data = data
        self.compressed = kw.get("compressed", deflate(data, kw.get("level", 9)))
        self.flags = kw.get("flags", 0)
        self.crc = kw.get("crc", zlib.crc32(data))
        self.usize = kw.get("usize", len(data))
        self.central_extra = kw.get("central_extra", b"")
        self.password = kw.get("password")
        if self.password is not None:
            self.flags |= 1
            check = (DOS_TIME >> 8) if self.flags & 8 else (self.crc >> 24)
            header = bytes(range(11)) + bytes([check])
            self.compressed = encrypt(self.password, header + self.compressed)


def archive(entries, signature=b"SK", comment=b"", cd_offset=None, local_offset=None, csize=None):
    out = bytearray()
    central = bytearray()
    for e in entries:
        local = len(out)
        size = len(e.compressed) if csize is None else csize
        out += b"PK\3\4" + struct.pack("<HHHHHIIIHH", 20, e.flags, 8, DOS_TIME, DOS_DATE, e.crc, size, e.usize,
                                       len(e.name), 0) + e.name + e.compressed
        central += b"PK\1\2" + struct.pack("<HHHHHHIIIHHHHHII", 20, 20, e.flags, 8, DOS_TIME, DOS_DATE, e.crc,
                                           size, e.usize, len(e.name), len(e.central_extra), 0, 0, 0, 0,
                                           local if local_offset is None else local_offset)
        central += e.name + e.central_extra
    start = len(out)
    out += central
    out += b"PK\5\6" + struct.pack("<HHHHIIH", 0, 0, len(entries), len(entries), len(central),
                                   start if cd_offset is None else cd_offset, len(comment)) + comment
    out[:2] = signature
    return bytes(out)


def archive_seeds():
    res = sample_resource()
    skin = lambda **kw: Entry("SKINDATA.SK2", res, **kw)
    other = Entry("README.TXT", b"not the skin", central_extra=b"\x55\x54\x05\x00\x03\0\0\0\0")
    bad_deflate = bytearray(deflate(res, 0))
    bad_deflate[0] = 0x07  # reserved block type after some output
    partial = deflate(res[:100], 0)[:-1] + b"\x07\xFF"
    return {
        "expect0-plain.ssk": archive([skin()]),
        "expect0-lowercase-name.ssk": archive([Entry("skindata.sk2", res)]),
        "expect0-stored-blocks.ssk": archive([skin(level=0)]),
        "expect0-second-entry.ssk": archive([Entry("OTHER.BIN", b"x" * 50), skin()]),
        "expect0-encrypted-crc-check.ssk": archive([skin(password=PASSWORD)]),
        "expect0-encrypted-time-check.ssk": archive([skin(password=PASSWORD, flags=8)]),
        "expect0-empty-chain.ssk": archive([Entry("SKINDATA.SK2", resource([]))]),
        "expect1-pk-signature.zip": archive([skin()], signature=b"PK"),
        "expect1-comment.ssk": archive([skin()], comment=b"a comment"),
        "expect1-no-end-record.ssk": archive([skin()])[:-22],
        "expect1-one-byte.ssk": b"S",
        "expect1-signature-only.ssk": b"SK",
        "expect1-empty.ssk": b"",
        "expect1-entry-missing.ssk": archive([Entry("OTHER.SK2", res)]),
        "expect1-central-extra-field.ssk": archive([other, skin()]),
        "expect1-central-offset-beyond.ssk": archive([skin()], cd_offset=0x7FFFFFF0),
        "expect1-central-offset-inside-data.ssk": archive([skin()], cd_offset=40),
        "expect1-local-offset-beyond.ssk": archive([skin()], local_offset=0xFFFFFF00),
        "expect1-compressed-size-beyond.ssk": archive([skin()], csize=0x7FFFFFFF),
        "expect1-empty-extraction.ssk": archive([Entry("SKINDATA.SK2", b"")]),
        "expect1-encrypted-header-short.ssk": archive([skin(password=PASSWORD, compressed=b"")],
                                                      csize=5),
        "expect1-uncompressed-size-huge.ssk": archive([skin(usize=0xFFFFFFF0)]),
        "expect1-garbage-stream.ssk": archive([skin(compressed=b"\xFF" * 32)]),
        "expect2-size-larger-than-recorded.ssk": archive([skin(usize=len(res) - 10)]),
        "expect2-size-smaller-than-recorded.ssk": archive([skin(usize=len(res) + 10)]),
        "expect2-wrong-password.ssk": archive([skin(password=b"other password")]),
        "expect2-wrong-password-time-check.ssk": archive([skin(password=b"other password", flags=8)]),
        "expect2-stream-error-after-output.ssk": archive([skin(compressed=partial)]),
    }


def write(folder, seeds):
    path = os.path.join(ROOT, folder)
    os.makedirs(path, exist_ok=True)
    for old in os.listdir(path):
        os.remove(os.path.join(path, old))
    for name, data in seeds.items():
        with open(os.path.join(path, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write("bmp", bitmap_seeds())
    write("picture", picture_seeds())
    write("resource", resource_seeds())
    write("archive", archive_seeds())
