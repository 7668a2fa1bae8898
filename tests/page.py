#!/usr/bin/env python3
"""Types the rows of page.json at raizes.html in headless Chromium or in
WebKit, as a student would, with page_check.js (see there for the checks).

Usage: page.py [--engine chromium|webkit] PAGE CASES [SCREENSHOTS]

The page is opened from its file and then over HTTP from 127.0.0.1; no load
may break its Content-Security-Policy (checked where the engine tells). The
rows run at a phone's size; those named in "sight" again at every size.
Chromium needs Debian's chromium and chromium-driver; WebKit needs
webkit2gtk-driver (WebKitWebDriver and MiniBrowser) and a display, or xvfb;
both need python3-selenium for /usr/bin/python3. Without one it is skipped
(exit 77). Firefox is driven by page_firefox.mjs, with the same table.
"""
import argparse
import functools
import glob
import http.server
import json
import os
import pathlib
import shutil
import sys
import tempfile
import threading

from launch import HANG
from ptlocale import skipped

HERE = pathlib.Path(__file__).resolve().parent
CHECK = (HERE / "page_check.js").read_text(encoding="utf-8")
# Registered before the page's own scripts: every violation of its policy.
WATCH = ("window.cspViolations = [];"
         "document.addEventListener('securitypolicyviolation', e => window.cspViolations.push("
         "`${e.violatedDirective} ${e.blockedURI}`));")
RUN = ("const done = arguments[arguments.length - 1];"
       "window.pageCheck(arguments[0]).then(done, e => done([`threw ${e}`]));")


def rows(cases):
    """The table with each row's typed text and bytes, from CASES where the row
    names a case."""
    table = json.loads((HERE / "page.json").read_text(encoding="utf-8"))
    for row in table["rows"]:
        if "case" in row:
            case = cases / row["case"]
            err = case.with_suffix(".err")
            row.update(typed=case.with_suffix(".in").read_text(encoding="utf-8"),
                       out=case.with_suffix(".out").read_text(encoding="utf-8"),
                       err=err.read_text(encoding="utf-8") if err.exists() else "")
    return table


def browser(engine, profile):
    """A Chromium (headless, with a fresh profile in PROFILE and no network of
    its own), or a WebKit MiniBrowser; or a skip, naming what is missing."""
    try:
        from selenium import webdriver  # pylint: disable=import-outside-toplevel
    except ImportError:
        skipped("the page test", "needs selenium (Debian's python3-selenium, for /usr/bin/python3)")
    if engine == "webkit":
        mini = glob.glob("/usr/lib/*/webkit2gtk-4.*/MiniBrowser")
        if shutil.which("WebKitWebDriver") is None or not mini:
            skipped("the page test in WebKit", "needs WebKitWebDriver and MiniBrowser (Debian's webkit2gtk-driver)")
        if not os.environ.get("DISPLAY"):
            if shutil.which("xvfb-run") is None:
                skipped("the page test in WebKit", "needs a display, or xvfb-run (Debian's xvfb)")
            os.execvp("xvfb-run", ["xvfb-run", "-a", sys.executable, *sys.argv])
        options = webdriver.WebKitGTKOptions()
        options.binary_location = mini[0]
        options.add_argument("--automation")
        return webdriver.WebKitGTK(executable_path=shutil.which("WebKitWebDriver"), options=options)
    for tool, package in (("chromium", "chromium"), ("chromedriver", "chromium-driver")):
        if shutil.which(tool) is None:
            skipped("the page test", f"needs {tool} (Debian's {package})")
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for flag in ("headless", "no-sandbox", "disable-gpu", "disable-quic", "no-first-run",
                 "disable-background-networking", "disable-component-update", "disable-sync",
                 "window-size=1024,900", f"user-data-dir={profile}"):
        options.add_argument(f"--{flag}")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    from selenium.webdriver.chrome.service import Service  # pylint: disable=import-outside-toplevel
    driver = webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
    return driver


class Page:
    """The page in DRIVER, loaded from URL, with the checks in it."""

    def __init__(self, driver, url):
        from selenium.webdriver.support.ui import WebDriverWait  # pylint: disable=import-outside-toplevel
        self.driver, self.wait = driver, WebDriverWait(driver, HANG)
        driver.set_script_timeout(HANG)
        driver.get(url)
        driver.execute_script(CHECK)

    def size(self, width, height):
        """Sets the viewport to WIDTH×HEIGHT, as near as the engine lets."""
        self.driver.set_window_size(width, height)
        inner = self.driver.execute_script("return [innerWidth, innerHeight]")
        self.driver.set_window_size(2 * width - inner[0], 2 * height - inner[1])

    def check(self, row):
        return self.driver.execute_async_script(RUN, row)

    def violations(self):
        """What broke the page's policy: the violations seen, and Chromium's log."""
        seen = self.driver.execute_script("return window.cspViolations || []")
        if "chrome" in self.driver.capabilities.get("browserName", ""):
            seen += [e["message"] for e in self.driver.get_log("browser")
                     if "Content Security Policy" in e["message"]]
        return seen


def lacking(driver, url):
    """What is wrong with the page in Chromium without WebAssembly, and then
    without JavaScript: each time it must say, in Portuguese, what is missing."""
    problems = []
    script = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                    {"source": "delete globalThis.WebAssembly"})["identifier"]
    driver.get(url)
    said, on = driver.execute_script(
        "return [document.getElementById('summary').textContent, !document.getElementById('field').disabled]")
    driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": script})
    if "não executa WebAssembly" not in said or on:
        problems.append(f"without WebAssembly it says {said!r}, the field {'on' if on else 'off'}")
    driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
    driver.get(url)
    shown = driver.find_element("tag name", "body").text
    driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": False})
    if "precisa de JavaScript" not in shown:
        problems.append("without JavaScript it does not say that it needs it")
    return problems


def served(folder):
    """An HTTP server on 127.0.0.1 for FOLDER, in a thread; its port."""
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *_):
            pass

    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--engine", choices=("chromium", "webkit"), default="chromium")
    parser.add_argument("page", type=pathlib.Path)
    parser.add_argument("cases", type=pathlib.Path)
    parser.add_argument("shots", type=pathlib.Path, nargs="?")
    args = parser.parse_args()
    table = rows(args.cases.resolve())
    page_file = args.page.resolve()
    by_name = {row["name"]: row for row in table["rows"]}
    failed = total = 0

    def report(where, problems):
        nonlocal failed, total
        total += 1
        failed += bool(problems)
        for problem in problems:
            print(f"FAIL {args.engine} {where}: {problem}")

    with tempfile.TemporaryDirectory() as profile:
        server = served(str(page_file.parent))
        driver = browser(args.engine, profile)
        try:
            page = Page(driver, page_file.as_uri())
            page.size(*table["phone"])
            for row in table["rows"]:
                report(row["name"], page.check(row))
                if args.shots and "graph" in row:
                    args.shots.mkdir(parents=True, exist_ok=True)
                    driver.save_screenshot(str(args.shots / f"{args.engine}-{row['name']}.png"))
            for width, height in table["sizes"]:
                page.size(width, height)
                for name in table["sight"]:
                    report(f"{name} at {width}×{height}", page.check(by_name[name]))
            report("file load", page.violations())
            page = Page(driver, f"http://127.0.0.1:{server.server_port}/{page_file.name}")
            report("HTTP load", page.check(by_name["two roots"]) + page.violations())
            if args.engine == "chromium":
                report("without WebAssembly or JavaScript", lacking(driver, page_file.as_uri()))
        finally:
            driver.quit()
            server.shutdown()
    print(f"{args.engine}: {total - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
