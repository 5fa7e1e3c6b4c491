"""Reading Config\\Config.ini at start-up: a value that is not a number is logged once and shown."""

import datetime
import unittest

from kv90e2e import ProgramTestCase, layout, log_file_name, log_lines, set_config_value, wait_until, write_config_text

PREFIX = "初始化KV90指纹采集类时出错,错误:"
STATUS_TEXT = "初始化设备参数失败"


class ConfigurationValues(ProgramTestCase):

    def start_with(self, key, value):
        set_config_value(self.folder.path, key, value)
        before = datetime.datetime.now().replace(microsecond=0)
        run, main = self.start_main_window()
        return run, main, before

    def config_lines(self):
        return [l for l in log_lines(self.folder.path) if l.text is not None and l.text.startswith(PREFIX)]

    def wait_status(self, main, text):
        wait_until(lambda: main.shows_status(text), what="the status text %r (now %r)" % (text, main.status_text()))

    def assert_one_config_line(self, before, reason):
        lines = wait_until(self.config_lines, what="the configuration failure in the log")
        after = datetime.datetime.now()
        self.assertEqual(len(lines), 1, "lines: %r" % lines)
        line = lines[0]
        self.assertTrue(line.well_formed, "not 'yyyy-mm-dd hh:nn:ss : text' with CR LF: %r" % line.raw)
        self.assertEqual(line.text, PREFIX + reason)
        self.assertEqual(line.raw[19:], (" : " + PREFIX + reason + "\r\n").encode("gbk"))
        self.assertTrue(before <= line.stamp <= after, "time stamp %s outside %s..%s" % (line.stamp, before, after))
        days = {before.date(), after.date()}
        in_day_files = [l for day in days for l in log_lines(self.folder.path, day)
                        if l.text is not None and l.text.startswith(PREFIX)]
        self.assertEqual(len(in_day_files), 1, "the line is not in %s" % sorted(log_file_name(d) for d in days))

    def test_a_quality_of_abc_is_logged_once_and_shown(self):
        run, main, before = self.start_with("FQuality", "abc")
        self.wait_status(main, STATUS_TEXT)
        self.assert_one_config_line(before, "'abc' is not a valid integer value")
        self.assertTrue(run.running(), "the program ended on a bad setting")

    def test_an_empty_value_is_a_failure_too(self):
        run, main, before = self.start_with("FQuality", "")
        self.wait_status(main, STATUS_TEXT)
        self.assert_one_config_line(before, "'' is not a valid integer value")

    def test_section_and_keys_are_found_without_regard_to_case(self):
        write_config_text(self.folder.path, "[kv90]\nrollmode=1\nisquality=1\nfquality=60\npquality=x7\n"
                                            "bright=0\ncontrast=0\n")
        run, main = self.start_main_window()
        before = datetime.datetime.fromtimestamp(run.started_at).replace(microsecond=0)
        self.wait_status(main, STATUS_TEXT)
        self.assert_one_config_line(before, "'x7' is not a valid integer value")

    def test_a_value_in_another_section_is_ignored(self):
        write_config_text(self.folder.path, "[Other]\nFQuality=abc\n[KV90]\nRollMode=1\nIsQuality=1\n"
                                            "FQuality=zz\nPQuality=60\nBright=0\nContrast=0\n")
        run, main, before = self.start_with("FQuality", "zz")
        self.wait_status(main, STATUS_TEXT)
        self.assert_one_config_line(before, "'zz' is not a valid integer value")

if __name__ == "__main__":
    unittest.main()
