# The live preview in a real browser: `scenario serve` on the built-in route, its page in headless
# Chromium, and the train file edited on the disk as an author's editor would save it.
# Usage: serve_browser_test.py SCENARIO_TOOL
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "view"))
from browser import PageWaits, chromium, console_errors  # noqa: E402

TOOL = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/scenario")
LINE = "Alderi_Moncasta_linea.txt"
TRAIN = "Alderi_Moncasta_30752-.txt"


class LivePreview(PageWaits, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="route-serve-")
        subprocess.run([TOOL, "export", "--out", "."], cwd=cls.work, check=True, capture_output=True)
        with open(os.path.join(cls.work, TRAIN), "rb") as f:
            cls.original = f.read()
        cls.server = subprocess.Popen([TOOL, "serve", LINE, TRAIN, "--port", "0"], cwd=cls.work,
                                      stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        cls.url = cls.server.stdout.readline().decode().strip()
        cls.driver = chromium()
        cls.driver.get(cls.url)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        if cls.server.poll() is None:
            cls.server.kill()
            cls.server.wait()
        shutil.rmtree(cls.work)

    def updates(self):
        return int(self.js("return document.body.dataset.updates || 0"))

    def save(self, text, atomic):
        """Writes the train file whole: by a rename over it, or in place."""
        path = os.path.join(self.work, TRAIN)
        if atomic:
            with open(path + ".swp", "wb") as f:
                f.write(text)
            os.replace(path + ".swp", path)
        else:
            with open(path, "wb") as f:
                f.write(text)

    def edit(self, old, new, atomic):
        before = self.updates()
        self.save(self.original.replace(old, new, 1), atomic)
        self.wait_for("Number(document.body.dataset.updates || 0) > %d" % before, "an update")

    def stations(self):
        return self.js("return routeView.stations.map(s => s.pos)")

    def diagnostics(self):
        return self.js("return [...document.querySelectorAll('#diagnostic-list li .text')].map(e => e.textContent)")

    def test_page_follows_the_edits_and_keeps_its_stretch(self):
        self.wait_for("window.routeLive && routeLive.connected", "the event stream")
        self.assertTrue(self.server.stdout.readable())
        self.js("routeView.setRange(1000, 4000)")
        self.js("document.getElementById('search').value = 'mon'")
        self.assertIn(1750, self.stations())

        # A station moved, saved as most editors do: a new file renamed over the old one.
        self.edit(b"stazione,    1750", b"stazione,    1800", atomic=True)
        self.assertIn(1800, self.stations())
        self.assertNotIn(1750, self.stations())
        self.assertEqual(self.js("return [routeView.view.from, routeView.view.to]"), [1000, 4000])
        self.assertEqual(self.js("return document.getElementById('search').value"), "mon")

        # A broken record, written in place: the page lists the compile's error.
        self.edit(b"stazione,    1750", b"stazione,    1760", atomic=False)
        self.assertIn(TRAIN + ":26:14: error 8: station position not a multiple of 50 (at 1760 m)",
                      self.diagnostics())
        self.assertEqual(self.js("return [routeView.view.from, routeView.view.to]"), [1000, 4000])

        # Mended: the error goes, the station is back.
        self.edit(b"stazione,    1750", b"stazione,    1750", atomic=True)
        self.assertFalse(any("error" in d for d in self.diagnostics()), self.diagnostics())
        self.assertIn(1750, self.stations())
        self.assertEqual(self.js("return [routeView.view.from, routeView.view.to]"), [1000, 4000])

        # Deleted, the file is missed on the page, which keeps the last route; back, it is served.
        before = self.updates()
        os.remove(os.path.join(self.work, TRAIN))
        self.wait_for("Number(document.body.dataset.updates || 0) > %d" % before, "an update")
        self.assertTrue(any(d.startswith("cannot read " + TRAIN) for d in self.diagnostics()),
                        self.diagnostics())
        self.assertIn(1750, self.stations())
        self.edit(b"stazione,    1750", b"stazione,    1800", atomic=True)
        self.assertIn(1800, self.stations())
        self.assertFalse(any(d.startswith("cannot read") for d in self.diagnostics()))
        self.assertEqual(console_errors(self.driver), [])

    def test_z_page_says_when_the_server_has_gone_and_keeps_its_data(self):
        self.wait_for("window.routeLive && routeLive.connected", "the event stream")
        shown = self.stations()
        self.server.send_signal(signal.SIGINT)
        self.assertEqual(self.server.wait(timeout=10), 0)
        self.wait_for("!document.getElementById('live-notice').hidden", "the notice")
        self.assertEqual(self.stations(), shown)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
