// SPDX-License-Identifier: MIT
// Types the rows of page.json at raizes.html in one browser engine, as a
// student would, with the checks of page_check.js run inside the page. The
// rows run at a phone's size, those named in "sight" again at every size;
// the page is opened from its file, then over HTTP from 127.0.0.1, and
// once without WebAssembly (and, in Chromium, without JavaScript). No load
// may break the page's Content-Security-Policy (checked where the engine
// tells: Chromium and Firefox).
//
// Usage: node page.mjs chromium|webkit|firefox PAGE CASES
//
// Chromium and Firefox (Debian's chromium, firefox-esr) are driven by
// puppeteer-core, pinned by tools/package-lock.json (npm ci in tools/);
// WebKit by WebKitWebDriver with MiniBrowser (webkit2gtk-driver), on a
// display (under xvfb-run where there is none). Without what it needs, it
// is skipped (exit 77; a failure where RAIZES_STRICT_TESTS is set).
/* global window, document */ // in the functions that run inside the page
import { createRequire } from "node:module";
import { execFileSync, spawn, spawnSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const [engine, pageArg, casesArg] = process.argv.slice(2);
// How long one row may take before it counts as hung: a guard, as in
// launch.py, not a wait.
const HANG = 60000;

function skip(what) {
  const strict = /^(1|on|yes|true)$/i.test(process.env.RAIZES_STRICT_TESTS || "");
  console.log(`${strict ? "FAIL" : "SKIPPED"} the page test in ${engine}: needs ${what}`);
  process.exit(strict ? 1 : 77);
}

function which(...names) {
  for (const name of names) {
    try {
      return execFileSync("sh", ["-c", `command -v ${name} || ls ${name}`], { encoding: "utf8" }).split("\n")[0];
    } catch {
      // not this one
    }
  }
  return null;
}

const table = JSON.parse(fs.readFileSync(path.join(here, "page.json"), "utf8"));
for (const row of table.rows.filter((r) => r.case)) {
  const base = path.join(path.resolve(casesArg), row.case);
  row.typed = fs.readFileSync(`${base}.in`, "utf8");
  row.out = fs.readFileSync(`${base}.out`, "utf8");
  row.err = fs.existsSync(`${base}.err`) ? fs.readFileSync(`${base}.err`, "utf8") : "";
}
const byName = Object.fromEntries(table.rows.map((row) => [row.name, row]));
const check = fs.readFileSync(path.join(here, "page_check.js"), "utf8");
const run = "window.pageCheck(arguments[0]).then(arguments[1], (e) => arguments[1]([`threw ${e}`]))";
// Registered before the page's own scripts: every violation of its policy.
function watch() {
  window.cspViolations = [];
  document.addEventListener("securitypolicyviolation", (e) =>
    window.cspViolations.push(`${e.violatedDirective} ${e.blockedURI}`));
}

// Chromium or Firefox, through puppeteer-core: the same few calls as
// webkit() gives.
async function puppeteerBrowser(name, binary) {
  let puppeteer;
  try {
    puppeteer = createRequire(path.join(here, "..", "tools", "package.json"))("puppeteer-core");
  } catch {
    skip("puppeteer-core (npm ci in tools/)");
  }
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "raizes-page-"));
  const browser = await puppeteer.launch({
    browser: name === "firefox" ? "firefox" : "chrome",
    executablePath: binary,
    headless: true,
    userDataDir: profile,
    // No network of the browser's own.
    args: name === "firefox" ? [] : ["--no-sandbox", "--disable-gpu", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--no-first-run"],
    extraPrefsFirefox: { "network.captive-portal-service.enabled": false, "app.update.enabled": false },
  });
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(watch);
  const logged = [];
  if (name === "chromium") {
    // Chromium tells of some violations (a file's favicon) only in its log.
    const session = await page.createCDPSession();
    session.on("Log.entryAdded", ({ entry }) => logged.push(entry.text));
    await session.send("Log.enable");
  }
  return {
    goto: (url) => page.goto(url),
    // As WebDriver's scripts: SOURCE gives its result to its last argument.
    script: (source, ...args) =>
      page.evaluate(`new Promise((done) => (function () { ${source} })(...${JSON.stringify(args)}, done))`),
    check: (row) => page.evaluate((r) => window.pageCheck(r), row),
    size: (width, height) => page.setViewport({ width, height }),
    violations: async () => [...(await page.evaluate(() => window.cspViolations || [])),
      ...logged.filter((text) => /Content Security Policy/.test(text))],
    without: async (what) => {
      const other = await browser.newPage();
      if (what === "JavaScript") {
        await other.setJavaScriptEnabled(false);
      } else {
        await other.evaluateOnNewDocument(() => delete globalThis.WebAssembly);
      }
      return other;
    },
    close: async () => {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// WebKit through WebKitWebDriver, over WebDriver's HTTP protocol.
async function webkitBrowser(driver, miniBrowser) {
  // A free port of the loopback's, for the driver to take.
  const free = http.createServer();
  await new Promise((resolve) => free.listen(0, "127.0.0.1", resolve));
  const port = free.address().port;
  await new Promise((resolve) => free.close(resolve));
  const server = spawn(driver, [`--port=${port}`], { stdio: "inherit" });
  const call = async (method, url, body) => {
    const response = await fetch(`http://127.0.0.1:${port}${url}`, {
      method,
      headers: { "Content-Type": "application/json" },
      body: body && JSON.stringify(body),
    });
    const { value } = await response.json();
    if (!response.ok) {
      throw new Error(`WebKitWebDriver: ${value.error}: ${value.message}`);
    }
    return value;
  };
  // Ready once it answers.
  for (;;) {
    try {
      await call("GET", "/status");
      break;
    } catch (error) {
      if (error.cause?.code !== "ECONNREFUSED") {
        throw error;
      }
    }
  }
  const { sessionId } = await call("POST", "/session", {
    capabilities: { alwaysMatch: { "webkitgtk:browserOptions": { binary: miniBrowser, args: ["--automation"] } } },
  });
  const at = `/session/${sessionId}`;
  await call("POST", `${at}/timeouts`, { script: 2 * HANG });
  const script = (source, ...args) => call("POST", `${at}/execute/async`, { script: source, args });
  return {
    goto: (url) => call("POST", `${at}/url`, { url }),
    script,
    check: (row) => script(run, row),
    // The window's size is the viewport's and the browser's own bars.
    size: async (width, height) => {
      await call("POST", `${at}/window/rect`, { width, height });
      const [w, h] = await script("arguments[0]([innerWidth, innerHeight])");
      await call("POST", `${at}/window/rect`, { width: 2 * width - w, height: 2 * height - h });
    },
    violations: async () => [],
    without: null,
    close: async () => {
      await call("DELETE", at);
      server.kill();
    },
  };
}

async function open() {
  if (engine === "webkit") {
    const driver = which("WebKitWebDriver");
    const mini = which("/usr/lib/*/webkit2gtk-4.*/MiniBrowser");
    if (!driver || !mini) {
      skip("WebKitWebDriver and MiniBrowser (Debian's webkit2gtk-driver)");
    }
    if (!process.env.DISPLAY) {
      if (!which("xvfb-run")) {
        skip("a display, or xvfb-run (Debian's xvfb)");
      }
      const again = spawnSync("xvfb-run", ["-a", process.execPath, ...process.argv.slice(1)], { stdio: "inherit" });
      process.exit(again.status ?? 1);
    }
    return webkitBrowser(driver, mini);
  }
  const binary = engine === "firefox" ? which("firefox-esr", "firefox") : which("chromium");
  if (!binary) {
    skip(engine === "firefox" ? "firefox-esr (Debian's firefox-esr)" : "chromium (Debian's chromium)");
  }
  return puppeteerBrowser(engine, binary);
}

const pageFile = path.resolve(pageArg);
const server = http.createServer((request, response) => {
  response.setHeader("Content-Type", "text/html; charset=utf-8");
  response.end(fs.readFileSync(pageFile));
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const browser = await open();
let failed = 0;
let total = 0;
const report = async (where, problems) => {
  let timer;
  try {
    problems = await Promise.race([problems, new Promise((_, reject) => {
      timer = setTimeout(() => reject(new Error(`hung for ${HANG / 1000} s`)), HANG);
    })]);
  } catch (error) {
    problems = [`no answer: ${error.message}`];
  } finally {
    clearTimeout(timer);
  }
  total += 1;
  failed += problems.length > 0;
  for (const problem of problems) {
    console.log(`FAIL ${engine} ${where}: ${problem}`);
  }
};
const load = async (url) => {
  await browser.goto(url);
  await browser.script(`${check}; arguments[0]()`);
};
try {
  await load(pathToFileURL(pageFile).href);
  await browser.size(...table.phone);
  for (const row of table.rows) {
    await report(row.name, browser.check(row));
  }
  for (const [width, height] of table.sizes) {
    await browser.size(width, height);
    for (const name of table.sight) {
      await report(`${name} at ${width}×${height}`, browser.check({ ...byName[name], sight: true }));
    }
  }
  await report("file load", browser.violations());
  await load(`http://127.0.0.1:${server.address().port}/raizes.html`);
  await report("HTTP load", (async () => [...(await browser.check(byName["two roots"])), ...(await browser.violations())])());
  // Without WebAssembly (a setting in Firefox and WebKit) or JavaScript,
  // the page must say what the browser lacks.
  for (const [what, said] of [["WebAssembly", "não executa WebAssembly"], ["JavaScript", "precisa de JavaScript"]]) {
    if (browser.without && (what === "WebAssembly" || engine === "chromium")) {
      const page = await browser.without(what);
      await page.goto(pathToFileURL(pageFile).href);
      const [text, on] = await page.evaluate(() => [document.body.innerText, !document.getElementById("field").disabled]);
      await report(`without ${what}`, text.includes(said) && !on ? [] : [`it does not say "${said}", or the field is on`]);
    }
  }
} finally {
  await browser.close();
  server.close();
}
console.log(`${engine}: ${total - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
