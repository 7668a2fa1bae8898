// SPDX-License-Identifier: MIT
// Types the rows of page.json at raizes.html in one browser engine, as a
// student would, with the checks of page_check.js run inside the page. The
// rows run at a phone's size, those named in "sight" again at every size;
// the page is opened from its file, then over HTTP from 127.0.0.1, and
// in the engine with WebAssembly, then JavaScript, switched off. No load
// may break the page's Content-Security-Policy: over HTTP, the server sends
// the page's policy again to be reported on; from the file, Chromium and
// Firefox give the page's own violation events and Chromium its log.
//
// The page is also opened from links (page.json's "links"), and where the
// driver prints (Chromium, Firefox), printed to an A4 PDF, before a run and
// after one, which poppler-utils reads back.
//
// Usage: node page.mjs chromium|webkit|firefox PAGE CASES [APP NEXT]
//
// With APP and NEXT, two releases' folders of the offline app (cmake/web.cmake
// builds them), the app is checked over HTTP too: Chromium finds it
// installable; after one visit, with its service worker in control and the
// server stopped, it still runs; and once NEXT is put where APP was, the
// page that opens is NEXT's (the same release, its version followed by
// "+next").
//
// Chromium and Firefox (Debian's chromium, firefox-esr) are driven by
// puppeteer-core, pinned by tools/package-lock.json (npm ci in tools/);
// WebKit by WebKitWebDriver with MiniBrowser (webkit2gtk-driver), on a
// display (under xvfb-run where there is none). Without what it needs, it
// is skipped (exit 77; a failure where RAIZES_STRICT_TESTS is ON).
/* global window, document */ // in the functions that run inside the page
import { createRequire } from "node:module";
import { execFileSync, spawn, spawnSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const [engine, pageArg, casesArg, appArg, nextArg] = process.argv.slice(2);
// How long one row may take before it counts as hung: a guard, as in
// launch.py, not a wait.
const HANG = 60000;

function skip(what) {
  const strict = process.env.RAIZES_STRICT_TESTS === "ON"; // the build's decision
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
// webkitBrowser() gives.
// OFF, where given, is what the engine runs without: "WebAssembly" or
// "JavaScript", each switched off by the engine's own setting where it has
// one (Chromium has none for WebAssembly).
async function puppeteerBrowser(name, binary, off) {
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
      "--disable-component-update", "--disable-sync", "--no-first-run",
      ...(off === "JavaScript" ? ["--blink-settings=scriptEnabled=false"] : [])],
    extraPrefsFirefox: { "network.captive-portal-service.enabled": false, "app.update.enabled": false,
      ...(off && { [off === "JavaScript" ? "javascript.enabled" : "javascript.options.wasm"]: false }) },
  });
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(watch);
  if (off === "WebAssembly" && name === "chromium") {
    await page.evaluateOnNewDocument(() => delete globalThis.WebAssembly);
  }
  const logged = [];
  let session = null;
  if (name === "chromium") {
    // Chromium tells of some violations (a file's favicon) only in its log.
    session = await page.createCDPSession();
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
    pdf: () => page.pdf({ format: "A4" }),
    // What keeps the page from being installed as an app, in Chromium.
    installability: session && (async () => (await session.send("Page.getInstallabilityErrors")).installabilityErrors),
    violations: async () => [...(await page.evaluate(() => window.cspViolations || [])),
      ...logged.splice(0).filter((text) => /Content Security Policy/.test(text))],
    close: async () => {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// WebKit through WebKitWebDriver, over WebDriver's HTTP protocol. The
// browser is full-screen, so that its window is the viewport alone, and its
// toolkit lets the window be as narrow as any phone's.
async function webkitBrowser(driver, miniBrowser, off) {
  // A free port of the loopback's, for the driver to take.
  const free = http.createServer();
  await new Promise((resolve) => free.listen(0, "127.0.0.1", resolve));
  const port = free.address().port;
  await new Promise((resolve) => free.close(resolve));
  const config = fs.mkdtempSync(path.join(os.tmpdir(), "raizes-page-"));
  fs.mkdirSync(path.join(config, "gtk-3.0"));
  fs.writeFileSync(path.join(config, "gtk-3.0", "gtk.css"), "* { min-width: 0; }\n");
  // JavaScriptCore's own switch, as a browser without WebAssembly has it.
  const env = { ...process.env, XDG_CONFIG_HOME: config, ...(off === "WebAssembly" && { JSC_useWasm: "0" }) };
  const server = spawn(driver, [`--port=${port}`], { stdio: "inherit", env });
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
    capabilities: { alwaysMatch: { "webkitgtk:browserOptions": { binary: miniBrowser,
      args: ["--automation", "--full-screen", ...(off === "JavaScript" ? ["--enable-javascript=false"] : [])] } } },
  });
  const at = `/session/${sessionId}`;
  await call("POST", `${at}/timeouts`, { script: 2 * HANG });
  const script = (source, ...args) => call("POST", `${at}/execute/async`, { script: source, args });
  return {
    goto: (url) => call("POST", `${at}/url`, { url }),
    script,
    check: (row) => script(run, row),
    // Full-screen, the window is the viewport; a size it does not take fails.
    size: async (width, height) => {
      // The window takes its size a while after the call returns: the
      // viewport is waited for, at each resize, until the script's time-out.
      await call("POST", `${at}/window/rect`, { width, height });
      await script(`const [w, h, done] = arguments;
        const reached = () => innerWidth === w && innerHeight === h && (done(), true);
        if (!reached()) addEventListener("resize", reached);`, width, height)
        .catch((error) => {
          throw new Error(`WebKit's viewport never became ${width}×${height}: ${error.message}`);
        });
    },
    violations: async () => [],
    close: async () => {
      await call("DELETE", at);
      server.kill();
      fs.rmSync(config, { recursive: true, force: true });
    },
  };
}

async function open(off) {
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
    return webkitBrowser(driver, mini, off);
  }
  const binary = engine === "firefox" ? which("firefox-esr", "firefox") : which("chromium");
  if (!binary) {
    skip(engine === "firefox" ? "firefox-esr (Debian's firefox-esr)" : "chromium (Debian's chromium)");
  }
  if (!which("pdftotext") || !which("pdfinfo")) {
    skip("pdftotext and pdfinfo, to read the printed page (Debian's poppler-utils)");
  }
  return puppeteerBrowser(engine, binary, off);
}

const pageFile = path.resolve(pageArg);
const policy = /http-equiv="Content-Security-Policy" content="([^"]*)"/.exec(fs.readFileSync(pageFile, "utf8"))[1];
const reports = [];
let reported = () => {};
// The offline app's folder that the server gives under /app/: APP, until
// NEXT is put in its place.
let release = appArg && path.resolve(appArg);
const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".png": "image/png",
  ".webmanifest": "application/manifest+json" };
const server = http.createServer((request, response) => {
  if (request.method === "POST") {
    let body = "";
    request.on("data", (chunk) => (body += chunk));
    request.on("end", () => {
      reports.push(body);
      response.end();
      reported();
    });
    return;
  }
  let file = pageFile;
  let pagePolicy = policy;
  const inApp = /^\/app\/([a-z0-9-]*(?:\.[a-z]+)?)(?:\?.*)?$/.exec(request.url);
  if (release && inApp) {
    file = path.join(release, inApp[1] || "index.html");
    pagePolicy = /http-equiv="Content-Security-Policy" content="([^"]*)"/
      .exec(fs.readFileSync(path.join(release, "index.html"), "utf8"))[1];
    if (!fs.existsSync(file)) {
      response.statusCode = 404;
      response.end();
      return;
    }
  }
  response.setHeader("Content-Type", types[path.extname(file)] || "application/octet-stream");
  if (file.endsWith(".html")) {
    // The page's policy once more, to be reported on: every engine sends the
    // reports here.
    response.setHeader("Content-Security-Policy-Report-Only", `${pagePolicy}; report-uri /violation`);
  }
  response.end(fs.readFileSync(file));
});
// The reports of the page's violations over HTTP: a violation of the test's
// own comes last, and its report says that those before it have come.
async function reportedViolations() {
  const last = new Promise((resolve) => {
    reported = () => reports.some((body) => body.includes("/last-violation")) && resolve();
  });
  await browser.script("new Image().src = '/last-violation.png'; arguments[0]()");
  await last;
  return reports.filter((body) => !body.includes("/last-violation")).map((body) => `reported: ${body}`);
}
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const port = server.address().port;
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
// The offline app, over HTTP: each step waits for the event it needs (the
// worker in control, the new worker active), and no load may break the
// page's policy.
async function offlineApp() {
  const url = `http://127.0.0.1:${port}/app/`;
  const said = async (source) => {
    const got = await browser.script(source);
    return got === true ? [] : [String(got)];
  };
  reports.splice(0);
  await browser.violations(); // those of the loads before, already checked
  await report("offline app: its worker in control", (async () => {
    await browser.goto(url);
    // Registering again gives the same registration, or why there is none.
    return [...await said(`if (!navigator.serviceWorker) {
        arguments[0]("this engine gives the page no navigator.serviceWorker");
      } else {
        navigator.serviceWorker.register("service-worker.js").catch((e) => arguments[0](String(e)));
        navigator.serviceWorker.ready.then(() => navigator.serviceWorker.controller ? arguments[0](true) :
          navigator.serviceWorker.addEventListener("controllerchange", () => arguments[0](true)));
      }`), ...await browser.violations()];
  })());
  if (browser.installability) {
    await report("offline app: installable", (async () =>
      (await browser.installability()).map((e) => `not installable: ${e.errorId} ${JSON.stringify(e.errorArguments)}`))());
  }
  await new Promise((resolve) => {
    server.close(resolve);
    server.closeAllConnections();
  });
  await report("offline app: with the server stopped", (async () => {
    await load(url);
    return [...await browser.check(byName["two roots"]), ...await browser.violations()];
  })());
  release = path.resolve(nextArg);
  await new Promise((resolve) => server.listen(port, "127.0.0.1", resolve));
  await report("offline app: the next release taken", (async () => {
    await browser.goto(url);
    const active = await said(`navigator.serviceWorker.getRegistration().then(async (r) => {
        await r.update();
        const worker = r.installing || r.waiting;
        if (worker) {
          await new Promise((ok) => worker.addEventListener("statechange", () => worker.state === "activated" && ok()));
        }
        arguments[0](true);
      }).catch((e) => arguments[0](String(e)))`);
    await load(url);
    return [...active, ...await said(`arguments[0](document.body.innerHTML.includes("+next") ||
      "the page is not the next release's")`), ...await browser.violations(), ...await reportedViolations()];
  })());
}

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
  // A link types each value at its prompt, as a student would, and is
  // never markup: a missing value leaves its prompt waiting.
  for (const [query, expected] of Object.entries(table.links)) {
    await report(`the link ?${query}`, (async () => {
      await load(`${pathToFileURL(pageFile).href}?${query}`);
      return browser.script("window.pageLink(arguments[0]).then(arguments[1])", expected);
    })());
  }
  // One printed A4 page: the run after one, the help before any, from a
  // desktop's window.
  if (browser.pdf) {
    await browser.size(1280, 800);
    for (const [when, expected] of Object.entries(table.print)) {
      await report(`printed ${when}`, (async () => {
        await load(`${pathToFileURL(pageFile).href}${expected.query}`);
        await browser.script("window.pageLink(arguments[0]).then(arguments[1])", { state: expected.state });
        const file = path.join(os.tmpdir(), `raizes-print-${process.pid}.pdf`);
        fs.writeFileSync(file, await browser.pdf());
        const pages = Number(/^Pages:\s+(\d+)/m.exec(execFileSync("pdfinfo", [file], { encoding: "utf8" }))[1]);
        // One line of text for one line of the page's, ligatures (ﬁ) undone.
        const flat = (t) => t.normalize("NFKC").replace(/\s+/g, " ");
        const text = flat(execFileSync("pdftotext", ["-layout", file, "-"], { encoding: "utf8" }));
        fs.rmSync(file);
        return [
          ...(pages === 1 ? [] : [`${pages} pages`]),
          ...expected.has.filter((t) => !text.includes(flat(t))).map((t) => `no "${t}" in ${JSON.stringify(text)}`),
          ...expected.not.filter((t) => text.includes(flat(t))).map((t) => `"${t}" printed`),
          ...Object.entries(expected.count || {}).map(([t, n]) => [t, n, text.split(flat(t)).length - 1])
            .filter(([, n, got]) => got !== n).map(([t, n, got]) => `"${t}" printed ${got} times, not ${n}`),
        ];
      })());
    }
  }
  await load(`http://127.0.0.1:${port}/raizes.html`);
  await report("HTTP load", (async () => [...(await browser.check(byName["two roots"])),
    ...(await reportedViolations())])());
  if (release) {
    await offlineApp();
  }
  // Without WebAssembly or JavaScript, the page must say what the browser
  // lacks.
  for (const [off, said] of [["WebAssembly", "não executa WebAssembly"], ["JavaScript", "precisa de JavaScript"]]) {
    await report(`without ${off}`, (async () => {
      const other = await open(off);
      try {
        await other.goto(pathToFileURL(pageFile).href);
        const [text, on, again] = await other.script("const $ = (id) => document.getElementById(id); " +
          "arguments[0]([document.body.innerText, !$('field').disabled, $('again').getClientRects().length > 0])");
        return text.includes(said) && !on && !again ? [] : [`it does not say "${said}", or the field or 'Executar de novo' is on`];
      } finally {
        await other.close();
      }
    })());
  }
} finally {
  await browser.close();
  server.close();
}
console.log(`${engine}: ${total - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
