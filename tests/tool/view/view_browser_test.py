# The route view in a real browser: pages written by `scenario view` are opened in headless
# Chromium from file:// URLs and checked through the DOM, as an author would use them.
# Usage: view_browser_test.py SCENARIO_TOOL SCREENSHOT_DIR
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import chromium, console_errors  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.actions.action_builder import ActionBuilder  # noqa: E402
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

TOOL = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/scenario")
SHOTS = sys.argv[2] if len(sys.argv) > 2 else tempfile.gettempdir()
LINE = "Alderi_Moncasta_linea.txt"
TRAIN = "Alderi_Moncasta_30752-.txt"


def tool(directory, *arguments):
    return subprocess.run([TOOL, *arguments], cwd=directory, capture_output=True)


def replace_in(path, old, new):
    with open(path, "rb") as f:
        text = f.read()
    assert old in text, old
    with open(path, "wb") as f:
        f.write(text.replace(old, new, 1))


class RoutePage:
    """A page opened in the browser, with the helpers the tests share."""

    def __init__(self, driver, path):
        self.driver = driver
        driver.get("file://" + path)
        driver.execute_script("window.scrollTo(0, 0)")

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def row_point(self, row, metre):
        """Viewport coordinates of a route metre in one of the track rows."""
        return self.js("""
            const box = document.getElementById('track').getBoundingClientRect();
            const r = routeView.rows[arguments[0]];
            return [box.left + routeView.xOf(arguments[1]), box.top + r.top + r.height / 2];
        """, row, metre)

    def hover(self, row, metre):
        x, y = self.row_point(row, metre)
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(int(round(x)), int(round(y)))
        actions.perform()

    def tooltip(self):
        return self.js("const t = document.getElementById('tooltip'); return t.hidden ? '' : t.textContent")

    def detail(self, field):
        cells = self.driver.find_elements(By.CSS_SELECTOR, "#details-table tr[data-field='%s'] td" % field)
        return [c.text for c in cells]

    def visible_range(self):
        return self.js("return [routeView.view.from, routeView.view.to]")


class BuiltInRouteFromSources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="route-view-")
        tool(cls.work, "export", "--out", ".")
        run = tool(cls.work, "view", LINE, TRAIN, "-o", "route.html")
        assert run.returncode == 0, run.stderr
        cls.driver = chromium()
        cls.page = RoutePage(cls.driver, os.path.join(cls.work, "route.html"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(cls.work)

    def setUp(self):
        self.page.js("routeView.setRange(0, 1e9)")

    def test_1_page_shows_the_route_without_console_errors(self):
        self.assertEqual(console_errors(self.driver), [])
        self.assertEqual(self.page.js("return routeView.stations.length"), 15)
        self.assertIn("Alderi_Moncasta, train 30752", self.driver.title)
        self.driver.save_screenshot(os.path.join(SHOTS, "route-view.png"))

    def test_every_station_is_labelled_or_has_a_tooltip(self):
        self.page.js("routeView.setRange(0, 1e9)")
        self.driver.execute_script("return new Promise(r => requestAnimationFrame(() => r()))")
        labelled = set(self.page.js("return routeView.drawnLabels"))
        for name, position in self.page.js("return routeView.stations.map(s => [s.name, s.pos])"):
            if name in labelled:
                continue
            self.page.hover("stations", position)
            self.assertIn(name, self.page.tooltip(), "station %s at %d m" % (name, position))

    def test_hovering_a_signal_shows_its_cell_decoded_with_its_records(self):
        # "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0" on line 43 goes to cell 2600 / 50 + 1 = 53:
        # value1 = s1 * 10 + d1 = 42, value2 = s2 * 10 + d2 = 1, value4 = rapp * 10 + sx * 3 + dx = 8.
        # The gradient there is the 18 per mille of "pendenza, 1250, 18" on line 55 of the line file.
        self.page.js("routeView.setRange(1000, 4000)")
        self.page.hover("signal", 2600)
        self.assertIn("signal at 2.6 km (cell 53)", self.page.tooltip())
        summary = self.driver.find_element(By.CSS_SELECTOR, "#details-body .summary").text
        self.assertIn("cell 53", summary)
        kind = self.page.detail("kind")
        self.assertEqual(kind[0], "1")
        self.assertIn("signal", kind[1])
        self.assertIn(TRAIN + ":43", kind[2])
        self.assertEqual(self.page.detail("value1")[:2], ["42", "42"])
        self.assertIn("s1 × 10 + d1", self.page.detail("value1")[2])
        self.assertEqual(self.page.detail("value2")[0], "1")
        self.assertEqual(self.page.detail("value4")[0], "8")
        gradient = self.page.detail("gradient")
        self.assertEqual(gradient[:2], ["118", "18 ‰"])
        self.assertIn(LINE + ":55", gradient[2])
        self.driver.save_screenshot(os.path.join(SHOTS, "route-view-details.png"))

    def test_hovering_the_plan_shows_the_same_place_along_the_route(self):
        self.page.js("routeView.setRange(1000, 4000)")
        self.driver.execute_script("return new Promise(r => requestAnimationFrame(() => r()))")
        x, y = self.page.js("""
            const box = document.getElementById('plan').getBoundingClientRect();
            const [px, py] = routeView.planPoint(2850);
            return [box.left + px, box.top + py];""")
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(int(round(x)), int(round(y)))
        actions.perform()
        self.assertIn("PRATOLUNGO", self.page.tooltip())
        self.assertAlmostEqual(self.page.js("return routeView.view.hover"), 2850, delta=20)
        self.assertIn("cell 57", self.driver.find_element(By.ID, "details-body").text)

    def test_wheel_zooms_and_dragging_pans_the_distance(self):
        before = self.page.visible_range()
        x, y = self.page.row_point("elevation", 17000)
        canvas = self.driver.find_element(By.ID, "track")
        box = canvas.rect
        origin = ScrollOrigin.from_element(canvas, int(x - box["x"] - box["width"] / 2),
                                           int(y - box["y"] - box["height"] / 2))
        ActionChains(self.driver).scroll_from_origin(origin, 0, -600).perform()
        zoomed = self.page.visible_range()
        self.assertLess(zoomed[1] - zoomed[0], (before[1] - before[0]) / 2)
        self.assertTrue(zoomed[0] < 17000 < zoomed[1])
        ActionChains(self.driver).move_to_element(canvas).click_and_hold() \
            .move_by_offset(-200, 0).release().perform()
        panned = self.page.visible_range()
        self.assertGreater(panned[0], zoomed[0])
        self.assertAlmostEqual(panned[1] - panned[0], zoomed[1] - zoomed[0], delta=1)

    def test_search_jumps_to_a_station(self):
        search = self.driver.find_element(By.ID, "search")
        search.clear()
        search.send_keys("calder", Keys.ENTER)
        start, end = self.page.visible_range()
        self.assertTrue(start < 25150 < end, (start, end))
        self.assertLessEqual(end - start, 4000)
        self.assertIn("25.150 km", self.driver.find_element(By.ID, "details-body").text)


class PageFromCompiledFiles(unittest.TestCase):
    def test_compiled_files_give_the_same_route(self):
        work = tempfile.mkdtemp(prefix="route-view-")
        try:
            tool(work, "export", "--out", ".")
            tool(work, "compile", LINE, TRAIN, "--name", "Alderi_Moncasta", "--train", "30752")
            run = tool(work, "view", ".", "--name", "Alderi_Moncasta", "--train", "30752",
                       "-o", "route.html")
            self.assertEqual(run.returncode, 0, run.stderr)
            driver = chromium()
            try:
                page = RoutePage(driver, os.path.join(work, "route.html"))
                self.assertEqual(console_errors(driver), [])
                self.assertEqual(page.js("return routeView.stations.length"), 15)
                self.assertTrue(driver.find_element(By.ID, "diagnostics").get_attribute("hidden"))
            finally:
                driver.quit()
        finally:
            shutil.rmtree(work)


class SourcesWithFaults(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="route-view-")
        tool(self.work, "export", "--out", ".")
        self.driver = chromium()

    def tearDown(self):
        self.driver.quit()
        shutil.rmtree(self.work)

    def view(self):
        run = tool(self.work, "view", LINE, TRAIN, "-o", "route.html")
        page = RoutePage(self.driver, os.path.join(self.work, "route.html"))
        return run, page

    def test_diagnostics_panel_lists_the_error_with_file_and_line(self):
        replace_in(os.path.join(self.work, TRAIN), b"stazione,    1750", b"stazione,    1760")
        run, page = self.view()
        self.assertEqual(run.returncode, 1)
        self.assertEqual(console_errors(self.driver), [])
        items = [li.text for li in self.driver.find_elements(By.CSS_SELECTOR, "#diagnostic-list li")]
        self.assertTrue(any(item.startswith(TRAIN + ":26: error 8: ") and "(at 1760 m)" in item
                            for item in items), items)
        page.hover("diagnostics", 1760)
        self.assertIn(TRAIN + ":26", page.tooltip())

    def test_markup_in_names_is_shown_as_text(self):
        hostile = b"</script><img src=x onerror=\"window.injected=1\"><b>&amp;"
        replace_in(os.path.join(self.work, TRAIN), b"BORGO VALLINA", hostile)
        replace_in(os.path.join(self.work, LINE), b"(SERRANTE)", b"</SCRIPT><script>window.injected=2</script>")
        run, page = self.view()
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(console_errors(self.driver), [])
        self.assertIsNone(page.js("return window.injected"))
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, "img, b, #side script"), [])
        names = page.js("return routeView.stations.map(s => s.name)")
        self.assertIn(hostile.decode("cp1252"), names)
        listed = page.js("return [...document.querySelectorAll('#station-list li')].map(li => li.textContent)")
        self.assertTrue(any(item.startswith(hostile.decode("cp1252") + " — ") for item in listed))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
