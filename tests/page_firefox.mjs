// SPDX-License-Identifier: MIT
// The page test in Firefox: page.py's table and checks (page.json,
// page_check.js), driven over Firefox's own WebDriver BiDi by puppeteer-core,
// which tools/package.json pins (npm ci in tools/).
//
// Usage: node page_firefox.mjs PAGE CASES
//
// Needs Debian's firefox-esr; without it, or without puppeteer-core, it is
// skipped (exit 77, a failure where RAIZES_STRICT_TESTS is set).
import { createRequire } from "node:module";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));

function skip(what) {
  const strict = /^(1|on|yes|true)$/i.test(process.env.RAIZES_STRICT_TESTS || "");
  console.log(`${strict ? "FAIL" : "SKIP"} the page test in Firefox: needs ${what}`);
  process.exit(strict ? 1 : 77);
}

let puppeteer;
try {
  puppeteer = createRequire(path.join(here, "..", "tools", "package.json"))("puppeteer-core");
} catch {
  skip("puppeteer-core (npm ci in tools/)");
}
let firefox;
try {
  firefox = execFileSync("sh", ["-c", "command -v firefox-esr"], { encoding: "utf8" }).trim();
} catch {
  skip("firefox-esr (Debian's firefox-esr)");
}

const [pageArg, casesArg] = process.argv.slice(2);
const pageFile = path.resolve(pageArg);
const table = JSON.parse(fs.readFileSync(path.join(here, "page.json"), "utf8"));
for (const row of table.rows) {
  if (row.case) {
    const base = path.join(path.resolve(casesArg), row.case);
    row.typed = fs.readFileSync(`${base}.in`, "utf8");
    row.out = fs.readFileSync(`${base}.out`, "utf8");
    row.err = fs.existsSync(`${base}.err`) ? fs.readFileSync(`${base}.err`, "utf8") : "";
  }
}
const byName = Object.fromEntries(table.rows.map((row) => [row.name, row]));
const check = fs.readFileSync(path.join(here, "page_check.js"), "utf8");
// Registered before the page's own scripts: every violation of its policy.
const watch = () => {
  window.cspViolations = [];
  document.addEventListener("securitypolicyviolation", (e) =>
    window.cspViolations.push(`${e.violatedDirective} ${e.blockedURI}`));
};

const server = http.createServer((request, response) => {
  response.setHeader("Content-Type", "text/html; charset=utf-8");
  response.end(fs.readFileSync(pageFile));
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));

const profile = fs.mkdtempSync(path.join(os.tmpdir(), "raizes-firefox-"));
const browser = await puppeteer.launch({
  browser: "firefox",
  executablePath: firefox,
  headless: true,
  userDataDir: profile,
  // No network of its own: no updates, no telemetry, no captive portal.
  extraPrefsFirefox: {
    "network.captive-portal-service.enabled": false,
    "app.update.enabled": false,
    "datareporting.policy.dataSubmissionEnabled": false,
    "browser.safebrowsing.update.enabled": false,
  },
});
let failed = 0;
let total = 0;
const report = (where, problems) => {
  total += 1;
  failed += problems.length > 0;
  for (const problem of problems) {
    console.log(`FAIL firefox ${where}: ${problem}`);
  }
};
try {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(watch);
  const open = async (url) => {
    await page.goto(url);
    await page.evaluate(check);
  };
  const run = (row) => page.evaluate((r) => window.pageCheck(r), row);
  const violations = () => page.evaluate(() => window.cspViolations || []);
  await open(pathToFileURL(pageFile).href);
  await page.setViewport({ width: table.phone[0], height: table.phone[1] });
  for (const row of table.rows) {
    report(row.name, await run(row));
  }
  for (const [width, height] of table.sizes) {
    await page.setViewport({ width, height });
    for (const name of table.sight) {
      report(`${name} at ${width}×${height}`, await run(byName[name]));
    }
  }
  report("file load", await violations());
  await open(`http://127.0.0.1:${server.address().port}/raizes.html`);
  report("HTTP load", [...(await run(byName["two roots"])), ...(await violations())]);
  // Without WebAssembly (a setting of Firefox's), the page must say so.
  const lacking = await browser.newPage();
  await lacking.evaluateOnNewDocument(() => delete globalThis.WebAssembly);
  await lacking.goto(pathToFileURL(pageFile).href);
  const [said, on] = await lacking.evaluate(() => [
    document.getElementById("summary").textContent, !document.getElementById("field").disabled]);
  report("without WebAssembly", said.includes("não executa WebAssembly") && !on ? [] : [`it says "${said}"`]);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(`firefox: ${total - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
