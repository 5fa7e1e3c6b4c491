"""The application manifests of the program and of the setup program, read from their resources as
Windows reads them when it creates the process, and parsed as XML."""

import unittest
import os
import xml.etree.ElementTree as ET

from kv90e2e import settings
from kv90e2e.package import pe_resources

RT_MANIFEST = 24
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
WINDOWS_SETTINGS = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
WINDOWS_7_TO_11 = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # Windows 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # Windows 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # Windows 10 and 11
}


def manifest(path):
    """The process manifest (resource 1 of type RT_MANIFEST) as an element tree."""
    found = [data for name, _, data in pe_resources(path, RT_MANIFEST) if name == 1]
    if len(found) != 1:
        raise AssertionError("%s has %d process manifests" % (path, len(found)))
    return ET.fromstring(found[0])


def execution_level(root):
    levels = root.findall("./%strustInfo/%ssecurity/%srequestedPrivileges/%srequestedExecutionLevel"
                          % ((ASM_V3,) * 4)) or root.findall(".//{urn:schemas-microsoft-com:asm.v2}requestedExecutionLevel")
    if len(levels) != 1:
        raise AssertionError("%d execution levels" % len(levels))
    return levels[0].get("level"), levels[0].get("uiAccess", "false")


def supported(root):
    return {e.get("Id").lower() for e in root.findall("./%scompatibility/%sapplication/%ssupportedOS"
                                                       % (COMPAT, COMPAT, COMPAT))}


class Manifests(unittest.TestCase):

    def test_the_program_runs_as_invoker_on_windows_7_to_11_unscaled_by_itself_with_classic_controls(self):
        root = manifest(os.path.join(settings.stage_dir(), "Finger_KV90.exe"))
        self.assertEqual(root.tag, ASM_V1 + "assembly")
        # No elevation and no file or registry virtualization.
        self.assertEqual(execution_level(root), ("asInvoker", "false"))
        self.assertEqual(supported(root), WINDOWS_7_TO_11)
        # Windows scales the fixed-pixel layout as a whole.
        aware = root.findall("./%sapplication/%swindowsSettings/%sdpiAware" % (ASM_V3, ASM_V3, WINDOWS_SETTINGS))
        self.assertEqual([e.text for e in aware], ["false"])
        self.assertEqual(root.findall(".//%sdpiAwareness" % WINDOWS_SETTINGS), [])
        # The classic controls the skin draws over: no dependency on common controls 6.
        names = [e.get("name") for e in root.iter(ASM_V1 + "assemblyIdentity")]
        self.assertNotIn("Microsoft.Windows.Common-Controls", names)

    def test_the_setup_program_asks_for_an_administrator_and_knows_the_same_windows(self):
        root = manifest(settings.setup_exe())
        self.assertEqual(execution_level(root)[0], "requireAdministrator")
        self.assertTrue(WINDOWS_7_TO_11 <= supported(root), supported(root))


if __name__ == "__main__":
    unittest.main()
