// Figures of the browser version (not a test): page load to the access-code
// window, the size of the site, and the write pacing measured in Debian's
// chromium against corvane-radio-sim. Build first: ./scripts/build-web.sh
// and the native tree (build/). Takes about a minute.
//   node bench/web_bench.mjs
import { readdirSync, statSync } from "node:fs";
import { join } from "node:path";
import {
  SITE_DIR, SimRadio, enterCode, launchBrowser, openProgram, removeDir, startSite, takeMessage, tempDir, waitForStatus,
} from "../tests/web/harness.mjs";

const PACE_MS = 25;
const IMAGE_LENGTH = 1936;

function siteBytes(dir) {
  let total = 0;
  for (const name of readdirSync(dir)) {
    const path = join(dir, name);
    total += statSync(path).isDirectory() ? siteBytes(path) : statSync(path).size;
  }
  return total;
}

const site = await startSite();
const browser = await launchBrowser();
const dir = tempDir("bench");
const radio = await new SimRadio(dir).started();
try {
  // Load: a fresh origin each time, so nothing comes from a cache.
  const loads = [];
  let transferred = 0;
  for (let i = 0; i < 5; ++i) {
    const context = await browser.newContext();
    const page = await context.newPage();
    let bytes = 0;
    page.on("response", async (response) => {
      const body = await response.body().catch(() => null);
      if (body) bytes += body.length;
    });
    const start = Date.now();
    await page.goto(site.url);
    await page.waitForSelector("#frmPassword:not([hidden])");
    loads.push(Date.now() - start);
    if (i === 0) {
      const marks = await page.evaluate(() => performance.getEntriesByType("mark").map((m) => `${m.name.replace("corvane-", "")} ${m.startTime.toFixed(0)} ms`));
      console.log(`first load, from navigation start: ${marks.join(", ")}`);
    }
    await page.waitForLoadState("networkidle");
    transferred = bytes;
    await context.close();
  }
  loads.sort((a, b) => a - b);
  console.log(`page load to the access-code window: median ${loads[2]} ms, best ${loads[0]} ms (goal under 500 ms)`);
  console.log(`site transferred: ${(transferred / 1024).toFixed(0)} KiB uncompressed; files on disk ${(siteBytes(SITE_DIR) / 1024).toFixed(0)} KiB (goal under 1 MB)`);

  // Pacing: the gaps between the image bytes the page hands to the port.
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
} finally {
  radio.stop();
  removeDir(dir);
  await browser.close();
  site.close();
}
