"""Readers for what the host half hands out of a finger, written apart from the writers: grey bitmaps (the
slot files), 8-bit grey PNG, ANSI/NIST-ITL transactions in traditional encoding and ISO/IEC 19794-4:2005
finger image records. Each reads only as much of its format as the tests check, and raises ValueError
on anything it does not expect."""

import struct
import zlib

GS, FS, RS, US = b"\x1d", b"\x1c", b"\x1e", b"\x1f"


def read_bmp_grey(data):
    """(width, height, rows top to bottom) of an 8-bit bitmap whose palette is grey."""
    if data[:2] != b"BM":
        raise ValueError("no bitmap")
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 8:
        raise ValueError("not 8 bits a pixel: %d" % bits)
    stride = (width + 3) & ~3
    rows = [data[offset + y * stride: offset + y * stride + width] for y in range(abs(height))]
    return width, abs(height), b"".join(rows if height < 0 else rows[::-1])


def read_png_grey(data):
    """(width, height, pixels top to bottom, pixels per metre or None) of an 8-bit grey, non-interlaced PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG")
    at, idat, ppm = 8, b"", None
    width = height = 0
    while at < len(data):
        length, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8: at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if (depth, colour, interlace) != (8, 0, 0):
                raise ValueError("not 8-bit grey: depth %d colour %d interlace %d" % (depth, colour, interlace))
        elif kind == b"pHYs":
            x, y, unit = struct.unpack(">IIB", body)
            ppm = (x, y) if unit == 1 else None
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(width)
    for y in range(height):
        line = raw[y * (width + 1): (y + 1) * (width + 1)]
        kind, row = line[0], bytearray(line[1:])
        for x in range(width):
            left = row[x - 1] if x else 0
            up = previous[x]
            corner = previous[x - 1] if x else 0
            if kind == 1:
                row[x] = (row[x] + left) & 255
            elif kind == 2:
                row[x] = (row[x] + up) & 255
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[x] = (row[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
            elif kind != 0:
                raise ValueError("filter %d" % kind)
        rows.append(bytes(row))
        previous = row
    return width, height, b"".join(rows), ppm


def read_an2k(data):
    """The records of a traditional-encoding transaction: a list of (type, {field number: bytes}) in order.
    The record types come from the Type-1 content list (1.003), as a receiver learns them."""
    records, at = [], 0
    while at < len(data):
        colon = data.index(b":", at)
        end_of_length = min(i for i in (data.find(GS, colon), data.find(FS, colon)) if i >= 0)
        length = int(data[colon + 1: end_of_length])
        record = data[at: at + length]
        if not record.endswith(FS):
            raise ValueError("record at %d does not end with FS" % at)
        fields, field_at = {}, 0
        while field_at < len(record) - 1:
            colon = record.index(b":", field_at)
            number = int(record[field_at: colon].split(b".")[1])
            if number == 999:
                value, field_at = record[colon + 1: -1], len(record)
            else:
                end = min(i for i in (record.find(GS, colon), len(record) - 1) if i >= 0)
                value, field_at = record[colon + 1: end], end + 1
            fields[number] = value
        records.append(fields)
        at += length
    content = [item.split(US) for item in records[0][3].split(RS)]
    types = [1] + [int(kind) for kind, _ in content[1:]]
    if len(types) != len(records):
        raise ValueError("content list names %d records, %d found" % (len(types), len(records)))
    return list(zip(types, records))


def read_iso_finger_record(data):
    """(header fields, [view fields with their "image"]) of an ISO/IEC 19794-4:2005 record."""
    magic, version, length_high, length_low = struct.unpack_from(">4s4sHI", data, 0)
    if (magic, version) != (b"FIR\0", b"010\0"):
        raise ValueError("no 19794-4:2005 record")
    device, level, count, units, scan_h, scan_v, image_h, image_v, depth, compression = \
        struct.unpack_from(">HHBBHHHHBB", data, 14)
    header = {"length": (length_high << 32) | length_low, "device": device, "level": level, "fingers": count,
              "units": units, "scan": (scan_h, scan_v), "resolution": (image_h, image_v), "depth": depth,
              "compression": compression}
    views, at = [], 32
    for _ in range(count):
        length, position, view_count, view_number, quality, impression, width, height = \
            struct.unpack_from(">IBBBBBHH", data, at)
        views.append({"position": position, "views": view_count, "view": view_number, "quality": quality,
                      "impression": impression, "size": (width, height), "image": data[at + 14: at + length]})
        at += length
    if at != len(data) or header["length"] != len(data):
        raise ValueError("lengths: views end at %d, header says %d, file has %d" % (at, header["length"], len(data)))
    return header, views
