"""Person texts whose bytes the station's code page does or does not take: the log and the caption stay
readable GBK, and a name with a character of the code page is stored as any other."""

import os
import unittest

from kv90e2e.files import log_files
from kv90e2e.hostsim import HOST_CODE_COLLECTED
from kv90e2e.station import GOOD, HELD, StationTestCase, caption_for

REFUSED = "人员编号或姓名中含有不能用于文件名的字符,不能保存指纹"


class PersonTexts(StationTestCase):

    def test_bytes_that_are_no_gbk_are_shown_escaped_in_the_log_and_the_caption(self):
        self.start_station(person="1234$XYZ", **HELD, **GOOD)
        self.host.ok("copydata-hex 31248100")  # "1$", then a lead byte with nothing after it
        self.wait_caption(caption_for("\\x81"))
        self.collect_finger(0)
        box = self.wait_message_box()
        self.assert_box(box, REFUSED)
        self.close_box(box)
        texts = self.log_texts()
        self.assertEqual(texts, ["人员编号或姓名不能用作文件名,未保存指纹:1$\\x81"])
        # Every log file reads as GBK from its first byte to its last.
        for path in log_files(self.folder.path):
            with open(path, "rb") as f:
                f.read().decode("gbk")

    def test_the_euro_sign_of_the_code_page_is_a_character_of_a_name(self):
        self.start_station(**HELD, **GOOD)
        self.host.ok("copydata-hex 3124803100")  # "1$€1"
        self.wait_caption(caption_for("€1"))
        self.capture(0)
        self.assertIn("1$€1_0.bmp", os.listdir(self.temp()))
        self.assertEqual(self.log_texts(), [])
        self.assertEqual(len(self.host.notifications(HOST_CODE_COLLECTED)), 1)


if __name__ == "__main__":
    unittest.main()
