"""A signed release as a publisher makes it and an office's IT checks it: a certificate authority
and a code-signing certificate made with openssl for the test run, the package signed through the
packing step with them, and Authenticode signatures verified with osslsigncode against that
authority alone."""

import os
import subprocess

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACK = os.path.join(HERE, "..", "..", "installer", "pack.py")
PASSWORD = "kv90 测试 password"


def _openssl(*arguments, cwd):
    subprocess.run(["openssl"] + list(arguments), cwd=cwd, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


class Publisher:
    """A code-signing certificate with its key in a .pfx, issued by an authority of its own, made
    in the folder given. The password lies in a file beside it."""

    def __init__(self, folder, name):
        self.folder = os.path.join(folder, name)
        os.makedirs(self.folder)
        run = lambda *a: _openssl(*a, cwd=self.folder)
        run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem", "-days", "30",
            "-subj", "/CN=%s Test CA" % name, "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
        run("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "signer.key", "-out", "signer.csr",
            "-subj", "/CN=%s Test Publisher" % name)
        with open(os.path.join(self.folder, "signer.ext"), "w") as f:
            f.write("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n")
        run("x509", "-req", "-in", "signer.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
            "-out", "signer.pem", "-days", "30", "-extfile", "signer.ext")
        self.password_file = os.path.join(self.folder, "password.txt")
        with open(self.password_file, "w", encoding="utf-8") as f:
            f.write(PASSWORD)
        run("pkcs12", "-export", "-out", "signer.pfx", "-inkey", "signer.key", "-in", "signer.pem",
            "-certfile", "ca.pem", "-passout", "file:password.txt")
        self.pfx = os.path.join(self.folder, "signer.pfx")
        self.ca = os.path.join(self.folder, "ca.pem")

    def environment(self, password=PASSWORD):
        """What the packing step signs with: the password through the environment."""
        env = {k: v for k, v in os.environ.items() if not k.startswith("KV90_SIGN_")}
        env.update(KV90_SIGN_CERT=self.pfx, KV90_SIGN_PASSWORD=password, KV90_SIGN_CA=self.ca)
        return env


def pack(inputs, out_dir, env, sign=True):
    """Runs the packing step; returns (exit code, what it printed)."""
    command = ["python3", PACK, inputs, out_dir] + (["--sign"] if sign else [])
    result = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def sign_one(path, env):
    """Signs one file in place as the packing step does; returns (exit code, what it printed)."""
    result = subprocess.run(["python3", PACK, "--sign-file", path], env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def verify(path, ca):
    """Whether the file's Authenticode signature verifies against the authority alone, and why not."""
    result = subprocess.run(["osslsigncode", "verify", "-CAfile", ca, "-in", path],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    return result.returncode == 0, result.stdout.decode("utf-8", "replace")


def without_signature(path, out):
    """The file's bytes with its signature removed (osslsigncode writes out, which must not exist)."""
    if os.path.exists(out):
        os.remove(out)
    subprocess.run(["osslsigncode", "remove-signature", "-in", path, "-out", out], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    with open(out, "rb") as f:
        return f.read()
