"""A compressed operator day: persons named by the host one after another, ten fingers each (some
refused by the quality gates and taken again), every finger viewed, the settings dialog every third
person from the first, the slots cleared, and the station closed by the host at the end; all under
Wine's heap checking.

It prints, per ten persons, the station's memory and object counts, the fingers the host was told of
and the fingers found on disk under the persons' names, and fails when a finger is lost or Wine reports
a fault. Memory: the second person's fingers may add little over the first's; from ten persons on,
memory must hold (the growth limit, reached only by runs of more than ten persons). GDI and USER objects
are compared only where the system counts them: Wine counts none, so under Wine they are printed as
"-" and not compared. KV90_SOAK_PERSONS sets the number of persons (scripts/soak runs fifty; the test
command two, which reach the settings dialog and the second person's comparison, not the growth limit)."""

import os
import sys
import unittest

from kv90e2e import wait_until
from kv90e2e.hostsim import HOST_CODE_CLOSE, HOST_CODE_COLLECTED
from kv90e2e.station import CLEAR, GOOD, HELD, VIEW, StationTestCase, bmp_declared_length, caption_for
from test_capture import finger_text

POOR = dict(MOSAIC_FingerQuality=20, MOSAIC_ImageQuality=80)
# The finger quality the station asks for (FQuality in the staged Config.ini; the settings are saved unchanged).
LEAST_FINGER_QUALITY = 50
WM_CLOSE = 0x0010
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060
# Memory may settle during the first persons (caches, the skin's kept faces); after that it must hold.
GROWTH_LIMIT = 1 << 20
# What one finger of the second person may add to the station's private bytes over the first person's, the
# short run's only comparison. Between two persons the heap's commits alone move them by up to about 1 MB
# (measured: +0.2 MB and +0.9 MB over ten fingers), so the budget catches a finger's images kept (a finger
# image alone is 400 KB), not a few kilobytes a finger; the long run's comparison after ten persons does that.
FINGER_BUDGET = 200 << 10
# What the station's GDI or USER objects may grow by over the first person's end, where the system counts
# them: a leak of one object a finger exceeds it by the tenth person.
OBJECT_LIMIT = 20


def persons():
    return int(os.environ.get("KV90_SOAK_PERSONS", "2"))


def objects_counted(memory):
    """Whether the system counts the process's GDI and USER objects: Wine answers none for any process."""
    return memory["gdi"] > 0 or memory["user"] > 0


def say(text):
    sys.stdout.write(text + "\n")
    sys.stdout.flush()


class OperatorDay(StationTestCase):

    def capture(self, slot, refused_first):
        if refused_first:
            self.scanner.configure(**POOR)
            self.collect_finger(slot)
            box = self.wait_message_box()
            self.assertEqual(box.text, finger_text(POOR["MOSAIC_FingerQuality"], LEAST_FINGER_QUALITY))
            self.close_box(box)
            self.scanner.configure(**GOOD)
        super().capture(slot)

    def view(self, slot, route):
        self.click_slot(slot)
        wait_until(lambda: self.enabled(VIEW), what="the view button for slot %d" % slot)
        self.press(VIEW)
        viewer = self.wait_viewer()
        bars = [c for c in self.probe.children(viewer.hwnd) if c["class"] == "TToolBar"]
        buttons = {b["text"]: b for b in self.probe.toolbar_buttons(bars[0].hwnd)}

        def click(text):
            left, top, right, bottom = buttons[text]["rect"]
            self.screen.click((left + right) // 2, (top + bottom) // 2)
        click("放  大")
        click("缩  小")
        # Each route the operator has to close it, in turn.
        if route == 0:
            self.screen.key("Escape")
        elif route == 1:
            click("退  出")
        elif route == 2:
            self.probe.post(viewer.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0)
        else:
            self.probe.post(viewer.hwnd, WM_CLOSE, 0, 0)
        self.screen.park_pointer()
        self.wait_viewer_closed("the viewer closed by route %d" % route)
        wait_until(lambda: self.probe.window(self.main.hwnd)["enabled"], what="the main window enabled again")

    def settings(self, save):
        self.click_window(self.open_settings()["save" if save else "cancel"])
        if save:
            box = self.wait_message_box()
            self.assertEqual(box.text, "保存设置成功")
            self.close_box(box)
        self.wait_settings_closed()

    def test_an_operator_day(self):
        count = persons()
        self.start_station(**HELD, **GOOD)
        notified = 0
        memory_after_first_ten = None
        first_persons = []
        objects_after_first = None
        say("\npersons  private KB  GDI  USER  faults  notified  on disk")
        for person in range(count):
            key, name = "%04d" % (person + 1), "人员%d" % (person + 1)
            self.host.ok("person %s$%s" % (key, name))
            self.wait_caption(caption_for(name))
            for slot in range(10):
                self.capture(slot, refused_first=(person + slot) % 4 == 0)
            # Every finger announced has both of its files, under the names the host expects.
            files = self.temp_files()
            for slot in range(10):
                for stored in ("%d.bmp" % slot, "%s$%s_%d.bmp" % (key, name, slot)):
                    self.assertIn(stored, files, "%s lost" % stored)
                    self.assertEqual(os.path.getsize(self.temp(stored)), bmp_declared_length(self.temp(stored)),
                                     "%s is not as long as its header says" % stored)
            notified += 10
            # The clear leaves the person files: every finger of the day so far is on disk.
            person_files = [f for f in files if "$" in f]
            on_disk = len(person_files)
            self.assertEqual(on_disk, notified, "person files: %r" % person_files)
            for slot in range(10):
                self.view(slot, (person * 10 + slot) % 4)
            if person % 3 == 0:
                self.settings(save=person % 6 == 0)
            self.press(CLEAR)
            wait_until(lambda: self.occupied_slots() == [], what="all slots empty")
            self.host.sync()
            self.assertEqual(len(self.host.notifications(HOST_CODE_COLLECTED)), notified)
            if person < 2:
                memory = self.probe.memory(self.run_.pid)
                first_persons.append(memory["private"])
                if person == 0 and objects_counted(memory):
                    objects_after_first = memory
            if person == 1:
                per_finger = (first_persons[1] - first_persons[0]) / 10
                say("private bytes per finger of the second person: %+.0f" % per_finger)
                self.assertLess(per_finger, FINGER_BUDGET, "the second person's fingers took %.0f KB each"
                                % (per_finger / 1024))
            if (person + 1) % 10 == 0 or person + 1 == count:
                memory = self.probe.memory(self.run_.pid)
                faults = [line for _, _, lines in self.wine_faults() for line in lines]
                counted = objects_counted(memory)
                say("%7d  %9d  %3s  %4s  %6d  %8d  %7d" % (
                    person + 1, memory["private"] // 1024, memory["gdi"] if counted else "-",
                    memory["user"] if counted else "-", len(faults), notified, on_disk))
                self.assertEqual(faults, [], "Wine reported faults")
                if objects_after_first is not None:
                    for kind in ("gdi", "user"):
                        self.assertLessEqual(memory[kind] - objects_after_first[kind], OBJECT_LIMIT,
                                             "%s objects grew from %d to %d since the first person"
                                             % (kind.upper(), objects_after_first[kind], memory[kind]))
                if person + 1 == 10:
                    memory_after_first_ten = memory["private"]
                elif memory_after_first_ten is not None:
                    self.assertLess(memory["private"] - memory_after_first_ten, GROWTH_LIMIT,
                                    "memory grew by %d KB since the first ten persons"
                                    % ((memory["private"] - memory_after_first_ten) // 1024))
        if objects_after_first is None:
            say("GDI and USER objects not compared: the system counts none")
        if count <= 10:
            say("growth limit not reached: it compares persons after the tenth with the tenth")
        # The host closes the station at the end of the day.
        self.host.ok("close")
        self.host.wait_notifications(HOST_CODE_CLOSE)
        self.assertEqual(self.exit_code(), 0)
        self.host.sync()
        self.assertEqual(len(self.host.notifications(HOST_CODE_CLOSE)), 1)


if __name__ == "__main__":
    unittest.main()
