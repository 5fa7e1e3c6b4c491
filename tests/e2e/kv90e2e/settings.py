"""Where the rig finds what it works on, from the environment that ctest sets."""

import os

from . import winefaults

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def _required(name):
    value = os.environ.get(name)
    if not value:
        raise RuntimeError("%s is not set; run the end-to-end tests through ctest (scripts/test)" % name)
    return value


def stage_dir():
    """The staged program folder that each test copies."""
    return _required("KV90_STAGE")


def probe_exe():
    return _required("KV90_PROBE")


def hostsim_exe():
    """The host simulator KV90HostSim.exe (built outside the program folder)."""
    return _required("KV90_HOSTSIM")


def artifacts_dir():
    """Screenshots and logs for humans; created on first use."""
    path = os.environ.get("KV90_ARTIFACTS") or os.path.join(os.path.dirname(stage_dir()), "e2e-artifacts")
    os.makedirs(path, exist_ok=True)
    return path


def work_root():
    """Where the per-test copies of the program folder live (ASCII path, so Wine maps it plainly)."""
    return os.environ.get("KV90_E2E_TMP") or None


def keep_copies():
    return os.environ.get("KV90_E2E_KEEP") == "1"


def wine():
    return os.environ.get("KV90_WINE", "wine")


def setup_exe():
    """The setup program of the release package."""
    return _required("KV90_SETUP")


def package_zip():
    """The zip of the release package."""
    return _required("KV90_ZIP")


def package_inputs():
    """What the packing step makes the release from (the build writes it)."""
    return _required("KV90_PACKAGE_INPUTS")


# Every Wine process of the tests (the program, the host simulator, the probe and what it starts)
# inherits this environment: with Wine's fault reports on, whatever the caller chose.
os.environ["WINEDEBUG"] = winefaults.debug_setting()
