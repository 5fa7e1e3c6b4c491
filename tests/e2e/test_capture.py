"""The capture command: the ten fingers of one person, the host told synchronously, the quality gates
with their exact texts, and person names that cannot be file names."""

import filecmp
import os
import subprocess
import time
import unittest

from kv90e2e import MB_ICONWARNING, layout, set_config_value, wait_until
from kv90e2e.hostsim import HOST_CODE_COLLECTED
from kv90e2e.station import COLLECT, GOOD, HELD, VIEW, StationTestCase, bmp_size, caption_for

UNSAFE_BOX = "人员编号或姓名中含有不能用于文件名的字符,不能保存指纹"
UNSAFE_LOG = "人员编号或姓名不能用作文件名,未保存指纹:"


def finger_text(fq, minimum):
    return "指纹质量不合格\r当前指采集指纹质量为【%d】\r指纹质量应该达到【%d~100】之间" % (fq, minimum)


def image_text(iq, minimum):
    return "图像质量不合格\r当前图像采集质量为【%d】\r图像质量应该达到【%d~100】之间" % (iq, minimum)


def identify(paths):
    """ImageMagick's view of the files: (format, width, height) each."""
    out = subprocess.run(["identify", "-format", "%m %w %h\n"] + list(paths), check=True,
                         stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120).stdout.decode()
    return [tuple(int(v) if v.isdigit() else v for v in line.split()) for line in out.splitlines()]


class TenFingers(StationTestCase):

    def wait_held_roll(self, saves_before, quiet=0.4, timeout=40):
        """Waits until the rolling finger has been stitched and is held still: new preview files were
        written since `saves_before`, none for `quiet` seconds, and the preview shows the finger."""
        state = {"count": None, "since": None}

        def held():
            count = self.saves()
            now = time.monotonic()
            if count != state["count"]:
                state.update(count=count, since=now)
                return False
            return count > saves_before and now - state["since"] >= quiet and self.preview_dark() > 200
        wait_until(held, timeout, interval=0.05, what="a finger rolled and held on the scanner")

    def test_all_ten_fingers_of_one_person_with_a_rolling_finger(self):
        # The realistic scanner: real rolls at the scanner's pace and real quality scores against the
        # default gates (50 and 60). Only the pause between two fingers is shortened.
        self.start_station(person="0001$张三", Journal=1, GapFrames=10)
        self.retries = 0
        person_files = []
        for slot in layout.SLOTS:
            with self.subTest(slot=slot.number):
                self.wait_status(slot.finger_text)
                self.assertFalse(self.enabled(VIEW))
                self.store_rolled_finger(slot.number)
                note = self.host.notifications(HOST_CODE_COLLECTED)[-1]
                self.assertEqual((note.value, note.sent), (slot.number, True))
                plain = self.temp("%d.bmp" % slot.number)
                person = self.temp("0001$张三_%d.bmp" % slot.number)
                self.assertTrue(os.path.exists(plain), "no %d.bmp" % slot.number)
                self.assertTrue(os.path.exists(person), "no person file for slot %d" % slot.number)
                self.assertTrue(filecmp.cmp(plain, person, shallow=False), "the two slot files differ")
                self.assertEqual(bmp_size(person), (640, 640))
                person_files.append(person)
                self.wait_preview_empty()
                following = layout.SLOTS[min(slot.number + 1, 9)]
                self.wait_status(following.finger_text)
                self.assertTrue(self.no_message_box(), "a message box came up")
                wait_until(lambda: slot.number in self.occupied_slots(), what="the thumbnail of slot %d" % slot.number)
        self.screen.park_pointer()
        self.save_main_shot("captured.png")
        self.assertEqual(self.occupied_slots(), list(range(10)))
        # After the last slot the selection stays on slot 9, and the view button keeps its state.
        self.assertFalse(self.enabled(VIEW))
        self.assertEqual([(kind[:3], w, h) for kind, w, h in identify(person_files)], [("BMP", 640, 640)] * 10)
        self.host.sync()
        self.assertEqual([n.value for n in self.host.notifications(HOST_CODE_COLLECTED)], list(range(10)))
        self.assertEqual(self.log_texts(), [])
        self.assertLessEqual(len(self.scanner.calls("MOSAIC_FingerQuality")), 10 + self.retries)

    def store_rolled_finger(self, slot):
        """Presses the capture button once a roll is held. The press is the test's, not an operator's: on a
        busy machine it may come late, when the finger is lifted (nothing happens) or already rolling again
        (a partial roll that the gates refuse); then it is pressed again on the next roll, at most twice."""
        for attempt in range(3):
            self.wait_held_roll(self.saves())
            notes = len(self.host.notifications(HOST_CODE_COLLECTED))
            asked = len(self.scanner.calls("MOSAIC_FingerQuality"))
            self.press(COLLECT)

            def outcome():
                if len(self.host.notifications(HOST_CODE_COLLECTED)) > notes:
                    return "stored"
                if not self.no_message_box():
                    return "refused"
                return None
            try:
                result = wait_until(outcome, timeout=10, what="the finger stored or refused")
            except AssertionError:
                if len(self.scanner.calls("MOSAIC_FingerQuality")) > asked:
                    raise  # qualities were asked, yet neither stored nor refused
                result = "missed"
            if result == "stored":
                return
            if result == "refused":
                box = self.wait_message_box()
                fq = self.scanner.calls("MOSAIC_FingerQuality")[-1].result
                iq = self.scanner.calls("MOSAIC_ImageQuality")[-1].result
                self.assertIn(box.text, (finger_text(fq, 50), image_text(iq, 60)),
                              "the box does not agree with the qualities %d and %d" % (fq, iq))
                self.assertTrue(fq < 50 or iq < 60, "qualities %d and %d were refused" % (fq, iq))
                self.close_box(box)
            self.retries += 1
        self.fail("slot %d: no finger stored in three presses" % slot)


class HostToldSynchronously(StationTestCase):

    def test_slot_files_exist_while_the_host_holds_its_answer(self):
        # The host answers only when the test lets it, however long the checks below take.
        self.start_station(person="1234$XYZ", host_options=("--never-answer",), **HELD, **GOOD)
        self.click_slot(7)
        self.wait_status(layout.SLOTS[7].finger_text)
        self.offer_finger()
        self.press(COLLECT)
        note = self.host.wait_notifications(HOST_CODE_COLLECTED)[0]
        self.assertEqual((note.value, note.sent), (7, True))
        # The host has not answered yet: the files are written, the preview and the selection wait.
        self.assertTrue(os.path.exists(self.temp("7.bmp")))
        self.assertTrue(os.path.exists(self.temp("1234$XYZ_7.bmp")))
        self.assertGreater(self.preview_dark(), 200, "the preview was emptied before the host answered")
        self.wait_status(layout.SLOTS[7].finger_text)
        self.host.ok("release")
        answer = self.host.wait_line(lambda l: l.startswith("answer code=3224"), what="the held answer")
        self.assertIn("how=released", answer)
        self.wait_preview_empty()
        self.wait_status(layout.SLOTS[8].finger_text)
        self.assertEqual(self.host.notifications(HOST_CODE_COLLECTED)[0].value, 7)

    def test_the_last_slot_stays_current_and_a_full_next_slot_is_not_chosen(self):
        self.start_station(person="1234$XYZ", **HELD, **GOOD)
        self.click_slot(9)
        self.wait_status(layout.SLOTS[9].finger_text)
        self.offer_finger()
        self.press(COLLECT)
        self.host.wait_notifications(HOST_CODE_COLLECTED)
        self.wait_preview_empty()
        self.wait_status(layout.SLOTS[9].finger_text)
        self.assertFalse(self.enabled(VIEW), "the capture changed the view button")
        # Slot 8 captured next: slot 9 is occupied, so the selection stays on 8.
        self.click_slot(8)
        self.wait_status(layout.SLOTS[8].finger_text)
        self.offer_finger()
        self.press(COLLECT)
        notes = self.host.wait_notifications(HOST_CODE_COLLECTED, count=2)
        self.assertEqual([n.value for n in notes], [9, 8])
        self.wait_preview_empty()
        self.wait_status(layout.SLOTS[8].finger_text)
        self.assertEqual(sorted(f for f in self.temp_files() if f.endswith(".bmp") and "$" not in f),
                         ["8.bmp", "9.bmp", "FPTemp.bmp"])

    def test_person_texts_are_split_at_the_first_dollar_into_the_file_names(self):
        self.start_station(person="AB", **HELD, **GOOD)
        expected = []
        for slot, (text, caption_name, person_file) in enumerate((
                ("AB", "AB", "$AB_0.bmp"),
                ("A$B$C", "B$C", "A$B$C_1.bmp"),
                ("A$", "", "A$_2.bmp"),
                ("", "", "$_3.bmp"),
                ("$B", "B", "$B_4.bmp"))):
            with self.subTest(text=text):
                if slot:
                    self.host.ok("person " + text)
                self.wait_caption(caption_for(caption_name))
                self.wait_status(layout.SLOTS[slot].finger_text)
                self.offer_finger()
                self.press(COLLECT)
                self.host.wait_notifications(HOST_CODE_COLLECTED, count=slot + 1)
                expected.append(person_file)
                self.assertEqual(sorted(f for f in self.temp_files() if "_" in f), sorted(expected))
        # A new person keeps the fingers captured so far.
        self.assertEqual(self.occupied_slots(), [0, 1, 2, 3, 4])


class QualityGates(StationTestCase):

    def capture_refused(self, text):
        before = len(self.host.notifications(HOST_CODE_COLLECTED))
        self.press(COLLECT)
        box = self.wait_message_box()
        self.assert_box(box, text)
        return box, before

    def test_gates_with_their_texts_and_thresholds(self):
        # Journal=2 records the per-frame calls too, so that stitching while a box is open would show.
        self.start_station(person="1234$XYZ", **dict(HELD, Journal=2), MOSAIC_FingerQuality=42, MOSAIC_ImageQuality=90)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.wait_preview_finger()
        asked = len(self.scanner.calls("MOSAIC_ImageQuality"))

        box, before = self.capture_refused(finger_text(42, 50))
        agreement = self.reference_icon(MB_ICONWARNING).foreground_agreement(self.painted_icon(box))
        self.assertGreater(agreement, 0.9, "the box does not show the warning icon")
        # Frames go on while the box is open, but the mosaic library is left alone.
        stitching = lambda: len(self.scanner.calls("MOSAIC_IsFinger")) + len(self.scanner.calls("MOSAIC_DoMosaic"))
        fetches, stitched = len(self.scanner.calls("LIVESCAN_GetFPRawData")), stitching()
        wait_until(lambda: len(self.scanner.calls("LIVESCAN_GetFPRawData")) > fetches + 5, what="frames")
        self.assertEqual(stitching(), stitched)
        self.close_box(box)
        # Both qualities are asked before either is compared.
        self.assertEqual(len(self.scanner.calls("MOSAIC_ImageQuality")), asked + 1)
        self.assertNothingStored(before)

        with self.subTest("image quality one below its threshold"):
            self.scanner.configure(MOSAIC_FingerQuality=50, MOSAIC_ImageQuality=59)
            self.offer_finger()
            box, before = self.capture_refused(image_text(59, 60))
            self.close_box(box)
            self.assertNothingStored(before)

        with self.subTest("both too low: only the finger message"):
            self.scanner.configure(MOSAIC_FingerQuality=10, MOSAIC_ImageQuality=10)
            self.offer_finger()
            box, before = self.capture_refused(finger_text(10, 50))
            self.close_box(box)
            self.assertNothingStored(before)

        with self.subTest("both exactly at their thresholds pass"):
            self.scanner.configure(MOSAIC_FingerQuality=50, MOSAIC_ImageQuality=60)
            self.offer_finger()
            self.press(COLLECT)
            note = self.host.wait_notifications(HOST_CODE_COLLECTED)[-1]
            self.assertEqual(note.value, 0)
            self.assertTrue(os.path.exists(self.temp("0.bmp")))
            self.assertTrue(os.path.exists(self.temp("1234$XYZ_0.bmp")))
            self.wait_status(layout.SLOTS[1].finger_text)

        with self.subTest("a refused capture of an occupied slot"):
            self.click_slot(0)
            self.wait_status(layout.SLOTS[0].finger_text)
            wait_until(lambda: 0 in self.occupied_slots(), what="the finger of slot 0 on screen")
            files = {name: self.file_bytes(name) for name in ("0.bmp", "1234$XYZ_0.bmp")}
            self.scanner.configure(MOSAIC_FingerQuality=42, MOSAIC_ImageQuality=90)
            self.offer_finger()
            box, before = self.capture_refused(finger_text(42, 50))
            self.close_box(box)
            # The refused command keeps frame processing paused until it ends: a new finger image shown
            # means it has ended. The slot keeps its finger, on screen and in its files, and stays viewable.
            self.offer_finger()
            self.host.sync()
            self.assertEqual(len(self.host.notifications(HOST_CODE_COLLECTED)), before)
            self.assertIn(0, self.occupied_slots(), "the refused capture took the finger of slot 0 off the screen")
            self.assertEqual({name: self.file_bytes(name) for name in files}, files,
                             "the refused capture changed the files of slot 0")
            self.wait_status(layout.SLOTS[0].finger_text)
            self.assertTrue(self.enabled(VIEW), "slot 0 keeps its finger but cannot be viewed")

    def file_bytes(self, name):
        """The bytes of a file in Temp\\, or None when there is none."""
        try:
            with open(self.temp(name), "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def assertNothingStored(self, notes_before):
        # The refused command keeps frame processing paused until it ends: once a new finger image is
        # shown, it has ended, and what it did is there to see.
        self.offer_finger()
        self.assertTrue(self.no_message_box(), "a second message box came up")
        self.host.sync()
        self.assertEqual(len(self.host.notifications(HOST_CODE_COLLECTED)), notes_before)
        self.assertEqual([f for f in self.temp_files() if f != "FPTemp.bmp" and f.startswith(("0", "1234"))], [])
        self.wait_status(layout.SLOTS[0].finger_text)
        self.assertNotIn(0, self.occupied_slots())

    def test_without_gates_no_quality_is_asked(self):
        set_config_value(self.folder.path, "IsQuality", "0")
        self.start_station(person="1234$XYZ", **HELD, MOSAIC_FingerQuality=10, MOSAIC_ImageQuality=10)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.wait_preview_finger()
        self.press(COLLECT)
        self.assertEqual(self.host.wait_notifications(HOST_CODE_COLLECTED)[0].value, 0)
        self.assertTrue(os.path.exists(self.temp("1234$XYZ_0.bmp")))
        names = self.scanner.names()
        self.assertNotIn("MOSAIC_FingerQuality", names)
        self.assertNotIn("MOSAIC_ImageQuality", names)


class StoringFails(StationTestCase):

    def test_a_slot_file_that_cannot_be_written_reaches_the_error_report_and_stores_nothing(self):
        self.start_station(person="1234$XYZ", **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.wait_preview_finger()
        os.mkdir(self.temp("0.bmp"))  # the file system refuses a file of that name
        self.press(COLLECT)
        box = self.wait_message_box()
        self.assertEqual(box.caption, "KV90指纹采集")
        self.assertIn("0.bmp", box.text)
        self.close_box(box)
        self.assertFalse([t for t in self.log_texts() if "Wndproc" in t], "the window procedure swallowed it")
        self.host.sync()
        self.assertEqual(self.host.notifications(HOST_CODE_COLLECTED), [])
        self.assertNotIn(0, self.occupied_slots())
        self.assertFalse(os.path.exists(self.temp("1234$XYZ_0.bmp")))
        self.wait_status(layout.SLOTS[0].finger_text)
        # Frame processing runs again: once the folder is fixed, the same slot takes the finger.
        os.rmdir(self.temp("0.bmp"))
        self.offer_finger()
        self.press(COLLECT)
        self.host.wait_notifications(HOST_CODE_COLLECTED)
        self.host.sync()
        self.assertEqual([n.value for n in self.host.notifications(HOST_CODE_COLLECTED)], [0])
        self.assertTrue(os.path.isfile(self.temp("1234$XYZ_0.bmp")))


class UnsafePersonNames(StationTestCase):

    def everything_on_disk(self):
        found = set()
        for top, dirs, files in os.walk(self.folder.root):
            for name in files:
                path = os.path.relpath(os.path.join(top, name), self.folder.root)
                # The test's own files, the log and the scanner's journal are not the capture's doing.
                if not path.endswith((".out", ".err")) and not path.startswith(("KV90/LogFiles/", "KV90/KV90DLL/")):
                    found.add(path)
        return found

    def test_names_that_cannot_be_file_names_are_refused(self):
        self.start_station(person="1234$XYZ", **HELD, **GOOD)
        self.wait_status(layout.SLOTS[0].finger_text)
        self.wait_preview_finger()
        before = self.everything_on_disk()
        # (command, the person text it sends)
        unsafe = [
            ("person ..\\..\\evil$x", "..\\..\\evil$x"),
            ("person a:b$c", "a:b$c"),
            ("person a/b$c", "a/b$c"),
            ("person NUL .a$x", "NUL .a$x"),    # the base name before the dot, spaces dropped, is a device
            ("person COM1 .a$x", "COM1 .a$x"),
            ("person AUX .txt$x", "AUX .txt$x"),
            ("person CONOUT$.x", "CONOUT$.x"),  # CONOUT$.x_0.bmp
            ("copydata-hex 6b0165792478", "k\x01ey$x"),  # a control character in the key
            ("copydata-hex 6b6579246e610961", "key$na\ta"),
        ]
        for number, (command, text) in enumerate(unsafe, start=1):
            with self.subTest(command=command):
                reply = self.host.ok(command)
                if command.startswith("person "):
                    sent = command[len("person "):].encode("gbk") + b"\0"
                    self.assertEqual(reply["hex"], sent.hex(), "the host did not send the text as given")
                if number > 1:
                    self.offer_finger()
                self.press(COLLECT)
                box = self.wait_message_box()
                self.assert_box(box, UNSAFE_BOX)
                self.close_box(box)
                lines = [t for t in self.log_texts() if t.startswith(UNSAFE_LOG)]
                self.assertEqual(len(lines), number, "log: %r" % self.log_texts())
                # The refusal names the text just sent, not the one before it.
                self.assertEqual(lines[-1], UNSAFE_LOG + text)
                self.assertEqual(self.everything_on_disk() - before - {"KV90/Temp/FPTemp.bmp"}, set(),
                                 "something was written")
                self.host.sync()
                self.assertEqual(self.host.notifications(HOST_CODE_COLLECTED), [])
                self.wait_status(layout.SLOTS[0].finger_text)
        # Names that look odd but are plain file names inside Temp\ are stored under exactly their names:
        # a name padded with spaces as fixed-width columns give it, a trailing dot, a device name or ".."
        # inside the name.
        stored = set()
        for slot, text in enumerate(("1234$XYZ ", "1234$Jr.", "CON$x", "a..b$x", "1234$XYZ")):
            with self.subTest(text=text):
                self.host.ok("copydata-hex " + (text.encode("gbk") + b"\0").hex())
                self.offer_finger()
                self.press(COLLECT)
                self.host.wait_notifications(HOST_CODE_COLLECTED, count=slot + 1)
                stored |= {"KV90/Temp/%d.bmp" % slot, "KV90/Temp/%s_%d.bmp" % (text, slot)}
                self.assertEqual(self.everything_on_disk() - before - {"KV90/Temp/FPTemp.bmp"}, stored)
        self.host.sync()
        self.assertEqual([n.value for n in self.host.notifications(HOST_CODE_COLLECTED)], [0, 1, 2, 3, 4])


if __name__ == "__main__":
    unittest.main()
