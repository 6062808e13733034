// The page keeps the set on screen: every step is in the browser's storage
// once the page says its saves are done, a tab closed or reloaded at any
// moment leaves one set that was on screen, the working-set archive carries
// that set and only a whole one comes back in, a second tab only shows the
// channels, and a browser that keeps nothing still runs the program.
import assert from "node:assert/strict";
import { readFileSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { test } from "node:test";
import { fileURLToPath } from "node:url";
import { WORKING_FILES, browserSuite, enterCode, settle, storedFiles, takeMessage } from "./harness.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const { unzipSync, zipSync } = await import(join(here, "..", "..", "web", "node_modules", "fflate", "esm", "index.mjs"));

const suite = browserSuite();
const RX = 2;
const PMR_CODE = "qzv", KOREA_CODE = "wbn";
const cellSelector = (row, col) => `[data-name=MSHFlexGrid1] [data-row='${row}'][data-col='${col}']`;
const cell = (page, row, col) => page.textContent(cellSelector(row, col));

async function menu(page, menuName, item) {
  await page.click(`[data-name=${menuName}]`);
  await page.click(`[data-name=${item}]`);
}

async function toFrame(page, code = PMR_CODE) {
  await page.waitForSelector("#frmPassword:not([hidden])");
  await enterCode(page, code);
  await page.waitForSelector("#MDIForm1:not([hidden])");
}

async function started(options, code) {
  const program = await suite.open({}, options);
  await toFrame(program.page, code);
  return program;
}

// Another tab of the same browser profile on the site.
async function newTab(context) {
  const page = await context.newPage();
  await page.goto(suite.site.url);
  return page;
}

async function typeFrequency(page, row, col, text) {
  await page.click(cellSelector(row, col));
  await page.keyboard.type(text);
  await page.keyboard.press("Enter");
}

async function downloaded(page, item) {
  const [download] = await Promise.all([page.waitForEvent("download"), menu(page, "mnuFile", item)]);
  return { name: download.suggestedFilename(), bytes: readFileSync(await download.path()) };
}

async function chooseFile(page, item, path) {
  const [chooser] = await Promise.all([page.waitForEvent("filechooser"), menu(page, "mnuFile", item)]);
  await chooser.setFiles(path);
}

// What a test compares of the table: the mode and a few cells that each step changes.
function shownState() {
  const at = (row, col) => document.querySelector(`[data-name=MSHFlexGrid1] [data-row='${row}'][data-col='${col}']`)?.textContent;
  return JSON.stringify({
    custom: document.querySelector("[data-name=custom]")?.getAttribute("aria-checked"),
    cells: [[1, 2], [1, 3], [1, 4], [2, 2], [2, 3], [3, 2], [1, 7]].map(([r, c]) => at(r, c)),
  });
}

async function workingFiles(page) {
  await settle(page);
  const stored = await storedFiles(page);
  return Object.fromEntries(WORKING_FILES.map((n) => [n, stored[`program/${n}`]?.toString("latin1")]));
}

test("a step is kept however the tab goes: closed once its save is done, or reloaded in the middle of steps, never a mix", async () => {
  const { page, context, errors } = await started();
  await menu(page, "mode", "custom");
  await typeFrequency(page, 1, RX, "446.1");
  await settle(page);
  const edited = await page.evaluate(shownState);
  // No unload handler gets a chance: the step itself was saved.
  await page.close({ runBeforeUnload: false });
  const tab = await newTab(context);
  await toFrame(tab);
  assert.equal(await cell(tab, 1, RX), "446.100000");
  assert.equal(await tab.evaluate(shownState), edited);

  // Mode changes as fast as the page takes them, each a new set of nearly every file
  // (Custom blanks the frequencies, Default fills in the preset plan), and the tab
  // reloaded at once: what comes back is a set that was on screen. A slow storage
  // (each write and move takes 10 ms more) lets the reloads fall inside a save.
  const install = `window.__shownState = ${shownState.toString()};
    for (const [type, name] of [[FileSystemFileHandle, "createWritable"], [FileSystemHandle, "move"]]) {
      const original = type.prototype[name];
      if (original) type.prototype[name] = async function (...args) {
        await new Promise((resolve) => setTimeout(resolve, 10));
        return original.apply(this, args);
      };
    }`;
  await tab.addInitScript(install);
  await tab.reload();
  await toFrame(tab);
  for (const [round, pause] of [0, 30, 60, 90, 120, 150, 180, 220, 260, 300, 400, 600].entries()) {
    const before = await tab.evaluate(shownState);
    const seen = await tab.evaluate(async ([steps, wait]) => {
      const states = [];
      for (let i = 0; i < steps; ++i) {
        document.querySelector(`[data-name=${i % 2 === 0 ? "default" : "custom"}]`).click();
        states.push(window.__shownState());
      }
      await new Promise((resolve) => setTimeout(resolve, wait));
      return states;
    }, [5 + round, pause]);
    await tab.reload();
    await toFrame(tab);
    const after = await tab.evaluate(shownState);
    assert.ok(new Set([before, ...seen]).has(after), `round ${round}: ${after} is no set that was on screen`);
  }
  assert.deepEqual(errors, []);
  await context.close();
});

test("Export Working Set hands out the set on screen; an archive that lacks files is refused by name and changes nothing", async () => {
  const { page, context, errors } = await started();
  await menu(page, "mode", "custom");
  await typeFrequency(page, 1, RX, "446.1");
  const archive = await downloaded(page, "exportWorkingSet");
  const entries = unzipSync(new Uint8Array(archive.bytes));
  assert.deepEqual(Object.keys(entries).sort(), [...WORKING_FILES].sort());
  assert.equal(Buffer.from(entries["Rx_Freq.txt"]).toString("latin1").split("\r\n")[1], "446.100000");
  assert.equal(Buffer.from(entries["Port.txt"]).toString("latin1").split("\r\n")[2].trim(), "1");
  const shown = await workingFiles(page);
  for (const name of WORKING_FILES) assert.equal(Buffer.from(entries[name]).toString("latin1"), shown[name], name);

  const dir = suite.scratch("archive");
  const onlyPort = join(dir, "port only.zip");
  writeFileSync(onlyPort, zipSync({ "Port.txt": entries["Port.txt"] }));
  const nine = join(dir, "nine.zip");
  const { ["Comp.txt"]: _dropped, ...rest } = entries;
  writeFileSync(nine, zipSync(rest));
  const table = await page.evaluate(shownState);
  await chooseFile(page, "importWorkingSet", onlyPort);
  assert.equal((await takeMessage(page)).text,
    "port only.zip: the archive lacks Group.txt, Rx_Freq.txt, Tx_Freq.txt, Tone.txt, Scan.txt, Band.txt, Power.txt, Scr.txt, Comp.txt. Nothing was changed.");
  await chooseFile(page, "importWorkingSet", nine);
  assert.equal((await takeMessage(page)).text, "nine.zip: the archive lacks Comp.txt. Nothing was changed.");
  assert.equal(await page.evaluate(shownState), table);
  assert.deepEqual(await workingFiles(page), shown);
  assert.deepEqual(errors, []);
  await context.close();
});

test("a workbook of the other edition resets as one undo step, and its message says what was reset", async () => {
  const pmr = await started();
  await menu(pmr.page, "mode", "custom");
  await typeFrequency(pmr.page, 1, RX, "446.1");
  const book = await downloaded(pmr.page, "saveFile");
  await pmr.context.close();
  const path = join(suite.scratch("book"), "pmr.xlsx");
  writeFileSync(path, book.bytes);

  const { page, context, errors } = await started({}, KOREA_CODE);
  await menu(page, "mode", "custom");
  await typeFrequency(page, 1, RX, "424.5");
  const before = await page.evaluate(shownState);
  const filesBefore = await workingFiles(page);
  await chooseFile(page, "openFile", path);
  const { text } = await takeMessage(page);
  assert.match(text, /saved in the PMR \+ LPD edition, so its channels and group set-up were not taken: the channel table now holds the Korea preset plan in Default mode and the group set-up was reset/);
  assert.equal(await page.getAttribute("[data-name=default]", "aria-checked"), "true");
  await menu(page, "mnuEdit", "mnuUndo");
  assert.equal(await page.evaluate(shownState), before, "one Undo takes the whole import back");
  assert.deepEqual(await workingFiles(page), filesBefore, "and the files follow");
  await menu(page, "mnuEdit", "mnuUndo");
  assert.equal(await cell(page, 1, RX), "", "the step before the import is the edit");
  assert.deepEqual(errors, []);
  await context.close();
});

test("a second tab shows the channels read-only while the first edits, and takes over once it has closed", async () => {
  const { page, context, errors } = await started();
  await menu(page, "mode", "custom");
  await typeFrequency(page, 1, RX, "446.1");
  await settle(page);

  const second = await newTab(context);
  await second.waitForSelector("#otherTab");
  assert.match(await second.textContent("#otherTab"), /open in another tab/);
  assert.equal(await second.isVisible("#frmPassword"), false);
  assert.equal(await cell(second, 1, RX), "446.100000");
  for (const key of ["program", "upload", "auto", "nFile", "oFile", "sFile", "setup", "group"]) {
    assert.equal(await second.isDisabled(`[data-key=${key}]`), true, key);
  }
  await second.click("[data-name=mnuFile]");
  for (const item of ["openFile", "saveFile", "openImage", "importCsv", "openFolder", "exportWorkingSet", "importWorkingSet"]) {
    assert.equal(await second.isDisabled(`[data-name=${item}]`), true, item);
  }
  await second.keyboard.press("Escape");
  for (const item of ["mnuUndo", "mnuPaste", "default", "custom"]) assert.equal(await second.isDisabled(`[data-name=${item}]`), true, item);
  await second.click(cellSelector(2, RX));
  await second.keyboard.type("4");
  assert.equal(await second.isVisible("#frmRadioMain [data-name=Text1]"), false);
  // The first tab goes on editing; the second wrote nothing.
  await typeFrequency(page, 2, RX, "446.2");
  const kept = await workingFiles(page);

  await page.close();
  await second.click("[data-name=takeOver]");
  await toFrame(second);
  assert.equal(await cell(second, 2, RX), "446.200000");
  await typeFrequency(second, 3, RX, "446.3");
  const after = await workingFiles(second);
  assert.equal(after["Rx_Freq.txt"].split("\r\n")[3], "446.300000");
  assert.equal(after["Rx_Freq.txt"].split("\r\n")[2], kept["Rx_Freq.txt"].split("\r\n")[2]);
  assert.deepEqual(errors, []);
  await context.close();
});

test("storage refused: the page says once that nothing is kept and runs, Export Working Set works; a save refused at Exit is said and the program goes on", async () => {
  const refuse = `StorageManager.prototype.getDirectory = () => Promise.reject(new DOMException("Access to storage is not allowed", "SecurityError"));`;
  const refused = await suite.open({}, { initScript: refuse });
  assert.match((await takeMessage(refused.page)).text, /nothing will be kept between visits/);
  await toFrame(refused.page);
  await menu(refused.page, "mode", "custom");
  await typeFrequency(refused.page, 1, RX, "446.1");
  const archive = unzipSync(new Uint8Array((await downloaded(refused.page, "exportWorkingSet")).bytes));
  assert.equal(Buffer.from(archive["Rx_Freq.txt"]).toString("latin1").split("\r\n")[1], "446.100000");
  await menu(refused.page, "mnuFile", "mnuExit");
  await refused.page.waitForSelector("#ended");
  assert.equal(await refused.page.isVisible("dialog[data-name=MessageBox]"), false);
  assert.deepEqual(refused.errors, []);
  await refused.context.close();

  const { page, context, errors } = await started();
  await menu(page, "mode", "custom");
  await settle(page);
  await page.evaluate(() => {
    window.__createWritable = FileSystemFileHandle.prototype.createWritable;
    FileSystemFileHandle.prototype.createWritable = () => Promise.reject(new DOMException("The storage is full", "QuotaExceededError"));
  });
  await menu(page, "mnuFile", "mnuExit");
  assert.equal((await takeMessage(page)).text, "The working files could not be kept in the browser's storage: QuotaExceededError: The storage is full");
  assert.equal(await page.isVisible("#ended"), false);
  assert.equal(await page.isVisible("#MDIForm1"), true);
  await page.evaluate(() => { FileSystemFileHandle.prototype.createWritable = window.__createWritable; });
  await menu(page, "mnuFile", "mnuExit");
  await page.waitForSelector("#ended");
  assert.equal((await workingFiles(page))["Port.txt"].split("\r\n")[2].trim(), "1");
  assert.deepEqual(errors, []);
  await context.close();
});
