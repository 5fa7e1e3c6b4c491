"""The local web service (KV90Service.exe) with the real station under Wine: a page in a real browser
(Debian's chromium, headless) from an allowed origin captures two fingers, a page from another origin
cannot start anything, and plain HTTP callers that break the rules are answered and change nothing."""

import base64
import filecmp
import http.client
import http.server
import json
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import unittest

from kv90e2e import layout, settings
from kv90e2e.files import log_lines
from kv90e2e.program import WineProcess, unix_path, windows_path
from kv90e2e.station import GOOD, HELD, StationTestCase
from kv90e2e.waiting import wait_until

import test_installer

HERE = os.path.dirname(os.path.abspath(__file__))
SERVICE_EXE = "KV90Service.exe"
SERVICE_LINE = "网页采集服务"
WM_COMMAND = 0x0111
EXIT_COMMAND = 100  # the tray menu's "退出"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class PageServer:
    """Serves the test page from one origin and keeps what the page reports."""

    def __init__(self, host):
        self.reports = []
        self.changed = threading.Condition()
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                with open(os.path.join(HERE, "web", "capture_page.html"), "rb") as f:
                    body = f.read()
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def do_POST(self):
                body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
                with owner.changed:
                    owner.reports.append(json.loads(body))
                    owner.changed.notify_all()
                self.send_response(204)
                self.end_headers()

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.origin = "http://%s:%d" % (host, self.server.server_address[1])
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def of_kind(self, kind):
        with self.changed:
            return [r["data"] for r in self.reports if r["kind"] == kind]

    def wait(self, kind, count=1, timeout=120):
        return wait_until(lambda: (lambda found: found if len(found) >= count else None)(self.of_kind(kind)),
                          timeout, what="%d %r report(s) of the page (has %r)" % (count, kind, self.reports))

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    """Headless chromium on one page; as root it runs only without its sandbox."""

    def __init__(self, url, log_dir):
        self.profile = tempfile.mkdtemp(prefix="kv90-chromium-")
        self.log = open(os.path.join(log_dir, "chromium.log"), "wb")
        self.process = subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
             "--no-first-run", "--user-data-dir=" + self.profile, url],
            stdout=self.log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=15)
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)


class ServiceRun(WineProcess):
    what = "the web service"

    def __init__(self, folder):
        self.exe = os.path.join(folder.path, SERVICE_EXE)
        self.windows_exe = windows_path(self.exe)
        with open(os.path.join(folder.root, "service.out"), "wb") as out, \
                open(os.path.join(folder.root, "service.err"), "wb") as err:
            self.process = subprocess.Popen([settings.wine(), self.exe], cwd=folder.root, stdout=out, stderr=err,
                                            stdin=subprocess.DEVNULL, env=os.environ.copy())


class StartedStation:
    """The station as the service started it, found by its program file."""

    def __init__(self, probe, folder):
        self._probe = probe
        self._path = folder.exe_windows_path
        self.pid = wait_until(lambda: (lambda p: p[0] if p else None)(probe.pids_of_path(self._path)),
                              what="the station started by the service")

    def running(self):
        return self.pid in self._probe.pids_of_path(self._path)


class WebServiceTestCase(StationTestCase):

    def setUp(self):
        super().setUp()
        self.port = free_port()
        self.page = PageServer("127.0.0.1")
        self.addCleanup(self.page.close)
        self.browser = None
        self.service = None

    def write_service_ini(self, **values):
        lines = ["[Service]", "Port=%d" % self.port] + ["%s=%s" % kv for kv in values.items()]
        with open(self.folder.file("Config", "Service.ini"), "w", newline="\r\n") as f:
            f.write("\n".join(lines) + "\n")

    def start_service(self, allowed=None):
        self.write_service_ini(AllowedOrigins=allowed if allowed is not None else self.page.origin)
        self.service = ServiceRun(self.folder)
        self.addCleanup(self.stop_service)
        wait_until(lambda: self.request("GET", "/v1/info")[0] == 200 or None, 60, what="the service to answer")

    def stop_service(self):
        """Through the tray menu's exit, as the operator would; a station it started is ended after."""
        if self.service is None or not self.service.running():
            return
        pids = self.probe.pids_of_path(self.service.windows_exe)
        trays = self.probe.windows(text="KV90Service", pid=pids[0]) if pids else []
        if trays:
            self.probe.post(trays[0].hwnd, WM_COMMAND, EXIT_COMMAND, 0)
        try:
            self.service.wait_exit(30)
        except AssertionError:
            for pid in pids:
                self.probe.terminate(pid, 1)
            self.service.wait_exit(30)
        for pid in self.probe.pids_of_path(self.folder.exe_windows_path):
            self.probe.terminate(pid, 1)

    def open_page(self, page):
        self.browser = Browser("%s/page.html?service=%d" % (page.origin, self.port), self.folder.root)
        self.addCleanup(self.browser.close)

    def request(self, method, path, body=None, headers=None, timeout=30):
        """(status, body) from a plain HTTP client; (0, reason) when nothing came back."""
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)
        try:
            connection.request(method, path, body=body, headers=headers or {})
            answer = connection.getresponse()
            return answer.status, answer.read()
        except OSError as e:
            return 0, str(e)
        finally:
            connection.close()

    def station_lines(self):
        return [t for t in self.log_texts() if SERVICE_LINE not in t]

    def service_lines(self):
        return [t for t in self.log_texts() if SERVICE_LINE in t]


class PageFromAllowedOrigin(WebServiceTestCase):

    def test_page_captures_two_fingers_and_gets_their_bytes(self):
        self.scanner.configure(**HELD, **GOOD)
        self.start_service()
        self.open_page(self.page)

        opened = self.page.wait("opened")[0]
        self.assertEqual(opened["status"], 200, opened)
        self.assertEqual(json.loads(opened["body"])["state"], "ready")
        named = self.page.wait("named")[0]
        self.assertEqual(named["status"], 200, named)
        self.page.wait("listening")

        self.run_ = StartedStation(self.probe, self.folder)
        self.main = self.wait_main_window(self.run_)
        self.wait_caption("当前采集姓名为：【张三】的指纹信息")
        for slot in (0, 1):
            self.collect_finger(slot)
            self.wait_preview_empty()

        fingers = sorted(self.page.wait("collected", 2), key=lambda f: f["slot"])
        self.assertEqual([f["slot"] for f in fingers], [0, 1])
        self.assertEqual([f["finger"] for f in fingers], ["左手拇指", "左手食指"])
        for finger in fingers:
            slot = finger["slot"]
            received = base64.b64decode(finger["bytes"])
            # The person file stays; the plain slot file goes with the close the page orders.
            with open(self.temp("110101$张三_%d.bmp" % slot), "rb") as f:
                self.assertEqual(received, f.read(), "slot %d: the page's bytes differ from the person file" % slot)
            self.assertEqual((finger["width"], finger["height"]), (640, 640))
            self.assertGreater(finger["dark"], 1000, "slot %d: the canvas shows no finger" % slot)
            self.assertEqual(finger["cache"], "no-store")
            self.assertEqual((finger["jpegStatus"], finger["jpegType"], finger["jpegStart"]),
                             (200, "image/jpeg", [0xFF, 0xD8]))

        # A page reloaded after the first finger resumes from its number and misses the second.
        first_id = min(fingers, key=lambda f: int(f["id"]))["id"]
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)
        connection.request("GET", "/v1/events", headers={"Origin": self.page.origin, "Last-Event-ID": first_id})
        answer = connection.getresponse()
        self.assertEqual(answer.status, 200)
        resumed = b""
        while b"event: collected" not in resumed:
            resumed += answer.fp.readline()
        connection.close()
        self.assertIn(("id: %d" % (int(first_id) + 1)).encode(), resumed)

        closing = self.page.wait("close")[0]
        self.assertEqual(closing["status"], 200, closing)
        self.assertEqual(self.page.wait("closed")[0]["reason"], "closed")
        wait_until(lambda: not self.run_.running(), what="the station to end")
        wait_until(lambda: self.probe.read_mapping("FINGER_ACTIVEX_FILE", 1) is None,
                   what="the service to let go of the host block")
        status, body = self.request("GET", "/v1/info")
        self.assertEqual(json.loads(body)["state"], "stopped")


class PageFromOtherOrigin(WebServiceTestCase):

    def test_page_of_another_origin_starts_nothing(self):
        other = PageServer("localhost")
        self.addCleanup(other.close)
        self.start_service()
        self.open_page(other)

        opened = other.wait("opened")[0]
        self.assertEqual(opened["status"], 0, "the browser let the page read the answer: %r" % opened)
        self.assertEqual(other.wait("named")[0]["status"], 0)
        other.wait("events-error")
        self.assertEqual(self.probe.pids_of_path(self.folder.exe_windows_path), [], "the station was started")
        self.assertIsNone(self.probe.read_mapping("FINGER_ACTIVEX_FILE", 1))
        self.assertEqual(self.station_lines(), [])
        refusals = [t for t in self.service_lines() if "拒绝" in t]
        self.assertTrue(refusals and all(other.origin in t for t in refusals), refusals)
        status, body = self.request("GET", "/v1/info")
        self.assertEqual((status, json.loads(body)["state"]), (200, "stopped"))


class HostileCallers(WebServiceTestCase):

    def test_rule_breakers_are_answered_and_the_service_keeps_answering(self):
        self.start_service()
        origin = {"Origin": self.page.origin}

        status, body = self.request("GET", "/v1/info", headers={"Host": "rebound.example:%d" % self.port})
        self.assertEqual(status, 403, body)
        status, body = self.request("POST", "/v1/station/open", body=b"")
        self.assertEqual(status, 403, "a caller without an Origin opened the station: %r" % body)
        status, body = self.request("POST", "/v1/person", body=b" " * (256 * 1024), headers=origin)
        self.assertEqual(status, 413, body)
        status, body = self.request("POST", "/v1/person", body=b'{"key": "1", "name": ', headers=origin)
        self.assertEqual(status, 400, body)
        self.assertIn(b"error", body)
        with socket.create_connection(("127.0.0.1", self.port), timeout=30) as raw:
            raw.sendall(b"NOT HTTP AT ALL\r\n\r\n")
            self.assertTrue(raw.recv(100).startswith(b"HTTP/1.1 400"))

        # Idle connections take no worker for long: each is closed after the idle time, and the
        # state is answered meanwhile or just after.
        idle = [socket.create_connection(("127.0.0.1", self.port), timeout=60) for _ in range(200)]
        try:
            status, body = self.request("GET", "/v1/info", timeout=120)
            self.assertEqual(status, 200, body)
            closed = 0
            for s in idle:
                try:
                    closed += s.recv(1) == b""
                except OSError:
                    closed += 1
            self.assertEqual(closed, 200, "idle connections the service kept open")
        finally:
            for s in idle:
                s.close()

        status, body = self.request("GET", "/v1/info")
        self.assertEqual((status, json.loads(body)["state"]), (200, "stopped"))
        self.assertEqual(self.probe.pids_of_path(self.folder.exe_windows_path), [])
        self.assertEqual(self.station_lines(), [])

    def test_open_beside_another_host_fails_with_that_reason(self):
        self.start_service()
        self.probe.create_mapping("FINGER_ACTIVEX_FILE", 20, b"12345\0")
        self.addCleanup(self.probe.close_mapping, "FINGER_ACTIVEX_FILE")
        status, body = self.request("POST", "/v1/station/open", body=b"", headers={"Origin": self.page.origin})
        self.assertEqual(status, 409, body)
        self.assertTrue(json.loads(body)["error"], body)
        self.assertEqual(self.probe.pids_of_path(self.folder.exe_windows_path), [], "the station was started")

    def test_second_instance_and_taken_port_fail_with_a_reason(self):
        self.start_service()
        second = ServiceRun(self.folder)
        self.assertEqual(second.wait_exit(60) & 0xFF, 2)
        self.assertIn("网页采集服务已在运行,本次启动退出", self.service_lines())
        self.stop_service()
        self.assertIn("网页采集服务已退出", self.service_lines())

        with socket.socket() as taken:
            taken.bind(("127.0.0.1", self.port))
            taken.listen(1)
            blocked = ServiceRun(self.folder)
            self.assertEqual(blocked.wait_exit(60) & 0xFF, 3)
        self.assertTrue(any(t.startswith("网页采集服务无法监听端口%d" % self.port) for t in self.service_lines()),
                        self.service_lines())


class WebServiceSetup(test_installer.InstallerTestCase):

    def startup_shortcuts(self):
        """The service's shortcuts in the common Start-up folder (Wine spells the folder's case its own way)."""
        found = []
        for folder, _, files in os.walk(unix_path("C:\\ProgramData\\Microsoft\\Windows\\Start Menu")):
            if os.path.basename(folder).lower() == "startup":
                found += [os.path.join(folder, f) for f in files if "网页采集服务" in f]
        return found

    def test_option_installs_starts_at_logon_and_removal_takes_it_out(self):
        folder = "C:\\KV90 网页"
        path = unix_path(folder)
        self.remove_afterwards(folder)
        self.assertEqual(self.install("/S", "/WEBSERVICE", "/D=" + folder), 0)
        self.assertTrue(filecmp.cmp(os.path.join(path, SERVICE_EXE), os.path.join(settings.stage_dir(), SERVICE_EXE),
                                    shallow=False))
        self.assertTrue(os.path.exists(os.path.join(path, "Config", "Service.ini")))
        self.assertEqual(len(self.startup_shortcuts()), 1, "no shortcut in the Start-up folder")

        # Running when it is removed: removal ends it through its tray menu and takes it out.
        port = free_port()
        with open(os.path.join(path, "Config", "Service.ini"), "w", newline="\r\n") as f:
            f.write("[Service]\nPort=%d\n" % port)
        self.deploy.start('"%s\\%s"' % (folder, SERVICE_EXE))
        wait_until(lambda: self._answers(port), 60, what="the installed service to answer")
        self.assertEqual(self.deploy.uninstall(folder + "\\Uninstall.exe", "/S"), 0)
        self.assertFalse(os.path.exists(os.path.join(path, SERVICE_EXE)))
        self.assertEqual(self.startup_shortcuts(), [])
        self.assertEqual(self.probe.pids_of_path(folder + "\\" + SERVICE_EXE), [])
        self.assertTrue(os.path.exists(os.path.join(path, "Config", "Service.ini")), "settings kept without /PURGE")

    def test_without_the_option_nothing_of_it_is_installed(self):
        folder = "C:\\KV90 无网页"
        self.remove_afterwards(folder)
        self.assertEqual(self.install("/S", "/D=" + folder), 0)
        self.assertFalse(os.path.exists(os.path.join(unix_path(folder), SERVICE_EXE)))
        self.assertEqual(self.startup_shortcuts(), [])

    @staticmethod
    def _answers(port):
        connection = http.client.HTTPConnection("127.0.0.1", port, timeout=5)
        try:
            connection.request("GET", "/v1/info")
            return connection.getresponse().status == 200
        except OSError:
            return False
        finally:
            connection.close()


if __name__ == "__main__":
    unittest.main()
