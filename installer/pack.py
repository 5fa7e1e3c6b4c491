#!/usr/bin/env python3
"""Makes the release package from the built programs: the program folder as an installation lays
it out, the setup program made from it by NSIS, and a zip of the same folder.

    pack.py <inputs.json> <output folder>               unsigned (what every build makes)
    pack.py <inputs.json> <output folder> --sign        every program of ours signed on the way
makes <output folder>/Finger_KV90/ and, from it, the setup program and the zip beside it.
    pack.py --sign-file <file>                          signs one file (NSIS's uninstaller hook)

The inputs file is written by the build (installer/CMakeLists.txt): where the programs lie, the
product's NSIS definitions and the source date. Signing takes its settings from the environment,
so that no password ever stands on a command line:
    KV90_SIGN_CERT           the publisher's certificate with its key (.pfx / PKCS#12)
    KV90_SIGN_PASSWORD_FILE  a file holding the certificate's password, or
    KV90_SIGN_PASSWORD       the password itself
    KV90_SIGN_TIMESTAMP      an RFC 3161 time-stamping address (optional)
    KV90_SIGN_CA             the certificates each signature is verified against right after
                             signing (optional; the system's trusted authorities otherwise)

Every input's bytes go into both files unchanged and in a fixed order, with times taken from the
source, so that two builds of one commit give the same setup program and the same zip.
"""

import json
import os
import shutil
import subprocess
import sys
import time
import zipfile

FOLDER_NAME = "Finger_KV90"
# The folders an installation has even when they are empty.
EMPTY_FOLDERS = ("Config", "KV90DLL", "LogFiles", "Temp", "x64")


class PackError(Exception):
    pass


# -- signing --------------------------------------------------------------------------------------------
def signing_settings():
    """The certificate, how its password reaches osslsigncode, and the optional addresses."""
    cert = os.environ.get("KV90_SIGN_CERT")
    if not cert or not os.path.isfile(cert):
        raise PackError("no certificate to sign with: KV90_SIGN_CERT=%r" % cert)
    password_file = os.environ.get("KV90_SIGN_PASSWORD_FILE")
    if password_file and not os.path.isfile(password_file):
        raise PackError("the password file %s is not there" % password_file)
    return {"cert": cert, "password_file": password_file, "password": os.environ.get("KV90_SIGN_PASSWORD"),
            "timestamp": os.environ.get("KV90_SIGN_TIMESTAMP"), "ca": os.environ.get("KV90_SIGN_CA")}


def run_signer(arguments, password=None):
    # The password goes through standard input ("-readpass -"), never through the arguments.
    result = subprocess.run(["osslsigncode"] + arguments, input=(password or "").encode("utf-8"),
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def sign_file(path):
    """Gives the file a SHA-256 Authenticode signature in place, then verifies it."""
    settings = signing_settings()
    signed = path + ".signing"
    arguments = ["sign", "-pkcs12", settings["cert"], "-h", "sha256"]
    if settings["password_file"]:
        arguments += ["-readpass", settings["password_file"]]
    elif settings["password"] is not None:
        arguments += ["-readpass", "-"]
    if settings["timestamp"]:
        arguments += ["-ts", settings["timestamp"]]
    arguments += ["-in", path, "-out", signed]
    code, output = run_signer(arguments, settings["password"])
    if code != 0 or not os.path.isfile(signed):
        if os.path.exists(signed):
            os.remove(signed)
        raise PackError("signing %s failed:\n%s" % (path, output))
    os.replace(signed, path)
    verify = ["verify", "-in", path]
    if settings["ca"]:
        verify += ["-CAfile", settings["ca"]]
    code, output = run_signer(verify)
    if code != 0:
        raise PackError("the signature of %s does not verify:\n%s" % (path, output))


def is_pe(path):
    with open(path, "rb") as f:
        return f.read(2) == b"MZ"


# -- the package --------------------------------------------------------------------------------------------
def make_folder(inputs, folder):
    """The program folder exactly as an installation lays it out, without the scanner libraries."""
    if os.path.exists(folder):
        shutil.rmtree(folder)
    for name in EMPTY_FOLDERS:
        os.makedirs(os.path.join(folder, name))
    for source, target in inputs["files"]:
        shutil.copyfile(source, os.path.join(folder, *target.split("/")))


def folder_entries(folder):
    """Every folder and file below the folder, as names relative to its parent, sorted."""
    parent = os.path.dirname(folder)
    entries = []
    for root, dirs, files in os.walk(folder):
        rel = os.path.relpath(root, parent).replace(os.sep, "/")
        entries.append((rel + "/", None))
        entries.extend((rel + "/" + name, os.path.join(root, name)) for name in files)
    return sorted(entries)


def make_zip(folder, zip_path, epoch):
    """The folder as a zip whose bytes depend only on the files: sorted names, the source's time,
    fixed attributes."""
    # Zip times are local times without a zone, from 1980 on: the source's time in UTC.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        for name, path in folder_entries(folder):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 0
            if path is None:
                info.external_attr = 0x10  # MS-DOS directory attribute
                z.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as f:
                    z.writestr(info, f.read(), compresslevel=9)
    os.replace(partial, zip_path)


def make_setup(inputs, folder, setup_path, sign):
    command = [inputs["makensis"], "-V2", "-INPUTCHARSET", "UTF8",
               "-DPRODUCT_NSH=" + inputs["product_nsh"], "-DPROGRAM_FOLDER=" + folder, "-DOUT_FILE=" + setup_path]
    if sign:
        # NSIS runs this on the finished uninstaller before packing it into setup.
        command.append("-DSIGN_UNINSTALLER=%s %s --sign-file" % (sys.executable, os.path.abspath(__file__)))
    command.append(inputs["script"])
    if subprocess.run(command).returncode != 0:
        raise PackError("makensis could not make %s" % setup_path)


def pack(inputs_path, out_dir, sign):
    with open(inputs_path, encoding="utf-8") as f:
        inputs = json.load(f)
    with open(inputs["source_date_file"], encoding="utf-8") as f:
        epoch = int(f.read().strip())
    if sign:
        signing_settings()  # refused before anything is made
    os.makedirs(out_dir, exist_ok=True)
    # The folder stays beside the two files it was packed into: a signed package's programs can be
    # compared there with the unsigned build's.
    folder = os.path.join(out_dir, FOLDER_NAME)
    setup_path = os.path.join(out_dir, inputs["setup_name"])
    zip_path = os.path.join(out_dir, inputs["zip_name"])
    for path in (setup_path, zip_path):
        if os.path.exists(path):
            os.remove(path)
    try:
        make_folder(inputs, folder)
        if sign:
            for _, target in inputs["files"]:
                path = os.path.join(folder, *target.split("/"))
                if is_pe(path):
                    sign_file(path)
        make_setup(inputs, folder, setup_path, sign)
        if sign:
            sign_file(setup_path)
        make_zip(folder, zip_path, epoch)
    except PackError:
        # Half a package (some programs signed, others not) is no package.
        for path in (setup_path, zip_path):
            if os.path.exists(path):
                os.remove(path)
        shutil.rmtree(folder, ignore_errors=True)
        raise
    return setup_path, zip_path


def main(argv):
    try:
        if len(argv) == 3 and argv[1] == "--sign-file":
            sign_file(argv[2])
            return 0
        if len(argv) in (3, 4) and (len(argv) == 3 or argv[3] == "--sign"):
            for path in pack(argv[1], argv[2], len(argv) == 4):
                print(path)
            return 0
    except PackError as e:
        print("pack: %s" % e, file=sys.stderr)
        return 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
