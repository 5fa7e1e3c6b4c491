#!/usr/bin/env python3
"""Times TImgOper::BmpToJpg (under Wine, inside the benchmark program) and
Debian's cjpeg -quality 100 (natively, a process per file) on the same
640 x 640 grey bitmap, and prints both with their ratio. Asserts nothing.

cjpeg writes a grey bitmap as a one-component JPEG, a lighter job than the
view file's three components, so it is also timed on a 24-bit copy of the same
pixels (the like-for-like figure), and on a 16 x 16 bitmap to show what its
process start-up alone costs.
"""
import os
import re
import statistics
import struct
import subprocess
import sys
import tempfile
import time

WARM_UP = 5


def windows_path(path):
    return subprocess.run(["winepath", "-w", path], check=True, capture_output=True, text=True).stdout.strip()


def read_grey_bmp(path):
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 8:
        sys.exit(f"{path}: expected an 8-bit bitmap")
    stride = (width + 3) & ~3
    palette = data[54:offset]
    rows = [data[offset + r * stride: offset + r * stride + width] for r in range(abs(height))]
    return width, height, rows, palette


def write_bmp(path, width, height, bits, rows, palette=b""):
    stride = ((width * bits + 31) // 32) * 4
    pixels = b"".join(row.ljust(stride, b"\0") for row in rows)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette) // 4, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


def time_cjpeg(source, target, runs):
    times = []
    for i in range(WARM_UP + runs):
        start = time.perf_counter()
        subprocess.run(["cjpeg", "-quality", "100", "-outfile", target, source], check=True)
        if i >= WARM_UP:
            times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times), min(times)


def scan_data(path):
    """Everything from the first start-of-scan marker on: the coded picture without its headers."""
    data = open(path, "rb").read()
    return data[data.find(b"\xff\xda"):]


def components(path):
    data = open(path, "rb").read()
    at = data.find(b"\xff\xc0")
    return data[at + 9] if at >= 0 else "?"


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: compare.py kv90_jpeg_bench.exe [runs]")
    exe = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 50
    with tempfile.TemporaryDirectory(prefix="kv90_jpeg_bench_") as work:
        grey = os.path.join(work, "grey.bmp")
        subprocess.run(["wine", exe, "--write-bitmap", windows_path(grey)], check=True)
        width, height, rows, palette = read_grey_bmp(grey)
        lookup = [palette[4 * i: 4 * i + 3] for i in range(len(palette) // 4)]
        colour = os.path.join(work, "colour.bmp")
        write_bmp(colour, width, height, 24, [b"".join(lookup[v] for v in row) for row in rows])
        tiny = os.path.join(work, "tiny.bmp")
        write_bmp(tiny, 16, 16, 8, [bytes(range(16))] * 16, palette)

        ours_target = os.path.join(work, "ours.jpg")
        result = subprocess.run(["wine", exe, windows_path(grey), windows_path(ours_target), str(runs)],
                                check=True, capture_output=True, text=True)
        print(result.stdout.rstrip())
        ours = float(re.search(r"median_ms=([0-9.]+)", result.stdout).group(1))
        ours_min = float(re.search(r"min_ms=([0-9.]+)", result.stdout).group(1))

        cj_grey, cj_grey_min = time_cjpeg(grey, os.path.join(work, "cjpeg_grey.jpg"), runs)
        cj_colour, cj_colour_min = time_cjpeg(colour, os.path.join(work, "cjpeg_colour.jpg"), runs)
        cj_start, cj_start_min = time_cjpeg(tiny, os.path.join(work, "cjpeg_tiny.jpg"), runs)

        print()
        print(f"640 x 640 grey bitmap, quality 100, medians of {runs} runs after {WARM_UP} warm-up runs")
        print(f"  BmpToJpg (Wine, in process)           {ours:7.3f} ms  "
              f"{components(ours_target)} components, {os.path.getsize(ours_target)} bytes  (min {ours_min:.3f})")
        print(f"  cjpeg same file (native, per process) {cj_grey:7.3f} ms  "
              f"{components(os.path.join(work, 'cjpeg_grey.jpg'))} component(s), "
              f"{os.path.getsize(os.path.join(work, 'cjpeg_grey.jpg'))} bytes  (min {cj_grey_min:.3f})")
        print(f"  cjpeg 24-bit copy (like for like)     {cj_colour:7.3f} ms  "
              f"{components(os.path.join(work, 'cjpeg_colour.jpg'))} components, "
              f"{os.path.getsize(os.path.join(work, 'cjpeg_colour.jpg'))} bytes  (min {cj_colour_min:.3f})")
        print(f"  cjpeg process start-up (16 x 16)      {cj_start:7.3f} ms  (min {cj_start_min:.3f})")
        same = scan_data(ours_target) == scan_data(os.path.join(work, "cjpeg_colour.jpg"))
        print(f"  coded picture identical to cjpeg's on the 24-bit copy: {'yes' if same else 'no'}")
        print(f"  ratio BmpToJpg / cjpeg same file:             {ours / cj_grey:5.2f}  (target <= 1.5)")
        print(f"  ratio BmpToJpg / cjpeg same file - start-up:  {ours / max(cj_grey - cj_start, 1e-6):5.2f}")
        print(f"  ratio BmpToJpg / cjpeg 24-bit copy:           {ours / cj_colour:5.2f}")
        print(f"  ratio BmpToJpg / cjpeg 24-bit copy - start-up:{ours / max(cj_colour - cj_start, 1e-6):5.2f}")
        print(f"  the same on minimums (least disturbed runs): same file {ours_min / cj_grey_min:.2f}, "
              f"minus start-up {ours_min / max(cj_grey_min - cj_start_min, 1e-6):.2f}, "
              f"24-bit copy {ours_min / cj_colour_min:.2f}, "
              f"minus start-up {ours_min / max(cj_colour_min - cj_start_min, 1e-6):.2f}")


if __name__ == "__main__":
    main()
