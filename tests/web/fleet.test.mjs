// Program Several Radios... and Compare with Image File... in the page, against
// corvane-radio-sim standing for a sequence of radios.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { SimRadio, WORKING_FILES, browserSuite, cli, enterCode, storedFiles, waitForStatus, writeProgramFolder } from "./harness.mjs";

const suite = browserSuite();

async function menu(page, menuName, item) {
  await page.click(`[data-name=${menuName}]`);
  await page.click(`[data-name=${item}]`);
}

test("the fleet window writes a radio, stops on Stop mid-write, offers its log and gives the port back", async () => {
  const dir = suite.scratch("fleet");
  const radio = await new SimRadio(dir, ["--units", "2", "--swap-time", "500"]).started();
  suite.onEnd(() => radio.stop());
  const { page, context, errors } = await suite.open({ A: radio });
  await enterCode(page, "qzv");
  await waitForStatus(page, "(COM5)  Connected ...");

  await menu(page, "comport", "fleet");
  await page.waitForSelector("#frmFleet[open]");
  const [chooser] = await Promise.all([page.waitForEvent("filechooser"), page.click("#frmFleet [data-name=Command1]")]);
  await chooser.setFiles({ name: "units.csv", mimeType: "text/csv", buffer: Buffer.from("Label,Name ID,DTMF ID\r\nGate,GN,101\r\nBar,BR,102\r\n") });
  await page.waitForFunction(() => document.querySelectorAll("#frmFleet tbody tr").length === 2);
  await page.waitForTimeout(500);
  await page.click("#frmFleet [data-name=Command2]");
  const state = (row) => page.$eval(`#frmFleet tbody tr:nth-child(${row}) td:nth-child(4)`, (e) => e.textContent);
  // The run's verify is the core's (fleet tests on the engine's clock); here
  // the window shows the write under way, and Stop cuts it: one real-time
  // write in this suite is enough (transfers.test.mjs).
  await page.waitForFunction(() => Number(document.querySelector("#frmFleet [data-name=ProgressBar1]").value) > 0, null, { timeout: 60000 });
  await page.click("#frmFleet [data-name=Command3]");
  await page.waitForFunction(() => document.querySelector("#frmFleet [data-name=Label2]").textContent.startsWith("Stopped: 0 verified"));
  assert.equal(await state(1), "stopped");
  assert.equal(await state(2), "");
  assert.equal(await page.isDisabled("#frmFleet [data-name=Command3]"), true);

  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#frmFleet [data-name=Command5]")]);
  assert.match(download.suggestedFilename(), /^fleet-\d{4}-\d\d-\d\d_\d{6}\.csv$/);
  const log = readFileSync(await download.path(), "utf8").trim().split("\r\n");
  assert.equal(log.length, 2);
  assert.match(log[1], /,Gate,GN,101,COM5,stopped,[0-9a-f]{64},"stopped during the write, after \d+ of 1936 bytes"$/);
  // Kept in the page's storage as well.
  const files = await storedFiles(page);
  assert.ok(files[`program/Data/${download.suggestedFilename()}`]);

  // Closed, the window gives the port back: the program's own link opens it again
  // (the simulated sequence has no radio plugged in at that moment).
  const opens = () => page.evaluate(() => window.__corvaneSerialLog.filter((e) => e.event === "open").length);
  const opened = await opens();
  await page.click("#frmFleet [data-name=Command4]");
  await page.waitForSelector("#frmFleet", { state: "detached" });
  await page.waitForFunction((n) => window.__corvaneSerialLog.filter((e) => e.event === "open").length > n, opened);
  assert.ok((await opens()) > opened);
  assert.deepEqual(errors, []);
  await context.close();
});

test("Compare with Image File shows the count and leaves the working set as it is", async () => {
  const dir = suite.scratch("compare");
  const { page, context, errors } = await suite.open({ A: null });
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await page.waitForTimeout(300);
  const before = await storedFiles(page);
  const folder = writeProgramFolder(before, join(dir, "folder"));
  const image = join(dir, "same.img");
  cli("--folder", folder, "image", "build", image);

  const compare = async () => {
    const [chooser] = await Promise.all([page.waitForEvent("filechooser"), menu(page, "mnuFile", "compareImage")]);
    await chooser.setFiles(image);
    await page.waitForSelector("#frmCompare[open]");
    return page.textContent("#frmCompare [data-name=Label1]");
  };
  assert.equal(await compare(), "No differences");
  await page.click("#frmCompare [data-name=Command3]");
  // Another mode on screen: the file differs from it.
  await menu(page, "mode", "custom");
  await page.waitForTimeout(300);
  const shown = await storedFiles(page);
  const count = await compare();
  assert.match(count, /^\d+ differences?$/);
  assert.ok(await page.$eval("#frmCompare tbody", (e) => e.rows.length) > 0);
  assert.equal(await page.textContent("#frmCompare thead th:nth-child(4)"), "In the file");
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#frmCompare [data-name=Command1]")]);
  assert.match(readFileSync(await download.path(), "utf8"), /^channel,field,In the program,In the file\r\n/);
  await page.click("#frmCompare [data-name=Command3]");
  await page.waitForTimeout(300);
  const after = await storedFiles(page);
  for (const name of WORKING_FILES) assert.ok(after[`program/${name}`].equals(shown[`program/${name}`]), name);
  assert.deepEqual(errors, []);
  await context.close();
});
