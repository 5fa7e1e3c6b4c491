"""The rig checks itself against windows of its own, so that a failure in the program's tests
is the program's and not the rig's."""

import os
import struct
import tempfile
import unittest
import zlib

from kv90e2e import (MB_ICONINFORMATION, MB_ICONWARNING, Image, MessageBox, ProbeTestCase, config_value,
                     log_lines, set_config_value, wait_until, write_config_text)


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


class ProgramFiles(unittest.TestCase):
    """The helpers for the program's GBK files, on files of their own."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="kv90e2e-rig-")
        os.makedirs(os.path.join(self.folder, "Config"))
        os.makedirs(os.path.join(self.folder, "LogFiles"))

    def tearDown(self):
        import shutil
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
