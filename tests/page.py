#!/usr/bin/env python3
"""Types at raizes.html in headless Chromium, as a student would, and
compares what the page shows with the golden cases' bytes.

Usage: page.py [--solve] PAGE CASES [SCREENSHOTS]

The page is opened from disk once; each case after the first is run with
the page's "Executar de novo". A case's input is typed a line at a time, each
line once the program waits for one; where the program still waits when
the lines are done, the page's control ends the input. What the page shows
as standard output and as standard error, and in what order, must be the
case's .out and .err, and the exit status it shows 1 where there is an .err,
else 0. After 1 -3 2 the graph's curve must cross the x-axis at the marks
labelled 2.00 and 1.00; after 1 0 1 it must stay off the axis, with no mark;
after an infinite coefficient, as after an error, no graph is shown.
Screenshots at a desktop's and a phone's size go to SCREENSHOTS.

With --solve, only 1 -3 2 typed on three lines is checked: a shipped page.
It needs Debian's chromium, chromium-driver and python3-selenium (for
/usr/bin/python3); without one it is skipped (exit 77), naming it.
"""
import base64
import pathlib
import re
import shutil
import sys
import tempfile

from launch import HANG
from ptlocale import skipped

# Headless, and nothing that reaches for the network on its own.
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--window-size=1024,900"]
PHONE = {"width": 390, "height": 844, "deviceScaleFactor": 2, "mobile": True}


def browser(profile):
    """A headless Chromium with a fresh profile in PROFILE, or a skip."""
    try:
        from selenium import webdriver  # pylint: disable=import-outside-toplevel
        from selenium.webdriver.chrome.service import Service  # pylint: disable=import-outside-toplevel
    except ImportError:
        skipped("the page test", "needs selenium (Debian's python3-selenium, for /usr/bin/python3)")
    for tool, package in (("chromium", "chromium"), ("chromedriver", "chromium-driver")):
        if shutil.which(tool) is None:
            skipped("the page test", f"needs {tool} (Debian's {package})")
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for flag in FLAGS + [f"--user-data-dir={profile}"]:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)


class Page:
    """The page in a browser, driven as a student drives it."""

    def __init__(self, driver, url):
        from selenium.webdriver.common.by import By  # pylint: disable=import-outside-toplevel
        from selenium.webdriver.common.keys import Keys  # pylint: disable=import-outside-toplevel
        from selenium.webdriver.support.ui import WebDriverWait  # pylint: disable=import-outside-toplevel
        self.driver, self.by, self.keys = driver, By, Keys
        self.wait = WebDriverWait(driver, HANG)
        driver.get(url)

    def element(self, name):
        return self.driver.find_element(self.by.ID, name)

    def state(self):
        return self.driver.find_element(self.by.TAG_NAME, "body").get_attribute("data-estado")

    def settled(self, lines):
        """Waits until the page has taken LINES lines and the program either
        waits for the next or has ended; returns whether it has ended."""
        self.wait.until(lambda _: self.driver.execute_script(
            "return document.querySelectorAll('#tela .eco').length") == lines
            and self.state() in ("esperando", "terminado"))
        return self.state() == "terminado"

    def run(self, typed, again):
        """Types TYPED (text, its lines ending in line feeds) after starting
        the program afresh where AGAIN; returns (status, stdout, stderr, the
        two streams in the order shown)."""
        if again:
            self.element("denovo").click()
        lines = typed.split("\n")
        ended = self.settled(0)
        for count, line in enumerate(lines[:-1], 1):
            if ended:
                break
            self.element("entrada").send_keys(line, self.keys.ENTER)
            ended = self.settled(count)
        if not ended:
            if lines[-1]:
                self.element("entrada").send_keys(lines[-1])
            self.element("fim").click()
            self.wait.until(lambda _: self.state() == "terminado")
        shown = self.driver.execute_script(
            "return [...document.querySelectorAll('#tela span')].map(s => [s.className, s.textContent])")
        status = re.search(r"status de saída (\d+)", self.element("estado").text)
        stream = {kind: "".join(text for k, text in shown if k == kind) for kind in ("saida", "erro")}
        both = "".join(text for kind, text in shown if kind in ("saida", "erro"))
        return (int(status[1]) if status else None, stream["saida"], stream["erro"], both)

    def graph(self):
        """(the x-axis' height, the curve's points, [(label, x, y)] of the
        marks), or None where no graph is shown."""
        if not self.element("grafico").is_displayed():
            return None
        axis, path, marks = self.driver.execute_script("""
            const svg = document.getElementById('curva');
            return [svg.querySelector('.eixo-x').getAttribute('y1'),
                    svg.querySelector('.curva').getAttribute('d'),
                    [...svg.querySelectorAll('.marca')].map(g => [g.querySelector('text').textContent,
                        g.querySelector('circle').getAttribute('cx'),
                        g.querySelector('circle').getAttribute('cy')])];""")
        points = [(float(x), float(y)) for x, y in re.findall(r"[ML](-?[\d.]+) (-?[\d.]+)", path)]
        return float(axis), points, [(label, float(x), float(y)) for label, x, y in marks]

    def screenshot(self, path):
        """The whole page, beyond the window's height, as a PNG at PATH."""
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot",
                                           {"format": "png", "captureBeyondViewport": True})
        path.write_bytes(base64.b64decode(shot["data"]))


def crossings(axis, points):
    """Where the curve crosses the x-axis, by straight lines between its points."""
    found = []
    for (xa, ya), (xb, yb) in zip(points, points[1:]):
        if (ya - axis) * (yb - axis) < 0 or ya == axis:
            found.append(xa + (xb - xa) * (axis - ya) / (yb - ya) if yb != ya else xa)
    return found


def check_graph(name, graph, labels):
    """The curve crosses the axis at each mark and nowhere else, and the
    marks say LABELS; with no LABELS it keeps off the axis. Returns what is
    wrong, or None."""
    if graph is None:
        return "no graph is shown"
    axis, points, marks = graph
    where = crossings(axis, points)
    if [label for label, _, _ in marks] != labels:
        return f"marks {marks}, expected the labels {labels}"
    if any(abs(y - axis) > 0.01 for _, _, y in marks):
        return f"marks {marks} off the x-axis at {axis}"
    if len(where) != len(labels) or any(min(abs(x - c) for c in where) > 2 for _, x, _ in marks):
        return f"the curve crosses the axis at {where}, the marks are at {marks}"
    if not labels and not all(y < axis for _, y in points):
        return "the curve does not keep above the axis"
    if len(points) < 20:
        return f"a curve of {len(points)} points in {name}"
    return None


def main():
    solve = sys.argv[1] == "--solve"
    page_file, cases = (pathlib.Path(a).resolve() for a in sys.argv[1 + solve:3 + solve])
    shots = pathlib.Path(sys.argv[3 + solve]) if len(sys.argv) > 3 + solve else None
    # Three lines, the graph crossing; one line; an accented word quoted in
    # an error; the input ended before C; no real root, the graph off the
    # axis; a coefficient that is not finite, no graph. The labels of the
    # marks, where the graph is checked; False where there must be none.
    runs = [("roots/two-roots", ["2.00", "1.00"])]
    if not solve:
        runs += [("input/one-line", None), ("unreadable/accented-word", False),
                 ("unreadable/ends-before-c", False), ("roots/no-real-root", []),
                 ("input/infinity-word", False)]
    passed = failed = 0
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile)
        try:
            page = Page(driver, page_file.as_uri())
            for size, chosen in (("desktop", runs), ("phone", runs[:1] if not solve else [])):
                if size == "phone":
                    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", PHONE)
                for name, labels in chosen:
                    case = cases / name
                    err_file = case.with_suffix(".err")
                    out = case.with_suffix(".out").read_text(encoding="utf-8")
                    err = err_file.read_text(encoding="utf-8") if err_file.exists() else ""
                    expected = (1 if err_file.exists() else 0, out, err, out + err)
                    got = page.run(case.with_suffix(".in").read_text(encoding="utf-8"),
                                   again=passed + failed > 0)
                    problems = [] if got == expected else [f"expected {expected!r}\n  got      {got!r}"]
                    graph = page.graph()
                    if labels is False:
                        if graph is not None:
                            problems.append("a graph is shown where there should be none")
                    elif labels is not None:
                        problem = check_graph(name, graph, labels)
                        problems += [problem] if problem else []
                    if shots is not None and labels not in (None, False):
                        shots.mkdir(parents=True, exist_ok=True)
                        page.screenshot(shots / f"{size}-{case.name}.png")
                    if problems:
                        failed += 1
                        print(f"FAIL {name} ({size})\n  " + "\n  ".join(problems))
                    else:
                        passed += 1
        finally:
            driver.quit()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
