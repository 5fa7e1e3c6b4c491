"""A fault that nothing in the program handles: it leaves a log line, a minidump and the close
notification to the host before the program ends."""

import os
import unittest

from kv90e2e import log_lines, wait_until
from kv90e2e.hostsim import HOST_CODE_CLOSE
from kv90e2e.station import StationTestCase

PERSON = "4321$李四"
EXCEPTION_ACCESS_VIOLATION = 0xC0000005
INJECTED_FAULT = r"page fault on execute access to (?:0x)?0*10\b|err:seh.*\b(?:0x)?0*10\b"


class UnhandledFault(StationTestCase):

    def test_leaves_a_log_line_a_minidump_and_tells_the_host(self):
        self.start_station(person=PERSON)
        # Wine may name the injected fault itself (a thread started at 0x10, never mapped); what the program
        # leaves behind is the test. Any other fault line, or one in another process's output, still fails it.
        self.expect_wine_fault(INJECTED_FAULT, self.run_.stderr_path)
        self.probe.inject_fault(self.run_.pid)

        self.assertEqual(self.exit_code(), EXCEPTION_ACCESS_VIOLATION)
        self.host.wait_notifications(HOST_CODE_CLOSE)
        self.host.sync()
        self.assertEqual(len(self.host.notifications(HOST_CODE_CLOSE)), 1)

        texts = [line.text for line in log_lines(self.folder.path)]
        fault = [t for t in texts if t.startswith("程序遇到未处理的异常而终止")]
        self.assertEqual(len(fault), 1, "log: %r" % texts[-5:])
        # The injected thread starts at 0x10: the exception's code and address are named.
        self.assertIn("异常代码0xC0000005", fault[0])
        self.assertIn("地址0x00000010", fault[0])

        dumps = [n for n in os.listdir(self.folder.file("LogFiles")) if n.endswith(".dmp")]
        self.assertEqual(len(dumps), 1, "LogFiles: %r" % os.listdir(self.folder.file("LogFiles")))
        self.assertIn("异常转储文件:LogFiles\\" + dumps[0], texts)
        with open(self.folder.file("LogFiles", dumps[0]), "rb") as f:
            head = f.read(32)
        self.assertEqual(head[:4], b"MDMP", "not a minidump")

        # Nothing of the station is left on the desktop.
        wait_until(lambda: not self.probe.windows(cls="TFrm_Main", pid=self.run_.pid), what="the capture window gone")


if __name__ == "__main__":
    unittest.main()
