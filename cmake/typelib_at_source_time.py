#!/usr/bin/env python3
"""Runs widl to make a type library, then puts the source's time where widl put the time of the
run, so that two builds of one commit give the same library (and the same control around it).

    typelib_at_source_time.py <source-date file> <type library> -- <widl command...>

widl writes the time twice: as a number ("created" custom data, VT_UI4) and as text in
"Created by WIDL version ... at <ctime>". Both are replaced, with values of the same size, so
nothing else in the library moves.
"""

import re
import struct
import subprocess
import sys
import time

VT_UI4 = 0x13


def stamp(data, started, ended, epoch):
    """The library's bytes with every time from the run replaced by the source's time."""
    text = re.compile(rb"(Created by WIDL version [^\n\0]* at )([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4})")
    source_text = time.asctime(time.gmtime(epoch)).encode("ascii")
    data, texts = text.subn(lambda m: m.group(1) + source_text, data)
    out = bytearray(data)
    numbers = 0
    for at in range(0, len(out) - 5):
        if struct.unpack_from("<H", out, at)[0] != VT_UI4:
            continue
        value = struct.unpack_from("<I", out, at + 2)[0]
        if started <= value <= ended:
            struct.pack_into("<I", out, at + 2, epoch)
            numbers += 1
    if texts != 1 or numbers != 1:
        raise SystemExit("typelib_at_source_time: expected one time as text and one as a number, found %d and %d"
                         % (texts, numbers))
    return bytes(out)


def main(argv):
    if len(argv) < 5 or argv[3] != "--":
        raise SystemExit(__doc__)
    date_file, library, command = argv[1], argv[2], argv[4:]
    with open(date_file, encoding="ascii") as f:
        epoch = int(f.read().strip())
    started = int(time.time())
    if subprocess.run(command).returncode != 0:
        return 1
    ended = int(time.time()) + 1
    with open(library, "rb") as f:
        data = f.read()
    with open(library, "wb") as f:
        f.write(stamp(data, started, ended, epoch))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
