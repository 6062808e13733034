// Writes and reads in the browser against corvane-radio-sim: the bytes and
// files must be those corvane-cli produces from the same data.
import assert from "node:assert/strict";
import { mkdirSync, readFileSync, readdirSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import {
  IMAGE_LENGTH, SimRadio, WORKING_FILES, browserSuite, cli, enterCode, storedFiles, takeMessage, waitForStatus,
  writeProgramFolder,
} from "./harness.mjs";

const suite = browserSuite();

const scratch = (tag) => suite.scratch(tag);

async function startRadio(dir, args = []) {
  const radio = await new SimRadio(dir, args).started();
  suite.onEnd(() => radio.stop());
  return radio;
}

async function connectedProgram(radio) {
  const program = await suite.open({ A: radio });
  await enterCode(program.page, "qzv");
  await waitForStatus(program.page, "(COM5)  Connected ...");
  return program;
}

const PORT_WAITING_ITEMS = ["openFile", "saveFile", "openImage", "importCsv", "openFolder", "importWorkingSet", "mnuUndo",
  "mnuRedo", "mnuPaste", "default", "custom", "selectPort", "port1", "verifyAfterWrite", "compareRadio", "compareImage",
  "showChangesBeforeWrite", "fleet"];

function enabledItems(page) {
  return page.evaluate((names) => Object.fromEntries(names.map((name) => [name, !document.querySelector(`[data-name=${name}]`).disabled])), PORT_WAITING_ITEMS);
}

test("Port > Verify after Write is a tick kept for the browser's user", async () => {
  const radio = await startRadio(scratch("verify"));
  const { page, context } = await connectedProgram(radio);
  await page.click("[data-name=comport]");
  const item = "[data-name=verifyAfterWrite]";
  assert.equal(await page.getAttribute(item, "aria-checked"), "false");
  assert.equal(await page.getAttribute(item, "title"), null);  // no tool tip: the radio program gives none
  await page.click(item);
  await page.click("[data-name=comport]");
  assert.equal(await page.getAttribute(item, "aria-checked"), "true");
  assert.equal(await page.evaluate(() => localStorage.getItem("corvane.verifyAfterWrite")), "1");
  await context.close();
});

test("a full write sends exactly the image corvane-cli builds from the same files", async () => {
  const dir = scratch("write");
  const radio = await startRadio(dir);
  const { page, context } = await connectedProgram(radio);
  await page.click("[data-key=program]");
  await page.waitForFunction(() => document.querySelector("[data-name=Label1]").textContent === "Download");
  assert.equal(await page.isDisabled("[data-key=auto]"), true);
  // Nothing that re-opens the port or replaces the channel table while the link holds it.
  assert.deepEqual(await enabledItems(page), Object.fromEntries(PORT_WAITING_ITEMS.map((name) => [name, false])));
  const message = await takeMessage(page, 180000);
  assert.deepEqual(message, { title: "Corvane PC Programmer", text: "DOWNLOAD COMPLETE", kind: "exclamation" });
  // Back together with the toolbar (Undo and Redo have no step to offer).
  assert.equal(await page.isDisabled("[data-key=auto]"), false);
  assert.deepEqual(await enabledItems(page), Object.fromEntries(PORT_WAITING_ITEMS.map((name) => [name, !name.startsWith("mnuRe") && name !== "mnuUndo"])));
  assert.equal(await page.$eval("[data-name=ProgressBar1]", (e) => e.value), 0);
  await waitForStatus(page, "(COM5)  Connected ...");

  const files = await storedFiles(page);
  const folder = writeProgramFolder(files, join(dir, "folder"));
  cli("--folder", folder, "image", "build", join(dir, "expected.img"));
  const expected = readFileSync(join(dir, "expected.img"));
  for (let i = 0; i < 50 && readdirSync(dir).indexOf("received.img") < 0; ++i) await page.waitForTimeout(100);
  const received = readFileSync(radio.received);
  assert.equal(received.length, IMAGE_LENGTH);
  assert.ok(received.equals(expected), "the radio received the image corvane-cli builds");
  // The backup of the write is kept and matches.
  const backups = Object.keys(files).filter((p) => p.startsWith("program/Data/backups/") && p.endsWith("_write.img"));
  assert.equal(backups.length, 1);
  assert.ok(files[backups[0]].equals(expected));
  // File > Backups... offers it for download.
  await page.click("[data-name=mnuFile]");
  await page.click("[data-name=backups]");
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("dialog[data-name=Backups] [data-name=Backup]")]);
  assert.equal(download.suggestedFilename(), backups[0].split("/").pop());
  assert.ok(readFileSync(await download.path()).equals(expected));
  await context.close();
});

test("a read stores the files corvane-cli decodes from the radio's image", async () => {
  const dir = scratch("read");
  // The radio holds a Korea image, so the read also switches the edition.
  const korea = join(dir, "korea");
  mkdirSync(korea);
  cli("--folder", korea, "new", "--edition", "korea");
  cli("--folder", korea, "image", "build", join(dir, "memory.img"));
  const radio = await startRadio(dir, ["--memory", join(dir, "memory.img")]);
  const { page, context } = await connectedProgram(radio);
  const reference = writeProgramFolder(await storedFiles(page), join(dir, "reference"));

  await page.click("[data-key=upload]");
  const message = await takeMessage(page, 60000);
  assert.deepEqual(message, { title: "Corvane PC Programmer", text: "UPLOAD COMPLETE", kind: "exclamation" });
  assert.equal(await page.title(), "Corvane PC Programmer - Kestrel : Korea");
  await page.click("[data-key=exit]");
  await page.waitForSelector("#ended");

  cli("--folder", reference, "image", "decode", join(dir, "memory.img"));
  const files = await storedFiles(page);
  for (const name of WORKING_FILES) {
    assert.ok(files[`program/${name}`].equals(readFileSync(join(reference, name))), `${name} as corvane-cli decodes it`);
  }
  const backups = Object.keys(files).filter((p) => p.endsWith("_read.img"));
  assert.equal(backups.length, 1);
  assert.ok(files[backups[0]].equals(readFileSync(join(dir, "memory.img"))));
  await context.close();
});

test("a port that vanishes during a write fails the write", async () => {
  const radio = await startRadio(scratch("vanish"));
  const { page, context } = await connectedProgram(radio);
  await page.click("[data-key=program]");
  await page.waitForFunction(() => document.querySelector("[data-name=ProgressBar1]").value >= 5, null, { timeout: 20000 });
  await page.evaluate(() => window.__corvaneVanish("A"));
  const message = await takeMessage(page);
  assert.match(message.text, /^Write to Radio failed after \d+ of 1936 bytes: Port 1 \(FTDI FT232R, USB 0403:6001\): /);
  assert.equal(message.kind, "warning");
  assert.equal(await page.isDisabled("[data-key=auto]"), false);
  // Down and Up stay off until a radio answers again, and a click on them does nothing.
  assert.equal(await page.isDisabled("[data-key=program]"), true);
  assert.equal(await page.isDisabled("[data-key=upload]"), true);
  await page.click("[data-key=program]", { force: true });
  await page.click("[data-key=upload]", { force: true });
  await page.waitForTimeout(500);
  assert.match(await page.$eval("[data-name=Label1]", (e) => e.textContent), /Connection Failed\.\.\.$/);
  assert.equal(await page.$$eval("dialog[open]", (open) => open.length), 0);
  await page.click("[data-name=comport]");
  assert.equal(await page.$$eval("[data-name^=port]", (items) => items.length), 0);
  await context.close();
});
