#!/usr/bin/env python3
"""Reads the #include lines of the product's folders and fails on an include
that goes up the order of layers: a folder may include itself and the folders
below it, nothing above. The order, and the few includes the design shares
upwards, are written here once.

    check_layering.py <repo root>     checks the tree
    check_layering.py --self-test     checks the checker on a made-up tree
"""
import os
import re
import sys

# Bottom first. A folder sees only the folders before it (and itself).
LAYERS = [
    "framework",
    "records/wsq",
    "records",
    "skin/archive",
    "skin/draw",
    "skin/controls",
    "skin/frame",
    "skin/engine",
    "common",
    "device",
    "images",
    "forms",
    "host",
    "app",
    "service",
]

# The stand-ins for the scanner's libraries and the host see the toolkit's
# header-only parts and nothing of the product; the native tools see only the
# portable skin reader; the host control, built for 64 bits too, sees only itself,
# the toolkit's header-only handle owners and the portable finger records.
OUTSIDE = {
    "sim": ["framework"],
    "tools": ["skin/archive"],
    "hostcontrol": ["framework", "records/wsq", "records"],
}

# Upward includes the design shares: the data module holds the settings and
# state the capture thread and the picture operations work on, and showing a
# picture opens the viewer form. The WSQ codec takes the records' grey image.
SHARED_UP = {
    ("records/wsq", "records/GrayImage.h"),
    ("device", "forms/DataModule.h"),
    ("images", "forms/DataModule.h"),
    ("images", "forms/ImageEdit.h"),
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCE = (".h", ".hpp", ".cpp", ".c", ".rc", ".in")


def folder_of(path, folders):
    """The longest listed folder that holds `path` (a path from the repo root), or None."""
    best = None
    for folder in folders:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def violations(files):
    """files: {path from repo root: text}. Returns the upward includes found."""
    found = []
    known = LAYERS + list(OUTSIDE)
    for path, text in sorted(files.items()):
        own = folder_of(path, known)
        if own is None:
            continue
        allowed = LAYERS[: LAYERS.index(own) + 1] if own in LAYERS else OUTSIDE[own] + [own]
        for line_no, target in ((text[: m.start()].count("\n") + 1, m.group(1)) for m in INCLUDE.finditer(text)):
            # A name beside the including file is its own folder's.
            beside = os.path.normpath(os.path.join(os.path.dirname(path), target))
            resolved = beside if beside in files else os.path.normpath(target)
            to = folder_of(resolved, known)
            if to is None or to in allowed or (own, resolved) in SHARED_UP:
                continue
            found.append(f"{path}:{line_no}: {own} includes {resolved} ({to} is not below it)")
    return found


def read_tree(root):
    files = {}
    for folder in LAYERS + list(OUTSIDE):
        base = os.path.join(root, folder)
        for dirpath, _, names in os.walk(base):
            for name in names:
                if name.endswith(SOURCE):
                    full = os.path.join(dirpath, name)
                    with open(full, encoding="utf-8", errors="replace") as f:
                        files[os.path.relpath(full, root).replace(os.sep, "/")] = f.read()
    return files


def self_test():
    tree = {
        "skin/controls/SkinButton.cpp": '#include "skin/draw/SkinDraw.h"\n#include "skin/engine/SkinEngine.h"\n',
        "skin/engine/SkinEngine.h": '#include "skin/frame/SkinWindow.h"\n',
        "framework/Forms.cpp": '#include "forms/Main.h"\n',
        "device/CollectThread.cpp": '#include "forms/DataModule.h"\n',
        "device/Other.cpp": '#include "forms/Main.h"\n',
        "sim/scanner/Capture.cpp": '#include "framework/HandleOwners.h"\n#include "common/SysOper.h"\n',
        "forms/Main.h": '#include "Main.h"\n',
    }
    got = [v.split(":")[0] for v in violations(tree)]
    want = ["device/Other.cpp", "framework/Forms.cpp", "sim/scanner/Capture.cpp", "skin/controls/SkinButton.cpp"]
    if got != want:
        print(f"self-test: found {got}, expected {want}")
        return 1
    print("self-test: the checker finds every upward include and only those")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__)
        return 2
    files = read_tree(argv[1])
    found = violations(files)
    for v in found:
        print(v)
    print(f"{len(files)} files, {len(found)} upward include(s)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
