#!/usr/bin/env python3
"""Checks the skin tool's archive with a third-party ZIP reader.

Usage: check_skin_archive.py SKINMAKER WORKDIR

Runs the tool, turns the archive's first two bytes from "SK" back into "PK"
and opens it with Python's zipfile: the archive must be a well-formed ZIP
archive with exactly one deflated entry "SKINDATA.SK2", a correct CRC-32, no
extra fields or comments, and the end record in the last 22 bytes. The entry
must equal the tool's bare resource file and hold every entry of the skin.
"""
import io
import os
import struct
import subprocess
import sys
import zipfile

BITMAPS = ["TITLEBAR1", "TITLEBAR2", "TITLEBAR3", "FORMLEFTBORDER", "FORMRIGHTBORDER", "FORMBOTTOMBORDER1",
           "FORMBOTTOMBORDER2", "FORMBOTTOMBORDER3", "MINIMIZEDTITLE", "TITLEBUTTONS", "CHECKEDMENUICON", "MENUBAR",
           "TOOLBAR", "BUTTON", "CHECKBOX", "CHECKBOXLIST", "RADIOBUTTON", "PROGRESSBAR1", "PROGRESSBAR2",
           "PROGRESSBAR3", "PROGRESSBAR4", "TRACKBAR", "TRACKBARSLIDER", "TRACKBARVSLIDER", "SCROLLBARUPBUTTON",
           "SCROLLBAR", "SCROLLBARDOWNBUTTON", "TABCONTROL", "TABCONTROLLINE", "SIDECHANNELBAR", "SIDECHANNELTITLE",
           "SCROLLBUTTON"]


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def entries(resource):
    """The (name, kind, data) entries of a skin resource file, following the chain."""
    out = []
    pos = struct.unpack_from("<I", resource, 20)[0]
    while True:
        name = resource[pos:pos + 64].split(b"\0")[0].decode()
        kind, offset, size, nxt = struct.unpack_from("<BIII", resource, pos + 64)
        if nxt == 0:
            return out
        out.append((name, kind, resource[offset:offset + size]))
        pos = nxt


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    archive_path = os.path.join(work, "skin.ssk")
    resource_path = os.path.join(work, "SKINDATA.SK2")
    subprocess.run([tool, "--archive", archive_path, "--resource", resource_path], check=True)
    data = bytearray(open(archive_path, "rb").read())
    resource = open(resource_path, "rb").read()

    if data[:4] != b"SK\3\4":
        fail("archive does not start with SK 03 04")
    if data[-22:-18] != b"PK\5\6" or data[-2:] != b"\0\0":
        fail("end record is not the last 22 bytes")
    data[:2] = b"PK"
    with zipfile.ZipFile(io.BytesIO(bytes(data))) as z:
        if z.testzip() is not None:
            fail("CRC mismatch")
        infos = z.infolist()
        if [i.filename for i in infos] != ["SKINDATA.SK2"]:
            fail("entries are %r" % [i.filename for i in infos])
        info = infos[0]
        if info.compress_type != zipfile.ZIP_DEFLATED or info.flag_bits & 1:
            fail("entry is not plainly deflated")
        if info.extra or info.comment or z.comment:
            fail("extra field or comment present")
        extracted = z.read("SKINDATA.SK2")
    if extracted != resource:
        fail("entry differs from the resource file")

    if resource[:12] != b"TOLVANEX_SK2" or struct.unpack_from("<III", resource, 12) != (24, 2, 24):
        fail("resource header")
    found = entries(resource)
    names = [n for n, _, _ in found]
    kinds = {n: k for n, k, _ in found}
    expected_bitmaps = ["SKIN2_" + b for b in BITMAPS]
    if names[:32] != expected_bitmaps:
        fail("bitmaps are %r" % names[:32])
    if any(kinds[n] != 0 for n in expected_bitmaps):
        fail("a bitmap entry is not of kind 0")
    for n, k, d in found[:32]:
        if d[:2] != b"BM" or struct.unpack_from("<H", d, 28)[0] != 24:
            fail(n + " is not a 24-bit BMP")
    if len(found) != 32 + 32 + 9 + 2 + 9:
        fail("%d entries" % len(found))
    if [k for _, k, _ in found[32:75]] != [1] * 43 or [k for _, k, _ in found[75:]] != [2] * 9:
        fail("kinds of colours, integers and flags")
    buttons = dict((n, d) for n, _, d in found)["SKIN2_TITLEBUTTONS"]
    width = struct.unpack_from("<i", buttons, 18)[0]
    if width % 18:
        fail("title button strip width %d is not 18 frames" % width)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
