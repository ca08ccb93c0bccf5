# The route view in a real browser: pages written by `scenario view` are opened in headless
# Chromium from file:// URLs and checked through the DOM, as an author would use them.
# Usage: view_browser_test.py SCENARIO_TOOL SCREENSHOT_DIR
import os
import re
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


def next_frame(driver):
    driver.execute_script("return new Promise(r => requestAnimationFrame(() => r()))")


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
        self.assertIn("signal at 2.600 km (cell 53)", self.page.tooltip())
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

    def search(self, text):
        search = self.driver.find_element(By.ID, "search")
        search.clear()
        search.send_keys(text, Keys.ENTER)
        return self.driver.find_element(By.ID, "search-result").text

    def test_search_jumps_to_a_station_whatever_its_case_and_accents(self):
        for text, position in [("calder", 25150), ("BÒRGO vàllina", 1750), ("pratolungo", 2850)]:
            self.page.js("routeView.setRange(0, 1e9)")
            self.assertEqual(self.search(text), "", text)
            start, end = self.page.visible_range()
            self.assertTrue(start < position < end, (text, start, end))
            self.assertLessEqual(end - start, 4000)
            self.assertIn("%.3f km" % (position / 1000), self.driver.find_element(By.ID, "details-body").text)

    def test_search_says_when_no_station_matches(self):
        self.assertEqual(self.search("nowhere"), "no station named “nowhere”")
        self.assertEqual(self.page.visible_range(), [0, 34000])
        self.assertEqual(self.search("moncasta"), "")

    def test_kilometres_have_one_form(self):
        self.page.js("routeView.setRange(43600 - 33150, 43650 - 33150 + 2000)")
        self.page.hover("stations", 10250)
        texts = [self.driver.find_element(By.ID, "range").text, self.page.tooltip(),
                 self.driver.find_element(By.ID, "details-body").text,
                 self.driver.find_element(By.ID, "station-list").text]
        found = re.findall(r"(\d[\d.]*) km(?![/\w])", "\n".join(texts))
        self.assertGreater(len(found), 15)
        for number in found:
            self.assertRegex(number, r"^\d+\.\d{3}$")

    def test_first_station_terminus_and_stops_say_when_the_train_is_there(self):
        listed = [li.text for li in self.driver.find_elements(By.CSS_SELECTOR, "#station-list li")]
        for expected in ["ALDERI CENTRALE — 0.000 km (start, departs 14:23:00)",
                         "BORGO VALLINA — 1.750 km (stop, arrives 14:25:30, departs 14:26:00)",
                         "CASTELFIORE — 2.300 km (not open)",
                         "MONCASTA — 33.150 km (terminus, arrives 15:13:00)"]:
            self.assertIn(expected, listed)
        self.page.js("routeView.setRange(30000, 34000)")
        self.page.hover("stations", 33150)
        self.assertIn("terminus, arrives 15:13:00", self.page.tooltip())

    def run_pixels(self, row):
        """How many pixels of a row have the fastest run's colour."""
        return self.page.js("""
            const canvas = document.getElementById('track'), r = routeView.rows[arguments[0]];
            const ratio = window.devicePixelRatio || 1;
            const pixels = canvas.getContext('2d').getImageData(0, r.top * ratio, canvas.width, r.height * ratio).data;
            let count = 0;
            for (let i = 0; i < pixels.length; i += 4)
                if (pixels[i] > 200 && pixels[i + 1] > 60 && pixels[i + 1] < 130 && pixels[i + 2] < 60) count++;
            return count;
        """, row)

    def test_the_fastest_run_is_drawn_over_the_limits_and_against_the_timetable(self):
        next_frame(self.driver)
        self.assertGreater(self.run_pixels("speed"), 500)
        self.assertGreater(self.run_pixels("time"), 500)
        # Hovering the run gives its time and speed there; later along the route, a later time.
        times = []
        for row, metre in [("speed", 1000), ("time", 20000)]:
            self.page.hover(row, metre)
            tip = self.page.tooltip()
            self.assertRegex(tip, r"^fastest run at \d+\.\d{3} km\n\d\d:\d\d:\d\d, \d+ km/h\ntimetable \d\d:\d\d:\d\d$")
            self.assertAlmostEqual(float(tip.split(" ")[3]), metre / 1000, delta=0.05)
            self.assertNotIn(" 0 km/h", tip)
            times.append(tip.split("\n")[1][:8])
        self.assertTrue("14:23:00" < times[0] < times[1] < "15:13:00", times)

    def test_the_section_table_lists_every_section_and_a_click_shows_one(self):
        rows = [[td.text for td in tr.find_elements(By.TAG_NAME, "td")]
                for tr in self.driver.find_elements(By.CSS_SELECTOR, "#section-table tr")[1:]]
        self.assertEqual(len(rows), 12)
        self.assertEqual(rows[0][:4], ["ALDERI CENTRALE", "BORGO VALLINA", "1.750", "2:30"])
        self.assertEqual(rows[-1][1], "MONCASTA")
        for row in rows:
            self.assertRegex(row[4], r"^\d+:\d\d$")
            self.assertRegex(row[5], r"^[+-]\d+:\d\d$")
        self.driver.find_elements(By.CSS_SELECTOR, "#section-table tr")[1].click()
        start, end = self.page.visible_range()
        self.assertTrue(start <= 0 and 1750 <= end <= 3000, (start, end))

    def test_names_stand_only_by_stations_inside_the_stretch(self):
        # 9 to 11 km: ACQUAVIVOLA (10.25 km) is in, COLLEBRUNO (7.3 km) and TERRAMOZZA (12.95 km)
        # lie beyond the ends and are pointed at, with how far they are.
        self.page.js("routeView.setRange(9000, 11000)")
        next_frame(self.driver)
        self.assertEqual(self.page.js("return routeView.drawnLabels"), ["ACQUAVIVOLA"])
        self.assertEqual(self.page.js("return routeView.offPlotArrows"),
                         ["◀ COLLEBRUNO 1.700 km", "TERRAMOZZA 1.950 km ▶"])
        self.assertEqual([label["name"] for label in self.page.js("return routeView.planLabels")],
                         ["ACQUAVIVOLA"])


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
                self.assertFalse(driver.find_element(By.ID, "timing").get_attribute("hidden"))
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

    def listed(self, part="text"):
        return [e.text for e in self.driver.find_elements(By.CSS_SELECTOR, "#diagnostic-list li ." + part)]

    def test_diagnostics_panel_lists_what_check_prints(self):
        replace_in(os.path.join(self.work, TRAIN), b"stazione,    1750", b"stazione,    1760")
        replace_in(os.path.join(self.work, TRAIN), b"velocita,    1850,    60", b"velocita,    1850,    62")
        check = tool(self.work, "check", LINE, TRAIN)
        run, page = self.view()
        self.assertEqual(run.returncode, 1)
        self.assertEqual(console_errors(self.driver), [])
        printed = check.stderr.decode().splitlines()
        self.assertEqual(self.listed(), printed)
        self.assertIn(TRAIN + ":26:14: error 8: station position not a multiple of 50 (at 1760 m)", printed)
        self.assertTrue(any("[implausible-value]" in line for line in printed), printed)
        self.assertEqual(self.driver.find_element(By.ID, "diagnostic-count").text, "(%d)" % len(printed))
        page.hover("diagnostics", 1760)
        self.assertIn(TRAIN + ":26:14: error 8", page.tooltip())

    def test_a_diagnostic_shows_its_related_record(self):
        # A gradient past the cell table stops the line file; the first signal carries the error.
        replace_in(os.path.join(self.work, LINE), b"pendenza,  2800 , 0 ", b"pendenza,  40901 , 0 ")
        run, page = self.view()
        self.assertEqual(console_errors(self.driver), [])
        self.assertEqual(self.listed("related"), ["related record: " + LINE + ":56"])

    def test_search_ignores_the_accents_of_the_names(self):
        replace_in(os.path.join(self.work, TRAIN), b"BORGO VALLINA", "BORGO VALLÌNA".encode("cp1252"))
        run, page = self.view()
        self.assertEqual(run.returncode, 0, run.stderr)
        search = self.driver.find_element(By.ID, "search")
        search.send_keys("borgo vallina", Keys.ENTER)
        self.assertEqual(self.driver.find_element(By.ID, "search-result").text, "")
        start, end = page.visible_range()
        self.assertTrue(start < 1750 < end, (start, end))

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


class LongGeneratedRoute(unittest.TestCase):
    """A generated 300 km route that loops round: the plan fills its panel, names stand by their
    stations, and the screenshots show it whole and at one station."""

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="route-view-")
        generator = os.path.join(os.path.dirname(TOOL), "bench_sources")
        if not os.path.exists(generator):
            raise unittest.SkipTest("bench_sources is not built")
        subprocess.run([generator, cls.work, "300"], check=True)
        run = tool(cls.work, "view", "line.txt", "train.txt", "-o", "route.html")
        assert run.returncode == 0, run.stderr
        cls.driver = chromium(1400, 900)
        cls.page = RoutePage(cls.driver, os.path.join(cls.work, "route.html"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(cls.work)

    def plan_fill(self):
        """How much of the panel's width and height the visible stretch takes."""
        return self.page.js("""
            const canvas = document.getElementById('plan');
            const v = routeView.view;
            let x0 = Infinity, x1 = -Infinity, y0 = Infinity, y1 = -Infinity;
            for (let m = v.from; m <= v.to; m += (v.to - v.from) / 2000) {
              const [x, y] = routeView.planPoint(m);
              x0 = Math.min(x0, x); x1 = Math.max(x1, x); y0 = Math.min(y0, y); y1 = Math.max(y1, y);
            }
            return [(x1 - x0) / canvas.clientWidth, (y1 - y0) / canvas.clientHeight];""")

    def labels_stand_by_their_stations(self):
        labels = self.page.js("return routeView.planLabels")
        self.assertGreater(len(labels), 0)
        for label in labels:
            left, right, top, bottom = label["box"]
            x, y = label["mark"]
            gap = max(left - x, x - right, top - y, y - bottom, 0)
            self.assertLess(gap, 16, label["name"])

    def test_whole_route_fills_the_panel(self):
        self.page.js("routeView.setRange(0, 1e9)")
        next_frame(self.driver)
        self.assertEqual(console_errors(self.driver), [])
        self.assertGreater(max(self.plan_fill()), 0.85)
        self.labels_stand_by_their_stations()
        self.driver.save_screenshot(os.path.join(SHOTS, "route-view-300km.png"))

    def test_one_station_fills_the_panel_and_only_it_is_named(self):
        self.page.js("routeView.setRange(146000, 150000)")
        next_frame(self.driver)
        self.assertGreater(self.plan_fill()[0], 0.85)
        self.assertEqual(self.page.js("return routeView.drawnLabels"), ["STAZIONE 30"])
        self.labels_stand_by_their_stations()
        self.driver.save_screenshot(os.path.join(SHOTS, "route-view-station.png"))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
