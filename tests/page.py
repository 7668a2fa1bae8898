#!/usr/bin/env python3
"""Types golden cases at raizes.html in headless Chromium, as a student would.

Usage: page.py PAGE CASES [SCREENSHOTS]

Each case's lines are typed one at a time, each once the program waits for
it; where it still waits after them, "Encerrar a entrada" ends the input. The
page must show the case's .out and .err in the order written, and its exit
status. The graph's curve must cross the x-axis once at each mark, labelled
as printed (2.00 and 1.00 for 1 -3 2), or nowhere (1 0 1); no graph may
follow an error or an infinite coefficient. Needs Debian's chromium,
chromium-driver and python3-selenium (for /usr/bin/python3); without one it
is skipped (exit 77).
"""
import pathlib
import re
import shutil
import sys
import tempfile

from launch import HANG
from ptlocale import skipped

# Each case, and the labels of the marks its graph must have; None: no graph.
RUNS = {"roots/two-roots": ["2.00", "1.00"], "input/one-line": ["2.00", "1.00"],
        "roots/no-real-root": [], "unreadable/accented-word": None,
        "unreadable/ends-before-c": None, "input/infinity-word": None}
SHOWN = """const svg = document.getElementById('curva'), on = !document.getElementById('grafico').hidden;
return [[...document.querySelectorAll('#tela span')].map(s => [s.className, s.textContent]),
  document.getElementById('estado').textContent, on && +svg.querySelector('.eixo-x').getAttribute('y1'),
  on && svg.querySelector('.curva').getAttribute('d'), on && [...svg.querySelectorAll('.marca')].map(
  g => [g.querySelector('text').textContent, +g.querySelector('circle').getAttribute('cx')])];"""


def browser(profile):
    """A headless Chromium with a fresh profile in PROFILE that reaches for
    no network on its own, or a skip."""
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError:
        skipped("the page test", "needs selenium (Debian's python3-selenium, for /usr/bin/python3)")
    for tool, package in (("chromium", "chromium"), ("chromedriver", "chromium-driver")):
        if shutil.which(tool) is None:
            skipped("the page test", f"needs {tool} (Debian's {package})")
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for flag in ("headless", "no-sandbox", "disable-gpu", "disable-quic", "no-first-run",
                 "disable-background-networking", "disable-component-update", "disable-sync",
                 "window-size=1024,900", f"user-data-dir={profile}"):
        options.add_argument(f"--{flag}")
    return webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)


class Page:
    """The page in DRIVER, loaded from URL; WAIT waits for a condition."""

    def __init__(self, driver, url):
        from selenium.webdriver.support.ui import WebDriverWait
        self.driver, self.wait = driver, WebDriverWait(driver, HANG)
        driver.get(url)

    def script(self, text):
        return self.driver.execute_script(text)

    def click(self, name):
        self.script(f"document.getElementById('{name}').click()")

    def run(self, typed):
        """Types TYPED's lines, as the test's description says; returns
        (status, stdout, stderr, both in the order shown, graph)."""
        state = "return [document.querySelectorAll('#tela .eco').length, document.body.dataset.estado]"
        entry = self.driver.find_element("id", "entrada")
        lines = typed.split("\n")
        for count, line in enumerate(lines):
            self.wait.until(lambda _, n=count: self.script(state) in ([n, "esperando"], [n, "terminado"]))
            if self.script(state)[1] == "terminado":
                break
            entry.send_keys(line + ("\n" if count < len(lines) - 1 else ""))
            if count == len(lines) - 1:
                self.click("fim")
                self.wait.until(lambda _: self.script(state)[1] == "terminado")
        spans, status, *graph = self.script(SHOWN)
        stream = {kind: "".join(t for k, t in spans if k == kind) for kind in ("saida", "erro")}
        found = re.search(r"status de saída (\d+)", status)
        return (int(found[1]) if found else None, stream["saida"], stream["erro"],
                "".join(t for k, t in spans if k in stream), graph if graph[0] is not False else None)


def wrong_graph(graph, labels):
    """What is wrong with GRAPH, (axis, path, marks), where it must cross the
    axis at marks with LABELS; None where nothing is."""
    if graph is None or labels is None:
        return None if graph is None and labels is None else f"graph {graph}, expected marks {labels}"
    axis, path, marks = graph
    points = [(float(x), float(y) - axis) for x, y in re.findall(r"[ML](-?[\d.]+) (-?[\d.]+)", path)]
    crossings = [xa for (xa, ya), (_, yb) in zip(points, points[1:]) if ya * yb < 0 or ya == 0]
    if [label for label, _ in marks] != labels or len(crossings) != len(labels) or any(
            min(abs(x - c) for c in crossings) > 2 for _, x in marks):
        return f"marks {marks}, expected {labels}; the curve crosses the x-axis at {crossings}"
    return None


def main():
    page_file, cases = (pathlib.Path(arg).resolve() for arg in sys.argv[1:3])
    shots = pathlib.Path(sys.argv[3]) if len(sys.argv) > 3 else None
    failed = 0
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile)
        try:
            page = Page(driver, page_file.as_uri())
            for name, labels in RUNS.items():
                if name != next(iter(RUNS)):
                    page.click("denovo")
                case = cases / name
                err = case.with_suffix(".err")
                out, err = case.with_suffix(".out").read_text(), err.read_text() if err.exists() else ""
                *got, graph = page.run(case.with_suffix(".in").read_text())
                problems = [f"shows {got!r}"] if got != [1 if err else 0, out, err, out + err] else []
                problems += [wrong_graph(graph, labels)] if wrong_graph(graph, labels) else []
                if shots is not None and labels is not None:
                    shots.mkdir(parents=True, exist_ok=True)
                    driver.save_screenshot(str(shots / f"{case.name}.png"))
                failed += bool(problems)
                for problem in problems:
                    print(f"FAIL {name}: {problem}")
        finally:
            driver.quit()
    print(f"{len(RUNS) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
