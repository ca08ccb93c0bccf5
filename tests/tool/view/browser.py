# Opens pages of the route view in headless Chromium through chromedriver, for the browser tests
# and the first-paint benchmark.
import os
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def chromium(width=1500, height=1000):
    """A headless Chromium that touches no network and keeps no state between runs."""
    profile = tempfile.mkdtemp(prefix="route-view-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ["--headless=new", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--disable-extensions", "--disable-dev-shm-usage",
                     "--user-data-dir=" + profile, "--window-size=%d,%d" % (width, height),
                     "--force-device-scale-factor=1"]:
        options.add_argument(argument)
    if os.geteuid() == 0:
        options.add_argument("--no-sandbox")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.profile_directory = profile
    return driver


def console_errors(driver):
    return [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


class PageWaits:
    """For a test case whose `driver` shows a page: run its script, and wait for a state of it."""

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def wait_for(self, script, what, seconds=10):
        until = time.time() + seconds
        while time.time() < until:
            if self.js("return " + script):
                return
            time.sleep(0.02)
        self.fail("waited in vain for " + what)
