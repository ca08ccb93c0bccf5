# The language server's live page in a real browser: `scenario lsp --preview` driven by a scripted
# client that opens the built-in train file and changes it without saving, the page in headless
# Chromium following each change.
# Usage: lsp_preview_browser_test.py SCENARIO_TOOL
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "view"))
from browser import PageWaits, chromium, console_errors  # noqa: E402

TOOL = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/scenario")
LINE = "Alderi_Moncasta_linea.txt"
TRAIN = "Alderi_Moncasta_30752-.txt"


class Client:
    """Frames messages to the server and reads its answers on a thread of its own."""

    def __init__(self, command, cwd):
        self.process = subprocess.Popen(command, cwd=cwd, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.messages = queue.Queue()
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        stream = self.process.stdout
        while True:
            length = None
            while True:
                line = stream.readline()
                if not line:
                    return
                if line in (b"\r\n", b"\n"):
                    break
                name, _, value = line.decode().partition(":")
                if name.lower() == "content-length":
                    length = int(value)
            self.messages.put(json.loads(stream.read(length)))

    def send(self, message):
        body = json.dumps(dict(message, jsonrpc="2.0")).encode()
        self.process.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.process.stdin.flush()

    def wait_for(self, found, seconds=10):
        until = time.time() + seconds
        while time.time() < until:
            try:
                message = self.messages.get(timeout=max(0.01, until - time.time()))
            except queue.Empty:
                break
            if found(message):
                return message
        raise AssertionError("the server never sent what was waited for")


class LspLivePage(PageWaits, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="route-lsp-preview-")
        subprocess.run([TOOL, "export", "--out", "."], cwd=cls.work, check=True,
                       capture_output=True)
        with open(os.path.join(cls.work, TRAIN), "rb") as f:
            cls.original = f.read().decode("cp1252")
        cls.uri = "file://" + os.path.join(cls.work, TRAIN)
        cls.client = Client([TOOL, "lsp", "--preview", "--pause", "50"], cls.work)
        cls.driver = chromium()

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        if cls.client.process.poll() is None:
            cls.client.process.kill()
            cls.client.process.wait()
        shutil.rmtree(cls.work)

    def change(self, old, new, version):
        before = int(self.js("return document.body.dataset.updates || 0"))
        self.client.send({"method": "textDocument/didChange", "params": {
            "textDocument": {"uri": self.uri, "version": version},
            "contentChanges": [{"text": self.original.replace(old, new, 1)}]}})
        self.wait_for("Number(document.body.dataset.updates || 0) > %d" % before, "an update")

    def stations(self):
        return self.js("return routeView.stations.map(s => s.pos)")

    def diagnostics(self):
        return self.js("return [...document.querySelectorAll('#diagnostic-list li .text')]"
                       ".map(e => e.textContent)")

    def test_page_follows_unsaved_changes_and_stops_with_the_server(self):
        client = self.client
        client.send({"id": 1, "method": "initialize", "params": {"capabilities": {}}})
        answer = client.wait_for(lambda m: m.get("id") == 1)
        self.assertEqual(answer["result"]["capabilities"]["executeCommandProvider"],
                         {"commands": ["scenario.preview"]})
        client.send({"method": "initialized", "params": {}})
        told = client.wait_for(lambda m: m.get("method") == "window/showMessage")
        url = told["params"]["message"].rsplit(" ", 1)[1]
        self.assertRegex(url, r"^http://127\.0\.0\.1:\d+/[0-9a-f]{32}/$")
        client.send({"id": 2, "method": "workspace/executeCommand",
                     "params": {"command": "scenario.preview"}})
        self.assertEqual(client.wait_for(lambda m: m.get("id") == 2)["result"], url)

        # Before any file is open, the page says what to do.
        self.driver.get(url)
        self.wait_for("window.routeLive && routeLive.connected", "the event stream")
        self.assertTrue(any("Open a line or a train source file" in d for d in self.diagnostics()))

        before = int(self.js("return document.body.dataset.updates || 0"))
        client.send({"method": "textDocument/didOpen", "params": {"textDocument": {
            "uri": self.uri, "languageId": "scenario", "version": 1, "text": self.original}}})
        self.wait_for("Number(document.body.dataset.updates || 0) > %d" % before, "the route")
        self.assertIn(1750, self.stations())
        self.js("routeView.setRange(1000, 4000)")

        # Edits never saved: the file on the disk keeps its station at 1750.
        self.change("stazione,    1750", "stazione,    1800", 2)
        self.assertIn(1800, self.stations())
        self.assertNotIn(1750, self.stations())
        self.change("stazione,    1750", "stazione,    1760", 3)
        # The editor's paths are whole, and so are those the page shows.
        self.assertIn(os.path.join(self.work, TRAIN) + ":26:14: error 8: station position not a multiple of 50 (at 1760 m)",
                      self.diagnostics())
        self.change("stazione,    1750", "stazione,    1750", 4)
        self.assertFalse(any("error" in d for d in self.diagnostics()), self.diagnostics())
        self.assertEqual(self.js("return [routeView.view.from, routeView.view.to]"), [1000, 4000])
        with open(os.path.join(self.work, TRAIN), "rb") as f:
            self.assertEqual(f.read().decode("cp1252"), self.original)
        self.assertEqual(console_errors(self.driver), [])

        # Shut down, the server closes the page's stream and the process ends cleanly.
        client.send({"id": 3, "method": "shutdown"})
        client.wait_for(lambda m: m.get("id") == 3)
        self.wait_for("!document.getElementById('live-notice').hidden", "the notice")
        client.send({"method": "exit"})
        self.assertEqual(client.process.wait(timeout=10), 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
