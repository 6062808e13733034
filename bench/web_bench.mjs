// Figures of the browser version (not a test): the first visit (what it
// transfers, also as the precompressed files a static host would send) and
// navigation to a usable access-code window, cold (a fresh profile) and warm
// (the same profile again, its service worker in place), median of 5; then
// the write pacing measured in Debian's chromium against corvane-radio-sim.
// Build first: ./scripts/build-web.sh and the native tree (build/). Takes
// about a minute; --no-pacing leaves the write out.
//   node bench/web_bench.mjs [--no-pacing]
import { readFileSync, readdirSync, statSync } from "node:fs";
import { loadavg } from "node:os";
import { join } from "node:path";
import { brotliCompressSync, gzipSync, constants as zlib } from "node:zlib";
import {
  SITE_DIR, SimRadio, enterCode, launchBrowser, openProgram, removeDir, startSite, takeMessage, tempDir, waitForStatus,
} from "../tests/web/harness.mjs";

const PACE_MS = 25;
const IMAGE_LENGTH = 1936;
const RUNS = 5;

function siteBytes(dir) {
  let total = 0;
  for (const name of readdirSync(dir)) {
    const path = join(dir, name);
    total += statSync(path).isDirectory() ? siteBytes(path) : statSync(path).size;
  }
  return total;
}

// What a static host serving the precompressed files sends for these files.
function compressedBytes(paths) {
  let br = 0;
  let gz = 0;
  for (const path of paths) {
    const body = readFileSync(join(SITE_DIR, path));
    br += brotliCompressSync(body, { params: { [zlib.BROTLI_PARAM_QUALITY]: 11 } }).length;
    gz += gzipSync(body, { level: 9 }).length;
  }
  return { br, gz };
}

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const kib = (bytes) => `${(bytes / 1024).toFixed(0)} KiB`;

// From navigation start to the access-code window shown with its box focused
// (typing goes into it from then on), and to its first paint (the window is
// the page's first content).
async function accessWindowMs(page) {
  await page.waitForSelector("#frmPassword:not([hidden])");
  return page.evaluate(() => new Promise((resolve) => {
    const shown = performance.getEntriesByName("corvane-access-window")[0].startTime;
    new PerformanceObserver((list) => {
      const paint = list.getEntriesByName("first-contentful-paint")[0];
      if (paint) resolve({ shown, painted: Math.max(shown, paint.startTime) });
    }).observe({ type: "paint", buffered: true });
  }));
}

const site = await startSite();
const browser = await launchBrowser();
try {
  console.log(`load average before: ${loadavg().map((l) => l.toFixed(2)).join(" ")}`);
  const cold = [];
  const warm = [];
  const visits = [];
  for (let i = 0; i < RUNS; ++i) {
    const context = await browser.newContext();
    const page = await context.newPage();
    site.served.length = 0;
    await page.goto(site.url);
    cold.push(await accessWindowMs(page));
    if (i === 0) {
      const marks = await page.evaluate(() => performance.getEntriesByType("mark").map((m) => `${m.name.replace("corvane-", "")} ${m.startTime.toFixed(0)} ms`));
      console.log(`first visit, from navigation start: ${marks.join(", ")}`);
    }
    // The first visit ends when the service worker has kept the site.
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForLoadState("networkidle");
    visits.push(site.served.filter((s) => s.bytes > 0));
    await page.goto(site.url);
    warm.push(await accessWindowMs(page));
    await context.close();
  }
  const bodies = visits.map((files) => files.reduce((sum, f) => sum + f.bytes, 0));
  const first = visits[bodies.indexOf(median(bodies))];
  const sent = first.map((f) => f.path.slice(1) || "index.html");
  const { br, gz } = compressedBytes(sent.map((path) => (path.endsWith("/") ? `${path}index.html` : path)));
  const largest = [...first].sort((a, b) => b.bytes - a.bytes).slice(0, 3).map((f) => `${f.path.slice(1)} ${kib(f.bytes)}`);
  console.log(`first visit transferred: ${kib(median(bodies))} in ${first.length} files (${largest.join(", ")}); ` +
    `precompressed: ${kib(br)} brotli, ${kib(gz)} gzip (goal at most 700 KiB)`);
  console.log(`site on disk: ${kib(siteBytes(SITE_DIR))}`);
  const figure = (runs) => {
    const shown = runs.map((r) => r.shown);
    return `median ${median(shown).toFixed(0)} ms (best ${Math.min(...shown).toFixed(0)}; painted ${median(runs.map((r) => r.painted)).toFixed(0)} ms)`;
  };
  console.log(`navigation to a usable access-code window: cold ${figure(cold)}, warm ${figure(warm)} (goals under 350 and 150 ms)`);
  console.log(`load average after: ${loadavg().map((l) => l.toFixed(2)).join(" ")}`);
  if (!process.argv.includes("--no-pacing")) await measurePacing();
} finally {
  await browser.close();
  site.close();
}

// Pacing: the gaps between the image bytes the page hands to the port.
async function measurePacing() {
  const dir = tempDir("bench");
  const radio = await new SimRadio(dir).started();
  const { page, context } = await openProgram(browser, site, { A: radio });
  await enterCode(page, "qzv");
  await waitForStatus(page, "(COM5)  Connected ...");
  await page.evaluate(() => { window.__corvaneWrites.length = 0; });
  await page.click("[data-key=program]");
  await takeMessage(page, 180000);
  const writes = await page.evaluate(() => window.__corvaneWrites);
  const image = writes.filter(([, n]) => n === 1).slice(-IMAGE_LENGTH).map(([t]) => t);
  const gaps = image.slice(1).map((t, i) => t - image[i]).sort((a, b) => a - b);
  const total = (image[image.length - 1] - image[0] + PACE_MS) / 1000;
  console.log(`write pacing over ${image.length} bytes: smallest gap ${gaps[0].toFixed(1)} ms, median ${gaps[gaps.length >> 1].toFixed(1)} ms, ` +
    `largest ${gaps[gaps.length - 1].toFixed(1)} ms; total ${total.toFixed(1)} s against ${(IMAGE_LENGTH * PACE_MS / 1000).toFixed(1)} s`);
  await context.close();
  radio.stop();
  removeDir(dir);
}
