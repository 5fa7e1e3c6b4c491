"""Choosing the finger slot with the operator's mouse: the status text and the panel colours."""

import unittest

from kv90e2e import layout, wait_until
from kv90e2e.station import VIEW, StationTestCase

COLOR_WINDOW = 5
RED = (255, 0, 0)


class SlotSelection(StationTestCase):

    def setUp(self):
        super().setUp()
        self.start_station(with_host=False)

    def panel_colours(self, shot, slot):
        return {shot.pixel(*self.main.to_screen(x, y)) for x, y in layout.slot_image_samples(slot)}

    def wrong_colours(self, selected, window_colour):
        """What differs from the selection shown by colour: the selected slot panel aqua, the other slot
        panels the window colour. The preview panels are left out: the scanner's live video covers them."""
        shot = self.screen.shot()
        wrong = {}
        for slot in layout.SLOTS:
            expected = layout.AQUA if slot.number == selected else window_colour
            seen = self.panel_colours(shot, slot)
            if seen != {expected}:
                wrong[slot.panel] = seen
        return wrong

    def assert_selected(self, number, window_colour):
        slot = layout.SLOTS[number]
        wait_until(lambda: self.status_text() == slot.finger_text, what="the status text %r" % slot.finger_text)
        last = []

        def shown():
            last[:] = [self.wrong_colours(number, window_colour)]
            return not last[0]
        try:
            wait_until(shown, what="the panel colours of slot %d" % number)
        except AssertionError:
            self.fail("panels not coloured for slot %d: %r" % (number, last[0]))
        self.assertFalse(self.enabled(VIEW), "the view button is enabled for an empty slot")

    def assert_status_is_red(self):
        x, y, width, height = layout.STATUS_AREA
        left, top = self.main.to_screen(x, y)
        colours = self.screen.shot().crop(left, top, width, height).colours()
        self.assertIn(RED, colours, "no red text in the status label")

    def unselected_colour(self, unselected_number):
        shot = self.screen.shot()
        colours = self.panel_colours(shot, layout.SLOTS[unselected_number])
        self.assertEqual(len(colours), 1, "an empty, unselected slot is not one plain colour: %r" % colours)
        return colours.pop()

    def test_clicking_slot_7_then_slot_3(self):
        self.click_slot(7)
        wait_until(lambda: self.status_text() == layout.SLOTS[7].finger_text, what="the status text of slot 7")
        window_colour = self.unselected_colour(0)
        self.assertEqual(window_colour, self.probe.system_colour(COLOR_WINDOW))
        self.assert_selected(7, window_colour)
        self.assert_status_is_red()
        self.save_screenshot("slot7.png")

        self.click_slot(3)
        self.assert_selected(3, window_colour)
        self.save_screenshot("slot3.png")

    def test_clicking_the_current_slot_again_changes_nothing(self):
        window_colour = self.probe.system_colour(COLOR_WINDOW)
        # Another slot first, so that the click on slot 3 is seen to move the selection there.
        self.click_slot(7)
        self.assert_selected(7, window_colour)
        self.click_slot(3)
        self.assert_selected(3, window_colour)
        # Again, a little beside the last click, so that the two are no double click.
        self.click_slot(3, dx=12, dy=12)
        self.hover_to_settle()
        self.assert_selected(3, window_colour)

    def test_every_slot_can_be_chosen(self):
        window_colour = self.probe.system_colour(COLOR_WINDOW)
        for number in (9, 0, 5, 4, 1, 6, 2, 8):
            with self.subTest(slot=number):
                self.click_slot(number)
                self.assert_selected(number, window_colour)


if __name__ == "__main__":
    unittest.main()
