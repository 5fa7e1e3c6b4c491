"""The rig checks itself against windows of its own, so that a failure in the program's tests
is the program's and not the rig's."""

import os
import shutil
import struct
import tempfile
import unittest
import zlib

from kv90e2e import (MB_ICONINFORMATION, MB_ICONWARNING, Image, MessageBox, ProbeTestCase, config_value,
                     log_lines, set_config_value, wait_until, write_config_text)
from kv90e2e import winefaults

# Lines of each kind of fault, as Wine 8 and the C++ runtime write them.
FAULT_SAMPLES = {
    "an exception ignored in a window procedure": b"0024:err:seh:KiUserCallbackDispatcher ignoring exception",
    "a freed block used again": b"0024:warn:heap:unsafe_block_from_ptr heap 00140000, block 00155B60: delayed freed block",
    "a damaged heap": b"0024:err:heap:validate_used_block heap 00140000, block 00155B60: invalid block size",
    "a page fault": b"wine: Unhandled page fault on write access to 00000000 at address 004015C4 (thread 0024), "
                    b"starting debugger...",
    "the debugger's report": b"Unhandled exception: page fault on write access to 0x00000000 in 32-bit code (0x004015c4).",
    "a stack overflow": b"wine: Unhandled stack overflow at address 0040B5F3 (thread 0024), starting debugger...",
    "a stack overflow Wine could not raise": b"0024:err:virtual:virtual_setup_exception stack overflow 1104 bytes "
                                             b"addr 0x7bc4ed7f stack 0x220bb0 (0x220000-0x221000-0x320000)",
    "an exception while the last one was being raised": b"0024:err:virtual:virtual_setup_exception nested exception "
                                                          b"on signal stack addr 0x7bc4ed7f stack 0x7ffd1f40",
    "a heap call Wine only stubs": b"0024:fixme:heap:RtlSetHeapInformation handle 00140000, info_class 0, "
                                   b"info 0032FB48, size 4 stub!",
    "a division by zero": b"wine: Unhandled division by zero at address 00401636 (thread 0024), starting debugger...",
    "the debugger's division by zero": b"Unhandled exception: divide by zero in 32-bit code (0x00401636).",
    "an illegal instruction": b"wine: Unhandled illegal instruction at address 00401654 (thread 0024), "
                              b"starting debugger...",
    "an unimplemented function": b"wine: Call from 7B012866 to unimplemented function "
                                 b"KERNEL32.dll.BaseCheckAppcompatCache, aborting",
    "an exception nothing caught": b"terminate called after throwing an instance of 'std::runtime_error'",
    "terminate outside an exception": b"terminate called without an active exception",
    "terminate while terminating": b"terminate called recursively",
    "the runtime's own end": b"This application has requested the Runtime to terminate it in an unusual way.",
    "abort": b"abnormal program termination",
}
# Output of a quiet run, none of it a fault.
QUIET_LINES = [
    b"0024:fixme:ole:CoInitializeSecurity stub",
    b"[ RUN      ] StagedFileTest.NoFailureReadsAsSuccess",
    b"Register dump:",
    b"wine: configuration in L\"/tmp/kv90-wine\" has been updated.",
]


class ProbeOnTheDesktop(ProbeTestCase):

    def show_box(self, caption, text, style=MB_ICONWARNING):
        self.probe.show_reference_box(style, caption, text)
        return wait_until(lambda: self._painted_box(caption), what="the probe's message box")

    def test_chinese_texts_cross_the_pipe_and_the_mouse_presses_a_button(self):
        box = self.show_box("提示", "已经有一个指纹采集窗口运行...")
        self.assertEqual(box.caption, "提示")
        self.assertEqual(box.text, "已经有一个指纹采集窗口运行...")
        self.assertEqual(len(box.buttons), 1)
        box.press(box.buttons[0], screen=self.screen)
        wait_until(box.gone, what="the box to close after a click through X")

    def test_windows_live_inside_the_wine_virtual_desktop(self):
        # Outside a virtual desktop, nobody draws the window frames under a bare X server.
        self.assertTrue(self.screen.has_virtual_desktop(), "no Wine virtual desktop on the X display")
        caption = "kv90e2e where am I"
        box = self.show_box(caption, "x")
        try:
            self.assertNotIn(caption, self.screen.x_toplevel_names(),
                             "Wine put the window on the X root instead of into its virtual desktop")
        finally:
            box.press(box.buttons[0])
            wait_until(box.gone)

    def test_screenshot_pixels_agree_with_win32(self):
        box = self.show_box("kv90e2e pixels", "pixels")
        try:
            self.painted_icon(box)
            left, top, right, bottom = box.icon["rect"]
            shot = self.screen.shot()
            for x, y in ((left + 16, top + 16), (left + 8, top + 24), (right + 3, top + 2)):
                self.assertEqual(shot.pixel(x, y), self.probe.pixel(x, y), "at %d,%d" % (x, y))
        finally:
            box.press(box.buttons[0])
            wait_until(box.gone)

    def test_icons_of_different_kinds_differ(self):
        warning = self.reference_icon(MB_ICONWARNING)
        information = self.reference_icon(MB_ICONINFORMATION)
        self.assertEqual((warning.width, warning.height), (32, 32))
        self.assertEqual(warning.foreground_agreement(warning), 1.0)
        self.assertLess(warning.foreground_agreement(information), 0.5)
        self.assertLess(information.foreground_agreement(warning), 0.5)

    def test_named_mutexes_are_held_seen_and_freed(self):
        name = "kv90e2e_rig_mutex"
        self.assertFalse(self.probe.mutex_exists(name))
        self.assertFalse(self.probe.hold_mutex(name))
        self.assertTrue(self.probe.mutex_exists(name))
        self.probe.release_mutex(name)
        self.assertFalse(self.probe.mutex_exists(name))

    def test_named_mappings_are_created_and_read(self):
        name = "kv90e2e_rig_mapping"
        self.assertIsNone(self.probe.read_mapping(name, 4))
        self.probe.create_mapping(name, 64, b"\x01\x02\x03")
        try:
            self.assertEqual(self.probe.read_mapping(name, 4), b"\x01\x02\x03\x00")
        finally:
            self.probe.close_mapping(name)

    def test_host_stand_in_records_messages(self):
        host = self.probe.start_host()
        try:
            self.probe.post(host, "FINGERMSG", 3124, 7)
            self.probe.copy_data(host, "张三".encode("gbk"), dw_data=5)
            events = []
            # A sent message overtakes a posted one, so the order of arrival is not the order of sending.
            wait_until(lambda: events.extend(self.probe.host_events()) or len(events) >= 2, what="the host's messages")
            posted = [e for e in events if e["msg"] == self.probe.register_message("FINGERMSG")]
            copied = [e for e in events if e["msg"] == 0x4A]
            self.assertEqual([(e["wparam"], e["lparam"], e["sent"]) for e in posted], [(3124, 7, False)])
            self.assertEqual([bytes.fromhex(e["hex"]).decode("gbk") for e in copied], ["张三"])
            self.assertEqual(copied[0]["dwdata"], 5)
        finally:
            self.probe.stop_host()

    def test_message_box_reader_finds_boxes_by_process(self):
        box = self.show_box("kv90e2e find", "find me")
        try:
            found = MessageBox.find(self.probe, self.probe.pid)
            self.assertEqual(found.hwnd, box.hwnd)
        finally:
            box.press(box.buttons[0])
            wait_until(box.gone)


class WineFaultScan(unittest.TestCase):
    """The scan that fails a test on Wine's fault reports, on lines of every kind."""

    def test_each_kind_of_fault_line_is_found_and_nothing_else(self):
        for kind, line in FAULT_SAMPLES.items():
            with self.subTest(kind):
                self.assertEqual(winefaults.fault_lines(b"\n".join(QUIET_LINES + [line, b""])), [line.decode()])
        self.assertEqual(winefaults.fault_lines(b"\r\n".join(QUIET_LINES)), [])

    def test_a_scan_goes_on_where_the_last_one_ended_and_leaves_out_only_what_is_expected(self):
        folder = tempfile.mkdtemp(prefix="kv90e2e-rig-")
        self.addCleanup(lambda: shutil.rmtree(folder))
        path = os.path.join(folder, "run1.err")
        fault = FAULT_SAMPLES["a page fault"]
        with open(path, "wb") as f:
            f.write(fault + b"\n")
        first = winefaults.Scan(path)
        self.assertEqual((first.faults, first.end), ([fault.decode()], len(fault) + 1))
        with open(path, "ab") as f:
            f.write(b"quiet\n" + fault + b"\n")
        # Expected from the second one's offset on: the first is still a fault.
        later = winefaults.Scan(path, 0, lambda offset, line: offset >= first.end and "page fault" in line)
        self.assertEqual(later.faults, [fault.decode()])
        self.assertEqual(winefaults.Scan(path, first.end).faults, [fault.decode()])
        self.assertEqual(winefaults.Scan(os.path.join(folder, "none.err")).faults, [])

    def test_a_fault_line_split_between_two_scans_is_read_whole_by_the_later_one(self):
        folder = tempfile.mkdtemp(prefix="kv90e2e-rig-")
        self.addCleanup(lambda: shutil.rmtree(folder))
        path = os.path.join(folder, "run1.err")
        fault = FAULT_SAMPLES["a page fault"]
        with open(path, "wb") as f:
            f.write(b"quiet\n" + fault[:20])
        first = winefaults.Scan(path)
        self.assertEqual((first.faults, first.end), ([], len(b"quiet\n")))
        with open(path, "ab") as f:
            f.write(fault[20:] + b"\n")
        self.assertEqual(winefaults.Scan(path, first.end).faults, [fault.decode()])
        # Once the writer has ended, a last line without its end of line counts.
        with open(path, "ab") as f:
            f.write(fault)
        self.assertEqual(winefaults.Scan(path, len(b"quiet\n") + len(fault) + 1, ended=True).faults, [fault.decode()])


class ADeliberateFault(unittest.TestCase):
    """A process that faults fails the test that started it, though only the probe started it."""

    def test_in_a_process_the_probe_started_fails_the_case(self):
        class ProbeStarted(ProbeTestCase):
            def run_notepad(self, fault):
                pid = self.probe.call("spawn", "notepad.exe")["pid"]
                wait_until(lambda: self.probe.windows(pid=pid, visible=True), what="notepad's window")
                if fault:
                    self.probe.inject_fault(pid)
                else:
                    self.probe.terminate(pid)
                wait_until(lambda: self.probe.exit_code(pid) is not None, timeout=60, what="notepad's end")
                # The debugger that Wine starts for an unhandled fault has said its piece once it has ended.
                wait_until(lambda: not [p for p in self.probe.processes() if "winedbg" in p["path"].lower()],
                           timeout=60, what="the debugger's end")

            def test_that_faults(self):
                self.run_notepad(fault=True)

            def test_that_is_ended(self):
                self.run_notepad(fault=False)

        result = unittest.TestResult()
        unittest.TestSuite([ProbeStarted("test_that_faults"), ProbeStarted("test_that_is_ended")]).run(result)
        self.assertEqual(result.errors, [])
        self.assertEqual([test._testMethodName for test, _ in result.failures], ["test_that_faults"],
                         "failures: %r" % result.failures)
        report = result.failures[0][1]
        self.assertIn("Wine reported", report)
        self.assertIn("wine: Unhandled page fault on execute access to 00000010", report)


class ProgramFiles(unittest.TestCase):
    """The helpers for the program's GBK files, on files of their own."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kv90e2e-rig-")
        os.makedirs(os.path.join(self.folder, "Config"))
        os.makedirs(os.path.join(self.folder, "LogFiles"))

    def tearDown(self):
        shutil.rmtree(self.folder)

    def test_config_values_are_replaced_and_added_in_their_section(self):
        write_config_text(self.folder, "[Other]\nFQuality=1\n[KV90]\nRollMode=1\nfquality=50\n\n[Tail]\nX=1\n")
        set_config_value(self.folder, "FQuality", "abc")
        set_config_value(self.folder, "Bright", "7")
        self.assertEqual(config_value(self.folder, "FQuality"), "abc")
        self.assertEqual(config_value(self.folder, "FQuality", section="Other"), "1")
        self.assertEqual(config_value(self.folder, "Bright"), "7")
        self.assertIsNone(config_value(self.folder, "Bright", section="Tail"))
        with open(os.path.join(self.folder, "Config", "Config.ini"), "rb") as f:
            self.assertNotIn(b"\n", f.read().replace(b"\r\n", b""))

    def test_log_lines_are_split_and_parsed_from_gbk(self):
        path = os.path.join(self.folder, "LogFiles", "FINGER20261206.txt")
        with open(path, "wb") as f:
            f.write("2026-12-06 13:52:07 : 初始化KV90指纹采集设备失败:x\r\n2026-12-06 13:52:08 : \r\n".encode("gbk"))
        lines = log_lines(self.folder)
        self.assertEqual([l.text for l in lines], ["初始化KV90指纹采集设备失败:x", ""])
        self.assertTrue(all(l.well_formed for l in lines))
        self.assertEqual(lines[0].stamp.second, 7)

    def test_png_is_written_with_the_pixels_of_the_image(self):
        # Three columns and two rows of different colours, so that a swapped axis or channel shows.
        rgb = bytes([255, 0, 0, 0, 255, 0, 0, 0, 255,
                     10, 20, 30, 255, 255, 255, 0, 0, 0])
        path = os.path.join(self.folder, "x.png")
        Image(3, 2, rgb).save_png(path)
        with open(path, "rb") as f:
            width, height, pixels = decode_png(f.read())
        self.assertEqual((width, height), (3, 2))
        self.assertEqual(pixels, rgb)
        # A crop of a screen image keeps its pixels through the file too.
        cropped = Image(3, 2, rgb).crop(1, 1, 2, 1)
        cropped.save_png(path)
        with open(path, "rb") as f:
            self.assertEqual(decode_png(f.read()), (2, 1, bytes([255, 255, 255, 0, 0, 0])))


def decode_png(data):
    """(width, height, RGB bytes row by row) of an 8-bit RGB PNG without interlacing; checks every chunk's CRC."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise AssertionError("no PNG signature")
    pos, chunks = 8, []
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc, = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if crc != zlib.crc32(kind + body) & 0xFFFFFFFF:
            raise AssertionError("the CRC of chunk %r is wrong" % kind)
        chunks.append((kind, body))
        pos += 12 + length
    if [k for k, _ in chunks][0] != b"IHDR" or chunks[-1][0] != b"IEND":
        raise AssertionError("chunks %r" % [k for k, _ in chunks])
    width, height, depth, colour, compression, filtering, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    if (depth, colour, compression, filtering, interlace) != (8, 2, 0, 0, 0):
        raise AssertionError("not an 8-bit RGB PNG without interlacing")
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    stride = width * 3
    if len(raw) != height * (stride + 1):
        raise AssertionError("%d bytes of image data for %dx%d" % (len(raw), width, height))
    rows, previous = [], bytes(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 3] if i >= 3 else 0
            up = previous[i]
            corner = previous[i - 3] if i >= 3 else 0
            if kind == 0:
                predicted = 0
            elif kind == 1:
                predicted = left
            elif kind == 2:
                predicted = up
            elif kind == 3:
                predicted = (left + up) // 2
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                predicted = left if pa <= pb and pa <= pc else up if pb <= pc else corner
            else:
                raise AssertionError("filter type %d in row %d" % (kind, y))
            line[i] = (line[i] + predicted) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, b"".join(rows)


if __name__ == "__main__":
    unittest.main()
