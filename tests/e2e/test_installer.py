"""The release package as an office's IT uses it: the zip, unattended installation into a folder with
Chinese characters and a space, the station captured from there, an upgrade that keeps the settings,
refusals while a capture program runs, removal that leaves no finger images, and the setup pages."""

import filecmp
import os
import shutil
import unittest
import zipfile

from kv90e2e import MessageBox, layout, set_config_value, config_value, wait_until, windows_path
from kv90e2e import settings
from kv90e2e.hostsim import HOST_CODE_COLLECTED
from kv90e2e.package import (EXIT_REFUSED, UNINSTALL_KEY, Deployment, VersionResource, registry_values,
                             repository_version, start_menu_folder, tree)
from kv90e2e.program import ProgramFolder, unix_path
from kv90e2e.scanner import Scanner
from kv90e2e.station import COLLECT, FINISH, StationTestCase

# Shortcuts made under Wine would otherwise also become menu entries of the Linux desktop.
os.environ["WINEDLLOVERRIDES"] = os.environ.get("WINEDLLOVERRIDES", "") + ";winemenubuilder.exe=d"

PRODUCT = "KV90指纹采集"
PUBLISHER = "KV90指纹采集站开发组"
TRAINING_FOLDER = "C:\\培训 站\\指纹 采集"
MARKER = "模拟扫描仪.txt"
HELD = dict(Journal=1, Pace=5, Finger="hold", MOSAIC_DoMosaic="1,2",
            MOSAIC_FingerQuality=80, MOSAIC_ImageQuality=80)

PROGRAM = {"Finger_KV90.exe", "Config/", "Config/Config.ini", "KV90DLL/", "LogFiles/", "Temp/"}
SIMULATOR = {"KV90DLL/GALS7302.dll", "KV90DLL/GAMC7302.dll", "KV90DLL/" + MARKER}
RUNNING_INSTALL = ("指纹采集程序（KV90、LX20 或 NR50）正在运行。\r\n\r\n"
                   "请先关闭指纹采集程序，然后再运行安装程序。")


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
        with zipfile.ZipFile(settings.package_zip()) as z:
            self.assertEqual(set(z.namelist()), {"Finger_KV90/"} | {"Finger_KV90/" + n for n in PROGRAM})
            with open(os.path.join(settings.stage_dir(), "Finger_KV90.exe"), "rb") as f:
                self.assertEqual(z.read("Finger_KV90/Finger_KV90.exe"), f.read())
            self.assertEqual(z.read("Finger_KV90/Config/Config.ini"), default_config())


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
        self.start_station(person="0001$张三", **HELD)
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
        self.assertEqual(tree(path), {"Config/", "Config/Config.ini", "LogFiles/", "LogFiles/FINGER20260101.txt"})
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
        folder = "C:\\Program Files\\Finger_KV90"
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
        self.assertEqual(tree(unix_path(folder)), {"Config/", "Config/Config.ini", "LogFiles/"})


if __name__ == "__main__":
    unittest.main()
