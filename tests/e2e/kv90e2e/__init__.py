"""End-to-end test rig for Finger_KV90.exe under Wine: a probe inside the Wine desktop,
the X display for the operator's mouse and eyes, and the program's files."""

from .case import FAMILY_MUTEXES, ProbeTestCase, ProgramTestCase
from .files import config_value, log_file_name, log_lines, read_config, set_config_value, write_config_text
from .image import Image
from . import layout
from .mainwindow import MainWindow
from .msgbox import IDOK, MB_ICONINFORMATION, MB_ICONWARNING, MessageBox
from .probe import Probe, ProbeError, Window
from .program import ProgramFolder, Run, windows_path
from .screen import Screen
from .waiting import WaitTimeout, wait_until

__all__ = [
    "FAMILY_MUTEXES", "IDOK", "Image", "MB_ICONINFORMATION", "MB_ICONWARNING", "MainWindow", "MessageBox",
    "Probe", "ProbeError", "ProbeTestCase", "ProgramFolder", "ProgramTestCase", "Run", "Screen", "WaitTimeout", "Window",
    "config_value", "layout", "log_file_name", "log_lines", "read_config", "set_config_value", "wait_until",
    "windows_path", "write_config_text",
]
