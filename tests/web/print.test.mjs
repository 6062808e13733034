// File > Print Channel List... in the page: the print view shows the sheet
// corvane-cli prints from the same files (the core's HTML), A4 or Letter,
// table or pocket, and Print... hands that view to the browser's print. A
// screenshot of the view is kept in build-web/screenshots/ to be looked at.
import assert from "node:assert/strict";
import { mkdirSync, readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { test } from "node:test";
import { fileURLToPath } from "node:url";
import { browserSuite, cli, enterCode, settle, storedFiles, writeProgramFolder } from "./harness.mjs";

const suite = browserSuite();
const SCREENSHOTS = join(dirname(fileURLToPath(import.meta.url)), "..", "..", "build-web", "screenshots");

// The sheet's pages as text, one string per page.
function pagesOf(frame) {
  return frame.$$eval(".page", (pages) => pages.map((p) => p.innerText.replace(/\s+/g, " ").trim()));
}

test("the print view shows corvane-cli's sheet and prints that view", async () => {
  const dir = suite.scratch("print");
  const { page, context, errors } = await suite.open({});
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await settle(page);
  const folder = writeProgramFolder(await storedFiles(page), join(dir, "folder"));

  await page.click("[data-name=mnuFile]");
  await page.click("[data-name=printChannelList]");
  await page.waitForSelector("#frmPrint[open]");
  const frame = page.frameLocator("[data-name=Sheet]");
  await frame.locator(".page").first().waitFor();
  const frameHandle = await (await page.$("[data-name=Sheet]")).contentFrame();
  await page.selectOption("[data-name=cboPaper]", "a4"); // Letter first where the language is US English

  cli("--folder", folder, "print", "--html", join(dir, "a4.html"));
  cli("--folder", folder, "print", "--html", join(dir, "pocket.html"), "--paper", "letter", "--pocket");
  const expected = async (file) => {
    const view = await context.newPage();
    await view.setContent(readFileSync(join(dir, file), "utf8"));
    const pages = await pagesOf(view.mainFrame());
    await view.close();
    return pages;
  };
  const a4 = await pagesOf(frameHandle);
  assert.ok(a4.length >= 1);
  assert.match(a4[0], /Corvane PC Programmer - Channel List/);
  assert.deepEqual(a4, await expected("a4.html"));
  // Laid out as on paper: an A4 page is 210 mm wide.
  const width = await frameHandle.$eval(".page", (p) => p.getBoundingClientRect().width);
  assert.ok(Math.abs(width - (210 / 25.4) * 96) < 2, `page width ${width}`);

  mkdirSync(SCREENSHOTS, { recursive: true });
  await page.screenshot({ path: join(SCREENSHOTS, "print-view.png") });

  await page.selectOption("[data-name=cboPaper]", "letter");
  await page.check("[data-name=chkPocket]");
  assert.deepEqual(await pagesOf(frameHandle), await expected("pocket.html"));
  await page.screenshot({ path: join(SCREENSHOTS, "print-view-pocket.png") });

  // Print... prints the view, not the program around it.
  await frameHandle.evaluate(() => { window.__printed = 0; window.print = () => { window.__printed += 1; }; });
  await page.click("[data-name=cmdPrint]");
  assert.equal(await frameHandle.evaluate(() => window.__printed), 1);
  await page.click("#frmPrint [data-name=cmdClose]");
  assert.equal(await page.$eval("#frmPrint", (d) => d.open), false);
  assert.deepEqual(errors, []);
  await context.close();
});
