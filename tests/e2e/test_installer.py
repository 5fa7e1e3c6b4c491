"""The release package as an office's IT uses it: the zip, unattended installation into a folder with
Chinese characters and a space, the station captured from there, an upgrade that keeps the settings,
refusals while a capture program runs, removal that leaves no finger images and nothing else of the
station but takes nothing of anyone else's, an uninstaller copied out of the installation, folders
that setup cannot use, the setup pages, and the release signed with a publisher's certificate."""

import filecmp
import os
import shutil
import subprocess
import tempfile
import unittest
import unittest.mock
import zipfile

from kv90e2e import MessageBox, layout, log_lines, set_config_value, config_value, wait_until, windows_path
from kv90e2e import settings
from kv90e2e.hostsim import HOST_CODE_COLLECTED
from kv90e2e.package import (EXIT_FOLDER_REFUSED, EXIT_NOT_INSTALLATION, EXIT_NOT_INSTALLED, EXIT_REFUSED, UNINSTALL_KEY, Deployment,
                             VersionResource, pe_machine, registry_values, repository_version, start_menu_folder, tree)
from kv90e2e.program import ProgramFolder, unix_path
from kv90e2e.scanner import Scanner
from kv90e2e.signing import Publisher, pack, sign_one, verify, without_signature
from kv90e2e.station import COLLECT, FINISH, GOOD, HELD, StationTestCase

# Shortcuts made under Wine would otherwise also become menu entries of the Linux desktop.
os.environ["WINEDLLOVERRIDES"] = os.environ.get("WINEDLLOVERRIDES", "") + ";winemenubuilder.exe=d"

PRODUCT = "KV90指纹采集"
PUBLISHER = "KV90指纹采集站开发组"
TRAINING_FOLDER = "C:\\培训 站\\指纹 采集"
DEFAULT_FOLDER = "C:\\Program Files\\Finger_KV90"
MARKER = "模拟扫描仪.txt"

# Registered by setup for the whole machine, once every file is in place.
HOST_CONTROL_KEY = "HKEY_CLASSES_ROOT\\KV90.FingerHost"
PROGRAM = {"Finger_KV90.exe", "KV90Host.dll", "KV90Host.txt", "KV90Records.exe", "x64/", "x64/KV90Host.dll", "Config/",
           "Config/Config.ini", "Config/Records.ini", "KV90DLL/", "LogFiles/", "Temp/"}
SIMULATOR = {"KV90DLL/GALS7302.dll", "KV90DLL/GAMC7302.dll", "KV90DLL/" + MARKER}
# The office's settings, which a removal that keeps the data leaves in place.
SETTINGS = {"Config/Config.ini", "Config/Records.ini"}
# The optional web service (its setup is tested in test_web_service).
WEB_SERVICE = {"KV90Service.exe", "Config/Service.ini"}
RUNNING_INSTALL = ("指纹采集程序（KV90、LX20 或 NR50）正在运行。\r\n\r\n"
                   "请先关闭指纹采集程序，然后再运行安装程序。")
NOT_INSTALLATION = ("此卸载程序不在 %s 的安装文件夹中，不能用它卸载：\r\n{folder}\r\n\r\n没有删除任何文件。"
                    "请在“添加或删除程序”中卸载 %s，或运行安装文件夹中的 Uninstall.exe。" % (PRODUCT, PRODUCT))
NOT_FULL_PATH = ("不能安装到这个位置：\r\n{folder}\r\n\r\n安装位置必须是完整的文件夹路径，以盘符和反斜杠"
                 "（如 C:\\Program Files\\Finger_KV90）或网络共享（如 \\\\服务器\\共享\\Finger_KV90）开头，"
                 "并且不能是驱动器或共享的根文件夹。\r\n\r\n安装程序已退出，没有安装任何文件。")

# What an office keeps in the station's folders, and names close to the station's own.
FOREIGN = {"x64/notes.txt", "Temp/sub/important.txt", "Temp/sub/0.bmp", "Temp/notes.txt", "Temp/照片.bmp", "Temp/10.bmp",
           "Temp/0001$张三_0.bmp.bak", "Config/other.ini", "Config/Config.ini.bak", "LogFiles/other.log",
           "LogFiles/FINGER2026.txt", "Temp/kv9.txt", "Temp/other.tmp", "Config/kv9notes.tmp.txt"}
# What the station writes there: finger images, its log and a fault's minidump.
STATION_IMAGES = {"Temp/%d.bmp" % n for n in range(10)} | {"Temp/%d.jpg" % n for n in range(10)} | {
    "Temp/0001$张三_0.bmp", "Temp/0001$张三_9.bmp", "Temp/0002$李四_5.bmp", "Temp/FPTemp.bmp", "Temp/EditImage.jpg",
    "Temp/kv9a3f.tmp", "Temp/kv91.TMP"}  # the last two left half written by a power cut
STATION_LOGS = {"LogFiles/FINGER20260101.txt", "LogFiles/Finger_KV90_20260101_080000_1234.dmp", "Config/kv9b2.tmp"}


def write_files(root, names):
    """Files under root (names relative, with '/'), each holding its own name."""
    for name in names:
        path = os.path.join(root, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(name.encode("utf-8"))


def with_folders(names):
    """The names and every folder above them, as tree() gives them."""
    found = set(names)
    for name in names:
        parts = name.split("/")[:-1]
        found.update("/".join(parts[:n]) + "/" for n in range(1, len(parts) + 1))
    return found


def contents(root):
    """Every file under root with what it holds, and every folder: to tell that nothing changed."""
    found = {}
    for name in tree(root):
        if name.endswith("/"):
            found[name] = None
        else:
            with open(os.path.join(root, *name.split("/")), "rb") as f:
                found[name] = f.read()
    return found


def default_config():
    with open(os.path.join(settings.HERE, "..", "..", "app", "DefaultConfig.ini"), "rb") as f:
        return f.read()


class ReleasePackage(unittest.TestCase):

    def test_one_version_and_the_same_program_folder_in_both_files(self):
        version = repository_version()
        self.assertEqual(os.path.basename(settings.setup_exe()), "Finger_KV90-%s-setup.exe" % version)
        self.assertEqual(os.path.basename(settings.package_zip()), "Finger_KV90-%s.zip" % version)
        four = tuple(int(n) for n in version.split(".")) + (0,)
        for program in (os.path.join(settings.stage_dir(), "Finger_KV90.exe"), settings.setup_exe()):
            with self.subTest(program=os.path.basename(program)):
                resource = VersionResource(program)
                self.assertEqual(resource.fixed, {"file": four, "product": four})
                self.assertEqual((resource.strings["ProductVersion"], resource.strings["FileVersion"]),
                                 (version, version))
                self.assertEqual((resource.strings["ProductName"], resource.strings["CompanyName"]),
                                 (PRODUCT, PUBLISHER))
        # The web service and both host controls carry the same version.
        service = VersionResource(os.path.join(settings.stage_dir(), "KV90Service.exe"))
        self.assertEqual(service.fixed, {"file": four, "product": four})
        self.assertEqual((service.strings["ProductVersion"], service.strings["FileVersion"], service.strings["CompanyName"]),
                         (version, version, PUBLISHER))
        for control in ("KV90Host.dll", "x64/KV90Host.dll"):
            with self.subTest(control=control):
                self.assertEqual(VersionResource(unsigned_program(control)).fixed, {"file": four, "product": four})
        with zipfile.ZipFile(settings.package_zip()) as z:
            self.assertEqual(set(z.namelist()), {"Finger_KV90/"} | {"Finger_KV90/" + n for n in PROGRAM | WEB_SERVICE})
            with open(os.path.join(settings.stage_dir(), "Finger_KV90.exe"), "rb") as f:
                self.assertEqual(z.read("Finger_KV90/Finger_KV90.exe"), f.read())
            self.assertEqual(z.read("Finger_KV90/Config/Config.ini"), default_config())
            # 64-bit office programs can load only the x64 build of the control.
            self.assertEqual([pe_machine(z.read(n), n) for n in ("Finger_KV90/KV90Host.dll", "Finger_KV90/x64/KV90Host.dll")],
                             [0x14C, 0x8664])


class InstallerTestCase(StationTestCase):

    def setUp(self):
        super().setUp()
        self.deploy = Deployment(self.probe)

    def setup_command(self, *switches):
        return " ".join(['"%s"' % windows_path(settings.setup_exe())] + list(switches))

    def install(self, *switches):
        return self.deploy.run(self.setup_command(*switches))

    def remove_afterwards(self, folder):
        """Leaves the Wine prefix as it was for the next test, whatever this one did."""
        def remove():
            for run in self.folder.runs:
                run.kill()
            for window in self.probe.windows(cls="#32770", contains=PRODUCT):
                self.probe.terminate(window["pid"])
            if os.path.exists(os.path.join(unix_path(folder), "Uninstall.exe")):
                self.deploy.uninstall(folder + "\\Uninstall.exe", "/S", "/PURGE")
            shutil.rmtree(unix_path(folder), ignore_errors=True)
        self.addCleanup(remove)

    def use_installed(self, folder):
        """From now on the station runs from the installed folder."""
        self.folder.cleanup()
        self.folder = ProgramFolder(self.probe, installed=folder)
        self.scanner = Scanner(self.folder.path)

    def save_window_shot(self, window, name):
        """The window's picture once it has finished painting (two pictures in a row agree)."""
        left, top, right, bottom = self.probe.window(window.hwnd)["rect"]
        last = {}

        def settled():
            shot = self.screen.shot().crop(left, top, right - left, bottom - top)
            same = last.get("rgb") == shot.rgb
            last["rgb"] = shot.rgb
            return shot if same else None
        path = os.path.join(settings.artifacts_dir(), name)
        wait_until(settled, interval=0.2, what="the window %r painted" % name).save_png(path)
        return path

    def assert_uninstall_entry(self, folder):
        entry = registry_values(UNINSTALL_KEY)
        self.assertIsNotNone(entry, "no uninstall entry")
        self.assertIsNotNone(registry_values(HOST_CONTROL_KEY), "the host control is not registered")
        uninstaller = folder + "\\Uninstall.exe"
        self.assertEqual({k: entry.get(k) for k in ("DisplayName", "DisplayVersion", "Publisher", "UninstallString",
                                                     "QuietUninstallString", "InstallLocation")},
                         {"DisplayName": PRODUCT, "DisplayVersion": repository_version(), "Publisher": PUBLISHER,
                          "UninstallString": '"%s"' % uninstaller, "QuietUninstallString": '"%s" /S' % uninstaller,
                          "InstallLocation": folder})
        # The size in KiB that Add or Remove Programs shows: about that of the files laid out.
        files = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(unix_path(folder)) for f in fs)
        self.assertLessEqual(abs(entry["EstimatedSize"] - files // 1024), 16)


class UnattendedDeployment(InstallerTestCase):

    def test_install_capture_refusals_upgrade_and_removal(self):
        folder = TRAINING_FOLDER
        path = unix_path(folder)
        self.remove_afterwards(folder)
        self.assertEqual(self.install("/S", "/SIMULATOR", "/D=" + folder), 0)

        self.assertEqual(tree(path), PROGRAM | SIMULATOR | {"Uninstall.exe"})
        with open(os.path.join(path, "Config", "Config.ini"), "rb") as f:
            self.assertEqual(f.read(), default_config())
        self.assertTrue(filecmp.cmp(os.path.join(path, "Finger_KV90.exe"),
                                    os.path.join(settings.stage_dir(), "Finger_KV90.exe"), shallow=False))
        installed = VersionResource(os.path.join(path, "Finger_KV90.exe"))
        self.assertEqual(installed.strings["ProductVersion"], repository_version())
        self.assert_uninstall_entry(folder)
        self.assertEqual(sorted(os.listdir(start_menu_folder(PRODUCT))),
                         sorted([PRODUCT + ".lnk", "卸载 %s.lnk" % PRODUCT]))

        # The station, simulated scanner and all, works from the installed folder.
        self.use_installed(folder)
        self.start_station(person="0001$张三", **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.offer_finger()
        self.press(COLLECT)
        self.assertEqual(self.host.wait_notifications(HOST_CODE_COLLECTED)[0].value, 0)
        self.assertTrue({"0.bmp", "0001$张三_0.bmp"} <= set(self.temp_files()))

        with self.subTest("refused while the station runs"):
            exe_time = os.stat(os.path.join(path, "Finger_KV90.exe")).st_mtime_ns
            self.assertEqual(self.install("/S", "/D=" + folder), EXIT_REFUSED)
            self.assertEqual(os.stat(os.path.join(path, "Finger_KV90.exe")).st_mtime_ns, exe_time)
            # In place (_?=), so that the refusal's exit code is the uninstaller's own.
            self.assertEqual(self.deploy.run('"%s\\Uninstall.exe" /S _?=%s' % (folder, folder)), EXIT_REFUSED)
            self.assertTrue(os.path.exists(os.path.join(path, "Uninstall.exe")))
            self.assertIn("0001$张三_0.bmp", self.temp_files())
            self.assertIsNotNone(registry_values(UNINSTALL_KEY))
            # Run by hand, setup says why.
            pid = self.deploy.start(self.setup_command())
            box = wait_until(lambda: MessageBox.find(self.probe, pid), what="the refusal of setup")
            wait_until(lambda: MessageBox(self.probe, box.window).text, what="the refusal's text")
            box = MessageBox(self.probe, box.window)
            self.assertEqual((box.caption, box.text), (PRODUCT + " 安装", RUNNING_INSTALL))
            self.save_window_shot(box.window, "setup-refused.png")
            box.press(box.buttons[0])
            self.assertEqual(self.deploy.wait(pid), EXIT_REFUSED)

        self.press(FINISH)
        self.assertEqual(self.exit_code(), 0)
        # The person's file stays after the station closes: captured biometric data in Temp\.
        self.assertIn("0001$张三_0.bmp", self.temp_files())

        with self.subTest("an upgrade keeps the office's settings and the simulator"):
            set_config_value(path, "FQuality", 77)
            self.assertEqual(self.install("/S"), 0)
            self.assertEqual(config_value(path, "FQuality"), "77")
            self.assertTrue(SIMULATOR | PROGRAM <= tree(path))
            self.assert_uninstall_entry(folder)

        with open(os.path.join(path, "LogFiles", "FINGER20260101.txt"), "wb") as f:
            f.write("2026-01-01 08:00:00 : 打开扫描仪失败\r\n".encode("gbk"))
        self.assertEqual(self.deploy.uninstall(folder + "\\Uninstall.exe", "/S"), 0)
        self.assertEqual(tree(path), {"Config/", "LogFiles/", "LogFiles/FINGER20260101.txt"} | SETTINGS)
        self.assertEqual(config_value(path, "FQuality"), "77")
        self.assertIsNone(registry_values(UNINSTALL_KEY))
        self.assertFalse(os.path.exists(start_menu_folder(PRODUCT)))

    def test_a_sibling_program_refuses_setup_and_vendor_libraries_are_never_replaced(self):
        folder = "C:\\KV90 现场"
        path = unix_path(folder)
        self.remove_afterwards(folder)
        for sibling in ("Finger_LX20", "Finger_NR50"):
            with self.subTest(sibling=sibling):
                self.hold_mutex(sibling)
                self.assertEqual(self.install("/S", "/D=" + folder), EXIT_REFUSED)
                self.assertFalse(os.path.exists(path))
                self.release_mutex(sibling)
        os.makedirs(os.path.join(path, "KV90DLL"))
        for name in ("GALS7302.dll", "GAMC7302.dll"):
            with open(os.path.join(path, "KV90DLL", name), "wb") as f:
                f.write(b"the vendor's " + name.encode())
        self.assertEqual(self.install("/S", "/SIMULATOR", "/D=" + folder), 0)
        with open(os.path.join(path, "KV90DLL", "GALS7302.dll"), "rb") as f:
            self.assertEqual(f.read(), b"the vendor's GALS7302.dll")
        self.assertNotIn("KV90DLL/" + MARKER, tree(path))
        # Removal with /PURGE leaves nothing.
        self.assertEqual(self.deploy.uninstall(folder + "\\Uninstall.exe", "/S", "/PURGE"), 0)
        self.assertFalse(os.path.exists(path))


class ForeignFiles(InstallerTestCase):
    """The installation folder as offices share it: files of their own beside the station's, and
    the uninstaller copied somewhere else."""

    def test_removal_takes_the_station_files_and_leaves_everyone_elses(self):
        folder = "C:\\KV90 共用"
        path = unix_path(folder)
        self.remove_afterwards(folder)
        # The folder had a Temp, a Config and a LogFiles of its own before the station came.
        write_files(path, FOREIGN)
        self.assertEqual(self.install("/S", "/D=" + folder), 0)
        write_files(path, STATION_IMAGES | STATION_LOGS)

        self.assertEqual(self.deploy.uninstall(folder + "\\Uninstall.exe", "/S"), 0)
        self.assertEqual(tree(path), with_folders(FOREIGN | STATION_LOGS | SETTINGS))
        self.assertEqual({n: c for n, c in contents(path).items() if n in FOREIGN},
                         {n: n.encode("utf-8") for n in FOREIGN})
        self.assertIsNone(registry_values(UNINSTALL_KEY))

        with self.subTest("/PURGE takes the station's logs and settings, no one else's"):
            self.assertEqual(self.install("/S", "/D=" + folder), 0)
            write_files(path, STATION_IMAGES)
            self.assertEqual(self.deploy.uninstall(folder + "\\Uninstall.exe", "/S", "/PURGE"), 0)
            self.assertEqual(tree(path), with_folders(FOREIGN))
            self.assertIsNone(registry_values(UNINSTALL_KEY))

        with self.subTest("/PURGE removes the folders it emptied"):
            for name in FOREIGN:
                os.remove(os.path.join(path, *name.split("/")))
            shutil.rmtree(os.path.join(path, "Temp", "sub"))
            self.assertEqual(self.install("/S", "/D=" + folder), 0)
            write_files(path, STATION_IMAGES | STATION_LOGS)
            self.assertEqual(self.deploy.uninstall(folder + "\\Uninstall.exe", "/S", "/PURGE"), 0)
            self.assertFalse(os.path.exists(path))

    def test_an_uninstaller_copied_out_of_the_installation_refuses_and_changes_nothing(self):
        folder, work = "C:\\KV90 正式", "C:\\KV90 工作"
        path, work_path = unix_path(folder), unix_path(work)
        self.remove_afterwards(folder)
        self.remove_afterwards(work)
        self.assertEqual(self.install("/S", "/D=" + folder), 0)
        write_files(path, STATION_IMAGES)
        # Someone's own folder, with files of the station's names too, and the uninstaller copied in.
        write_files(work_path, {"Temp/sub/important.txt", "Config/other.ini", "LogFiles/other.log",
                                "Temp/0.bmp", "Config/Config.ini", "LogFiles/FINGER20260101.txt", "Finger_KV90.exe"})
        shutil.copy(os.path.join(path, "Uninstall.exe"), work_path)
        installed, copied = contents(path), contents(work_path)
        entry = registry_values(UNINSTALL_KEY)

        for switches in (("/S",), ("/S", "/PURGE")):
            with self.subTest(switches=switches):
                self.assertEqual(self.deploy.uninstall(work + "\\Uninstall.exe", *switches), EXIT_NOT_INSTALLATION)
                self.assertEqual(contents(work_path), copied)
                self.assertEqual(contents(path), installed)
                self.assertEqual(registry_values(UNINSTALL_KEY), entry)
        with self.subTest("started in place with _?="):
            self.assertEqual(self.deploy.run('"%s\\Uninstall.exe" /S /PURGE _?=%s' % (work, work)), EXIT_NOT_INSTALLATION)
            # The installation's own uninstaller pointed at the other folder refuses as well.
            self.assertEqual(self.deploy.run('"%s\\Uninstall.exe" /S /PURGE _?=%s' % (folder, work)),
                             EXIT_NOT_INSTALLATION)
            self.assertEqual(contents(work_path), copied)
            self.assertEqual(contents(path), installed)
            self.assertEqual(registry_values(UNINSTALL_KEY), entry)
        with self.subTest("run by hand, it says why"):
            self.deploy.start('"%s\\Uninstall.exe"' % work)
            window = wait_until(lambda: (self.probe.windows(cls="#32770", contains=PRODUCT, visible=True) or [None])[0],
                                what="the uninstaller's refusal")
            wait_until(lambda: MessageBox(self.probe, window).text, what="the refusal's text")
            box = MessageBox(self.probe, window)
            self.assertEqual((box.caption, box.text), (PRODUCT + " 卸载", NOT_INSTALLATION.format(folder=work)))
            self.save_window_shot(box.window, "uninstall-refused.png")
            box.press(box.buttons[0])
            wait_until(box.gone, what="the refusal to close")
            wait_until(lambda: not self.probe.windows(cls="#32770", contains=PRODUCT), what="the uninstaller to end")
            self.assertEqual(contents(work_path), copied)
            self.assertEqual(registry_values(UNINSTALL_KEY), entry)

        # The installation's own uninstaller still removes it.
        self.assertEqual(self.deploy.uninstall(folder + "\\Uninstall.exe", "/S"), 0)
        self.assertEqual(tree(path), {"Config/", "LogFiles/"} | SETTINGS)
        self.assertIsNone(registry_values(UNINSTALL_KEY))
        self.assertEqual(contents(work_path), copied)


class TargetFolder(InstallerTestCase):
    """The folder given to setup with /D=: used as resolved, or refused before anything is installed."""

    def assert_nothing_installed(self):
        self.assertIsNone(registry_values(UNINSTALL_KEY))
        self.assertIsNone(registry_values(HOST_CONTROL_KEY), "the host control is registered")
        self.assertFalse(os.path.exists(unix_path(DEFAULT_FOLDER)))
        self.assertFalse(os.path.exists(start_menu_folder(PRODUCT)))

    def test_setup_refuses_a_folder_it_cannot_use(self):
        # Setup would otherwise fall back to the default folder.
        self.remove_afterwards(DEFAULT_FOLDER)
        blocker = "C:\\KV90 文件"
        with open(unix_path(blocker), "wb") as f:
            f.write(b"an office's file")
        self.addCleanup(os.remove, unix_path(blocker))
        for target in (blocker, blocker + "\\子文件夹", "KV90rel", "C:KV90rel", "\\KV90rel", "C:\\", ""):
            with self.subTest(target=target):
                self.assertEqual(self.install("/S", "/D=" + target), EXIT_FOLDER_REFUSED)
                self.assert_nothing_installed()
        with open(unix_path(blocker), "rb") as f:
            self.assertEqual(f.read(), b"an office's file")

        with self.subTest("run by hand, setup says why"):
            pid = self.deploy.start(self.setup_command("/D=KV90rel"))
            box = wait_until(lambda: MessageBox.find(self.probe, pid), what="the refusal of setup")
            wait_until(lambda: MessageBox(self.probe, box.window).text, what="the refusal's text")
            box = MessageBox(self.probe, box.window)
            self.assertEqual((box.caption, box.text), (PRODUCT + " 安装", NOT_FULL_PATH.format(folder="KV90rel")))
            self.save_window_shot(box.window, "setup-folder-refused.png")
            box.press(box.buttons[0])
            self.assertEqual(self.deploy.wait(pid), EXIT_FOLDER_REFUSED)
            self.assert_nothing_installed()

    def test_setup_refuses_device_paths_forbidden_characters_and_folders_too_long_for_the_station(self):
        self.remove_afterwards(DEFAULT_FOLDER)
        # 207 characters leave the station room for its longest file, a fault's minidump in LogFiles\.
        longest = "C:\\" + "k" * 100 + "\\" + "l" * 103
        self.assertEqual(len(longest), 207)
        targets = ("C:\\a<b>\\c", 'C:\\KV90 "quoted"', "C:\\KV90|x", "C:\\KV90?", "C:\\KV*90", "C:\\KV90:stream",
                   "\\\\.\\C:\\KV90dev", "\\\\?\\C:\\KV90dev", "C:\\" + "a" * 270, longest + "l")
        for target in targets:
            with self.subTest(target=target[:40]):
                self.assertEqual(self.install("/S", "/D=" + target), EXIT_FOLDER_REFUSED)
                self.assert_nothing_installed()
        for elsewhere in ("C:\\ab", "C:\\KV90 quoted", "C:\\KV90x", "C:\\KV90", "C:\\KV90dev", "C:\\KV90stream"):
            self.assertFalse(os.path.exists(unix_path(elsewhere)), elsewhere)
        with self.subTest("the longest folder the station can use"):
            # Cleaned up last: the installation inside it is removed by its uninstaller first.
            self.remove_afterwards("C:\\" + "k" * 100)
            self.remove_afterwards(longest)
            self.assertEqual(self.install("/S", "/D=" + longest), 0)
            self.assertEqual(tree(unix_path(longest)), PROGRAM | {"Uninstall.exe"})
            self.assertEqual(self.deploy.uninstall(longest + "\\Uninstall.exe", "/S", "/PURGE"), 0)
            self.assertIsNone(registry_values(UNINSTALL_KEY))

    def test_setup_that_could_not_copy_the_station_registers_nothing_and_says_so(self):
        self.remove_afterwards(DEFAULT_FOLDER)
        self.assertEqual(self.install("/S", "/D=\\\\kv90-nosuchserver\\share\\KV90"), EXIT_NOT_INSTALLED)
        self.assert_nothing_installed()
        # Silent, setup leaves its reason where it could write: the temporary folder.
        notes = []
        for root, _, files in os.walk(unix_path("C:\\users")):
            if "Setup.txt" in files:
                with open(os.path.join(root, "Setup.txt"), "rb") as f:
                    notes.append(f.read().decode("utf-16"))
                os.remove(os.path.join(root, "Setup.txt"))
        self.assertEqual(len(notes), 1, notes)
        self.assertIn("未能把指纹采集程序的文件复制到安装位置", notes[0])
        self.assertIn("kv90-nosuchserver", notes[0])

    def test_a_copied_uninstaller_at_a_drive_root_refuses_as_anywhere_else(self):
        folder = "C:\\KV90 根"
        self.remove_afterwards(folder)
        self.assertEqual(self.install("/S", "/D=" + folder), 0)
        copied = unix_path("C:\\Uninstall.exe")
        shutil.copy(os.path.join(unix_path(folder), "Uninstall.exe"), copied)
        self.addCleanup(os.remove, copied)
        entry = registry_values(UNINSTALL_KEY)
        self.assertEqual(self.deploy.run('"C:\\Uninstall.exe" /S _?=C:\\'), EXIT_NOT_INSTALLATION)
        self.assertEqual(self.deploy.uninstall("C:\\Uninstall.exe", "/S"), EXIT_NOT_INSTALLATION)
        self.assertEqual(registry_values(UNINSTALL_KEY), entry)
        self.assertEqual(tree(unix_path(folder)), PROGRAM | {"Uninstall.exe"})

    def test_a_folder_with_dots_is_installed_and_recorded_resolved(self):
        folder = "C:\\KV90dots"
        path = unix_path(folder)
        self.remove_afterwards(folder)
        self.remove_afterwards("C:\\KV90")
        self.assertEqual(self.install("/S", "/D=C:\\KV90\\..\\..\\..\\KV90dots"), 0)
        self.assertEqual(tree(path), PROGRAM | {"Uninstall.exe"})
        self.assert_uninstall_entry(folder)
        self.assertFalse(os.path.exists(unix_path("C:\\KV90")))
        # An upgrade named another way is the same installation.
        self.assertEqual(self.install("/S", "/D=C:\\.\\KV90dots\\"), 0)
        self.assert_uninstall_entry(folder)
        # The uninstaller knows its installation whatever the case of the name it is started by.
        self.assertEqual(self.deploy.uninstall("C:\\kv90DOTS\\Uninstall.exe", "/S", "/PURGE"), 0)
        self.assertFalse(os.path.exists(path))
        self.assertIsNone(registry_values(UNINSTALL_KEY))


class AnotherCodePage(InstallerTestCase):
    """A PC whose code page for programs that are not Unicode is not 936: Wine takes it from the locale
    a process starts in (C.UTF-8 gives 1252)."""

    OTHER_LOCALE = "C.UTF-8"
    STATION_LINE = "系统的非Unicode程序代码页为1252,不是简体中文(936),程序的文字、日志和指纹文件名将不正确"

    def run_in_other_locale(self, *args):
        env = dict(os.environ, LC_ALL=self.OTHER_LOCALE, LANG=self.OTHER_LOCALE)
        with open(self.own_wine_output("other-code-page-setup"), "wb") as err:
            return subprocess.run([settings.wine()] + list(args), env=env, stdout=subprocess.DEVNULL, stderr=err,
                                  timeout=300).returncode

    def test_setup_and_the_station_say_so_and_only_then(self):
        folder = "C:\\KV90cp"
        notes = os.path.join(unix_path(folder), "LogFiles", "Setup.txt")
        self.remove_afterwards(folder)
        self.assertEqual(self.run_in_other_locale(settings.setup_exe(), "/S", "/D=" + folder), 0)
        with open(notes, "rb") as f:
            text = f.read()
        self.assertEqual(text[:2], b"\xff\xfe", "not UTF-16 with its byte order mark")
        note = text[2:].decode("utf-16-le")
        self.assertIn("当前代码页 1252，应为 936", note)
        self.assertIn("更改系统区域设置", note)
        # The station says it once in its log, and starts as usual.
        self.use_installed(folder)
        env = dict(os.environ, LC_ALL=self.OTHER_LOCALE, LANG=self.OTHER_LOCALE)
        with open(os.path.join(self.folder.root, "other-code-page.err"), "wb") as err:
            station = subprocess.Popen([settings.wine(), self.folder.exe_path], env=env, stdout=subprocess.DEVNULL,
                                       stderr=err)
        self.addCleanup(lambda: station.poll() is not None or (station.kill(), station.wait()))
        wait_until(lambda: self.STATION_LINE in [l.text for l in log_lines(self.folder.path)],
                   what="the code page line in the station's log")
        wait_until(lambda: self.probe.windows(cls="TFrm_Main", visible=True), what="the station's window")
        for window in self.probe.windows(cls="TFrm_Main"):
            self.probe.terminate(window["pid"])
        station.wait(timeout=30)
        # Under 936 neither says anything.
        os.remove(notes)
        self.assertEqual(self.install("/S", "/D=" + folder), 0)
        self.assertFalse(os.path.exists(notes))
        before = len(log_lines(self.folder.path))
        run = self.start_program()
        self.wait_main_window(run)
        # The start's last line (no host to tell that the window is ready) is written by now.
        wait_until(lambda: len(log_lines(self.folder.path)) >= before + 2, what="the start's log lines")
        self.assertNotIn(self.STATION_LINE, [l.text for l in log_lines(self.folder.path)[before:]])


class SetupPages(InstallerTestCase):
    """The setup program as a person runs it: every page, looked at and kept as a screenshot."""

    def dialog(self, pid, caption):
        return wait_until(lambda: (self.probe.windows(cls="#32770", pid=pid, text=caption, visible=True) or [None])[0],
                          what="the window %r" % caption)

    def visible_texts(self, window):
        return [c["text"] for c in self.probe.children(window.hwnd) if c["visible"] and c["text"]]

    def wait_page(self, window, title):
        wait_until(lambda: title in self.visible_texts(window), what="the page %r (texts %r)"
                   % (title, self.visible_texts(window)))

    def next_button(self, window, enabled=True):
        def ready():
            for c in self.probe.children(window.hwnd):
                if c["id"] == 1 and c["class"].lower() == "button" and c["visible"] and c["enabled"] == enabled:
                    return c
            return None
        return wait_until(ready, what="the next button")

    def walk(self, window, pages, prefix):
        """Goes through the pages: each is recognised by its title, checked, pictured once its
        next button is enabled (the files page when its work is done) and left with that button."""
        for number, (title, check) in enumerate(pages, 1):
            self.wait_page(window, title)
            if check:
                check(self.visible_texts(window))
            button = self.next_button(window)
            self.save_window_shot(window, "%s-%d.png" % (prefix, number))
            self.probe.click_button(button.hwnd)

    def test_the_pages_of_setup_and_removal(self):
        folder = DEFAULT_FOLDER
        self.remove_afterwards(folder)
        pid = self.deploy.start(self.setup_command())
        window = self.dialog(pid, PRODUCT + " 安装")
        missing = ("%s %s 已安装到：\r\n%s\r\n\r\n还缺少扫描仪厂商的两个驱动库 GALS7302.dll 和 GAMC7302.dll。"
                   "请把扫描仪随附的这两个文件复制到：\r\n%s\\KV90DLL\r\n复制之前指纹采集程序不能打开扫描仪。"
                   % (PRODUCT, repository_version(), folder, folder))
        self.walk(window, [
            ("欢迎使用 %s 安装程序" % PRODUCT, lambda texts: self.assertTrue(
                any(t.startswith("本向导将在这台计算机上安装 %s %s。" % (PRODUCT, repository_version())) for t in texts))),
            ("选择组件", None),
            ("选择安装位置", lambda texts: self.assertIn(folder, texts)),
            ("安装完成", None),
            ("%s 安装程序结束" % PRODUCT, lambda texts: self.assertIn(missing, texts)),
        ], "setup")
        self.assertEqual(self.deploy.wait(pid), 0)
        self.assertEqual(tree(unix_path(folder)), PROGRAM | {"Uninstall.exe"})
        self.assert_uninstall_entry(folder)

        self.deploy.start('"%s\\Uninstall.exe"' % folder)
        # The caption carries the page's sub-caption after the name.
        window = wait_until(lambda: (self.probe.windows(cls="#32770", contains=PRODUCT + " 卸载", visible=True)
                                     or [None])[0], what="the uninstaller's window")
        self.walk(window, [
            ("卸载 %s" % PRODUCT, None),
            ("选择组件", None),
            ("卸载完成", None),
            ("%s 卸载程序结束" % PRODUCT, lambda texts: self.assertTrue(any("保留在" in t for t in texts))),
        ], "uninstall")
        wait_until(lambda: not self.probe.windows(cls="#32770", contains=PRODUCT + " 卸载"), what="the uninstaller to close")
        self.assertEqual(tree(unix_path(folder)), {"Config/", "LogFiles/"} | SETTINGS)


if __name__ == "__main__":
    unittest.main()


# -- the signed release -------------------------------------------------------------------------------
# The programs of ours in the program folder; the simulated scanner's libraries are not among them.
SIGNED_PROGRAMS = ("Finger_KV90.exe", "KV90Service.exe", "KV90Records.exe", "KV90Host.dll", "x64/KV90Host.dll")
_signed = {}


def signed_release():
    """The release signed with a test publisher's certificate: made once for the module."""
    if not _signed:
        work = tempfile.mkdtemp(prefix="kv90-signed-")
        unittest.addModuleCleanup(shutil.rmtree, work, True)
        publisher = Publisher(work, "KV90")
        out = os.path.join(work, "package")
        code, output = pack(settings.package_inputs(), out, publisher.environment())
        if code != 0:
            raise AssertionError("the signed package was not made:\n" + output)
        files = output.split()
        _signed.update(work=work, publisher=publisher, folder=os.path.join(out, "Finger_KV90"),
                       setup=next(f for f in files if f.endswith("-setup.exe")),
                       zip=next(f for f in files if f.endswith(".zip")))
    return _signed


def unsigned_program(name):
    """A program of the build's unsigned package."""
    return os.path.join(os.path.dirname(settings.setup_exe()), "Finger_KV90", *name.split("/"))


def read(path):
    with open(path, "rb") as f:
        return f.read()


class SignedRelease(unittest.TestCase):

    def test_every_program_of_ours_carries_a_signature_that_verifies_and_nothing_else_changed(self):
        release = signed_release()
        ca = release["publisher"].ca
        for name in SIGNED_PROGRAMS:
            with self.subTest(program=name):
                signed = os.path.join(release["folder"], *name.split("/"))
                self.assertEqual(verify(signed, ca), (True, unittest.mock.ANY))
                # Nothing but the signature tells the signed program from the build's.
                self.assertEqual(without_signature(signed, os.path.join(release["work"], "stripped")),
                                 read(unsigned_program(name)))
        self.assertEqual(verify(release["setup"], ca), (True, unittest.mock.ANY))
        # The zip carries the signed programs, and the scanner's stand-ins in neither file.
        with zipfile.ZipFile(release["zip"]) as z:
            self.assertEqual(set(z.namelist()), {"Finger_KV90/"} | {"Finger_KV90/" + n for n in PROGRAM | WEB_SERVICE})
            for name in SIGNED_PROGRAMS:
                self.assertEqual(z.read("Finger_KV90/" + name), read(os.path.join(release["folder"], *name.split("/"))))

    def test_a_changed_byte_or_another_publishers_key_fails_verification(self):
        release = signed_release()
        ca = release["publisher"].ca
        changed = os.path.join(release["work"], "changed.exe")
        data = bytearray(read(os.path.join(release["folder"], "Finger_KV90.exe")))
        data[len(data) // 2] ^= 0x01
        with open(changed, "wb") as f:
            f.write(data)
        ok, output = verify(changed, ca)
        self.assertFalse(ok, output)
        self.assertIn("MISMATCH", output)

        other = Publisher(release["work"], "Other")
        foreign = os.path.join(release["work"], "foreign.exe")
        shutil.copyfile(unsigned_program("Finger_KV90.exe"), foreign)
        self.assertEqual(sign_one(foreign, other.environment())[0], 0)
        self.assertEqual(verify(foreign, other.ca), (True, unittest.mock.ANY))
        ok, output = verify(foreign, ca)
        self.assertFalse(ok, output)

    def test_a_signature_that_does_not_verify_or_a_wrong_password_stops_the_package_naming_the_file(self):
        release = signed_release()
        publisher = release["publisher"]
        other = Publisher(release["work"], "Untrusted")
        for why, env in (("a wrong password", publisher.environment(password="wrong")),
                         ("verified against another authority", dict(publisher.environment(), KV90_SIGN_CA=other.ca))):
            with self.subTest(why):
                out = tempfile.mkdtemp(dir=release["work"])
                code, output = pack(settings.package_inputs(), out, env)
                self.assertNotEqual(code, 0)
                self.assertIn(os.path.join(out, "Finger_KV90", "Finger_KV90.exe"), output)
                self.assertEqual(os.listdir(out), [], "half a package was left")
        with self.subTest("no certificate"):
            env = dict(publisher.environment(), KV90_SIGN_CERT=os.path.join(release["work"], "none.pfx"))
            self.assertNotEqual(pack(settings.package_inputs(), tempfile.mkdtemp(dir=release["work"]), env)[0], 0)


class SignedInstallation(InstallerTestCase):

    def test_the_signed_setup_installs_a_signed_station_and_removes_it(self):
        release = signed_release()
        ca = release["publisher"].ca
        folder = "C:\KV90 签名"
        path = unix_path(folder)
        self.remove_afterwards(folder)
        setup = '"%s"' % windows_path(release["setup"])
        self.assertEqual(self.deploy.run(" ".join([setup, "/S", "/SIMULATOR", "/D=" + folder])), 0)
        self.assertEqual(tree(path), PROGRAM | SIMULATOR | {"Uninstall.exe"})
        # The uninstaller was signed before setup packed it. (The web service is not chosen here.)
        for name in ("Finger_KV90.exe", "KV90Host.dll", "x64/KV90Host.dll", "Uninstall.exe"):
            with self.subTest(program=name):
                self.assertEqual(verify(os.path.join(path, *name.split("/")), ca), (True, unittest.mock.ANY))
        # The scanner's stand-ins are not the vendor's libraries and carry no one's signature.
        for name in ("GALS7302.dll", "GAMC7302.dll"):
            ok, output = verify(os.path.join(path, "KV90DLL", name), ca)
            self.assertFalse(ok, output)
        self.assert_uninstall_entry(folder)
        self.assertEqual(self.deploy.uninstall(folder + "\\Uninstall.exe", "/S", "/PURGE"), 0)
        self.assertFalse(os.path.exists(path))
        self.assertIsNone(registry_values(UNINSTALL_KEY))
