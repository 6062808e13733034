// Editing in the browser: the cell editors with their rules and messages,
// the Default-mode locks, the pickers, the modes, New File, undo/redo, copy
// and paste, the About window; the files written after editing must be those
// corvane-cli writes for the same state.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import {
  WORKING_FILES, browserSuite, cli, enterCode, removeDir, seriousFindings, storedFiles, takeMessage, tempDir,
} from "./harness.mjs";

const suite = browserSuite();

const RX = 2, TX = 3, CTCSS = 4, DCS = 5, SCAN = 6, BAND = 7, SCR = 9;
const cellSelector = (row, col) => `[data-name=MSHFlexGrid1] [data-row='${row}'][data-col='${col}']`;

async function frame() {
  const program = await suite.open({});
  await program.context.grantPermissions(["clipboard-read", "clipboard-write"]);
  await enterCode(program.page, "qzv");
  await program.page.waitForSelector("#MDIForm1:not([hidden])");
  return program;
}

const cell = (page, row, col) => page.textContent(cellSelector(row, col));
const clickCell = (page, row, col) => page.click(cellSelector(row, col));
// The access-code window has a Text1 of its own.
const TEXT1 = "#frmRadioMain [data-name=Text1]";
const visible = (page, name) => page.isVisible(`#frmRadioMain [data-name=${name}]`);
const text1 = (page) => page.inputValue(TEXT1);

async function menu(page, menuName, itemName) {
  await page.click(`[data-name=${menuName}]`);
  await page.click(`[data-name=${itemName}]`);
}

async function anyEditorVisible(page) {
  for (const name of ["Text1", "Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7"])
    if (await visible(page, name)) return true;
  return false;
}

// The highlighted entry of an open picker.
const pickerChoice = (page, number) => page.textContent(`[data-name=Combo${number}] [aria-selected=true]`);

test("Default mode: frequencies and band locked, pickers with their entries, tone exclusion, Escape and scrolling write nothing", async () => {
  const { page, context, errors } = await frame();
  assert.equal(await page.getAttribute("[data-name=default]", "aria-checked"), "true");
  assert.equal(await anyEditorVisible(page), false);

  // RX, TX and BAND open nothing, by click or by typing.
  for (const col of [RX, TX, BAND]) {
    await clickCell(page, 1, col);
    await page.keyboard.press("4");
    await page.keyboard.press("Enter");
    assert.equal(await anyEditorVisible(page), false, `column ${col}`);
  }
  assert.equal(await cell(page, 1, RX), "446.006250");

  // The CTCSS picker: 74 entries in code order, opened on the cell's entry; arrows only move the highlight.
  await clickCell(page, 2, CTCSS);
  assert.equal(await visible(page, "Combo1"), true);
  const ctcss = await page.$$eval("[data-name=Combo1] [role=option]", (o) => o.map((e) => e.textContent));
  assert.equal(ctcss.length, 74);
  assert.deepEqual([ctcss[0], ctcss[12], ctcss[39], ctcss[73]], ["[00] OFF", "[12] C100.0", "[39] C69.3", "[73] C230.3"]);
  assert.equal(await pickerChoice(page, 1), "[00] OFF");
  for (let i = 0; i < 12; ++i) await page.keyboard.press("ArrowDown");
  assert.equal(await pickerChoice(page, 1), "[12] C100.0");
  assert.deepEqual(await seriousFindings(page), [], "a picker open");
  await page.keyboard.press("Escape");
  assert.equal(await visible(page, "Combo1"), false);
  assert.equal(await cell(page, 2, CTCSS), "[00] OFF");

  // The edition's DCS list; a DCS pick switches CTCSS off and the other way round.
  await clickCell(page, 2, DCS);
  const dcs = await page.$$eval("[data-name=Combo2] [role=option]", (o) => o.map((e) => e.textContent));
  assert.equal(dcs.length, 209);
  assert.deepEqual([dcs[6], dcs[104], dcs[110], dcs[208]], ["[006] D036", "[104] D754", "[110] ED036", "[208] ED754"]);
  await page.click("[data-name=Combo2] >> text='[006] D036'");
  assert.equal(await cell(page, 2, DCS), "[006] D036");
  await clickCell(page, 2, CTCSS);
  assert.equal(await pickerChoice(page, 1), "[00] OFF");
  for (let i = 0; i < 12; ++i) await page.keyboard.press("ArrowDown");
  await page.keyboard.press("Enter");
  assert.equal(await cell(page, 2, CTCSS), "[12] C100.0");
  assert.equal(await cell(page, 2, DCS), "[000] OFF");
  await clickCell(page, 2, DCS);
  assert.equal(await pickerChoice(page, 2), "[000] OFF");
  await page.keyboard.press("Escape");

  // A two-way picker opens on the cell's entry and changes nothing until a pick.
  await clickCell(page, 3, SCR);
  assert.deepEqual(await page.$$eval("[data-name=Combo6] [role=option]", (o) => o.map((e) => e.textContent)), ["Off", "On"]);
  await page.keyboard.press("ArrowDown");
  await page.keyboard.press("Enter");
  assert.equal(await cell(page, 3, SCR), "On");
  await clickCell(page, 3, SCR);
  assert.equal(await pickerChoice(page, 6), "On");
  assert.equal(await cell(page, 3, SCR), "On");
  await page.click("[data-name=Combo6] >> text='Off'");
  assert.equal(await cell(page, 3, SCR), "Off");
  assert.deepEqual(await (async () => { await clickCell(page, 3, SCAN); return page.$$eval("[data-name=Combo3] [role=option]", (o) => o.map((e) => e.textContent)); })(), ["No", "Yes"]);

  // Scrolling the grid closes an open picker without writing.
  await page.$eval("[data-name=MSHFlexGrid1]", (g) => { g.scrollTop += 200; });
  await page.waitForFunction(() => document.querySelector("[data-name=Combo3]").hidden);
  assert.equal(await cell(page, 3, SCAN), "Yes");

  // A clipboard the browser keeps closed is said so, not passed over in silence.
  await context.clearPermissions();
  await clickCell(page, 3, 0);
  await page.keyboard.press("Control+v");
  assert.match((await takeMessage(page)).text, /^Paste: the browser did not let the page read the clipboard/);
  assert.deepEqual(errors, []);
  await context.close();
});

test("Custom mode: the frequency editor's filter, limit, Enter, Escape, leaving the cell and both messages", async () => {
  const { page, context, errors } = await frame();
  await menu(page, "mode", "custom");
  assert.equal(await page.getAttribute("[data-name=custom]", "aria-checked"), "true");
  assert.equal(await page.getAttribute("[data-name=default]", "aria-checked"), "false");
  assert.equal(await cell(page, 1, RX), "");
  assert.equal(await cell(page, 9, BAND), "Narrow");

  // Typing a digit on an RX cell opens Text1 with it; the comma becomes a point; letters, "-" and the space are swallowed.
  await clickCell(page, 1, RX);
  await page.keyboard.press("Escape");
  await page.keyboard.type("4");
  assert.equal(await visible(page, "Text1"), true);
  assert.equal(await text1(page), "4");
  assert.deepEqual(await seriousFindings(page), [], "the frequency editor open");
  await page.keyboard.type("46,0 0-6a25");
  assert.equal(await text1(page), "446.00625");
  await page.keyboard.press("Enter");
  assert.equal(await visible(page, "Text1"), false);
  assert.equal(await cell(page, 1, RX), "446.006250");
  assert.equal(await cell(page, 1, TX), "446.006250");

  // TX alone; at most 9 typed characters.
  await clickCell(page, 1, TX);
  assert.equal(await text1(page), "446.006250");
  await page.fill(TEXT1, "");
  await page.keyboard.type("433.0750000");
  assert.equal(await text1(page), "433.07500");
  await page.keyboard.press("Enter");
  assert.equal(await cell(page, 1, TX), "433.075000");
  assert.equal(await cell(page, 1, RX), "446.006250");

  // Off the raster on Enter: the message, then RX empty and TX kept.
  await page.keyboard.press("ArrowLeft");
  await page.keyboard.press("Enter");
  assert.equal(await text1(page), "446.006250");
  await page.keyboard.type("446.001"); // the cell's text opens selected: typing replaces it
  await page.keyboard.press("Enter");
  assert.deepEqual(await takeMessage(page), { title: "Corvane PC Programmer", text: "Frequency: Divide Error !!!", kind: "information" });
  assert.equal(await cell(page, 1, RX), "");
  assert.equal(await cell(page, 1, TX), "433.075000");

  // Out of range when leaving the cell: the message, and the old value stays.
  await clickCell(page, 2, RX);
  await page.keyboard.type("450.00625");
  await clickCell(page, 3, RX);
  assert.equal((await takeMessage(page)).text, "Frequency: Range Error !!!");
  assert.equal(await cell(page, 2, RX), "");
  // An emptied editor left for another cell deletes nothing; a valid one commits.
  await page.keyboard.press("Escape");
  await page.keyboard.type("420");
  await page.keyboard.press("Enter");
  assert.equal(await cell(page, 3, RX), "420.000000");
  await page.keyboard.press("Enter");
  await page.fill(TEXT1, "");
  await page.keyboard.press("ArrowDown"); // moves the caret, not the cell
  await clickCell(page, 4, CTCSS);
  assert.equal(await cell(page, 3, RX), "420.000000");
  await page.keyboard.press("Escape");
  await clickCell(page, 4, RX);
  await page.keyboard.type("450");
  await clickCell(page, 5, RX);
  assert.equal(await cell(page, 4, RX), "450.000000");
  assert.equal(await cell(page, 4, TX), "450.000000");
  // Escape after typing leaves the cell as it was; the band is a picker now.
  await page.keyboard.type("5");
  await page.keyboard.press("Escape");
  assert.equal(await cell(page, 5, RX), "");
  await clickCell(page, 5, BAND);
  assert.equal(await pickerChoice(page, 4), "Narrow");
  await page.keyboard.press("Escape");

  // Keys move the current cell and keep it in view.
  await page.keyboard.press("Control+End");
  const last = await page.$eval(cellSelector(255, 10), (c) => {
    const grid = c.closest("[data-name=MSHFlexGrid1]").getBoundingClientRect();
    const box = c.getBoundingClientRect();
    return { current: c.classList.contains("current"), inView: box.bottom <= grid.bottom + 1 && box.top >= grid.top };
  });
  assert.deepEqual(last, { current: true, inView: true });
  await page.keyboard.press("Control+Home");
  await page.keyboard.press("PageDown");
  const row = await page.$eval("[data-name=MSHFlexGrid1] .current", (c) => Number(c.dataset.row));
  assert.ok(row > 5 && row < 255, `PageDown went to row ${row}`);
  assert.deepEqual(errors, []);
  await context.close();
});

test("undo and redo, New File, modes, copy and paste, a refused paste, the About window; files as corvane-cli writes them", async () => {
  const { page, context, errors } = await frame();
  await menu(page, "mode", "custom");
  await clickCell(page, 1, RX);
  await page.keyboard.type("446.00625");
  await page.keyboard.press("Enter");
  await clickCell(page, 2, CTCSS);
  await page.click("[data-name=Combo1] >> text='[12] C100.0'");

  // Undo names its step and takes back one edit at a time; redo replays it.
  await page.click("[data-name=mnuEdit]");
  assert.equal(await page.textContent("[data-name=mnuUndo]"), "Undo Edit CTCSS of channel 2");
  await page.click("[data-name=mnuUndo]");
  assert.equal(await cell(page, 2, CTCSS), "[00] OFF");
  await page.keyboard.press("Control+y");
  assert.equal(await cell(page, 2, CTCSS), "[12] C100.0");

  // Copy channels 1 and 2, paste them at channel 10.
  await clickCell(page, 1, 0);
  await page.keyboard.press("Shift+ArrowDown");
  await page.keyboard.press("Control+c");
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  assert.equal(copied.split("\n")[0].split("\t")[2], "RX - FREQ");
  await clickCell(page, 10, 0);
  await page.keyboard.press("Control+v");
  await page.waitForFunction(() => document.querySelector("[data-row='10'][data-col='2']").textContent === "446.006250");
  assert.equal(await cell(page, 11, CTCSS), "[12] C100.0");
  assert.equal(await cell(page, 10, 0), "[CH-010]");

  // A text with a bad cell changes nothing and says why.
  await page.evaluate(() => navigator.clipboard.writeText("999\t999\t[00] OFF\t[000] OFF\tYes\tNarrow\tHigh\tOff\tOff\n"));
  await clickCell(page, 20, 0);
  await page.keyboard.press("Control+v");
  const refusal = await takeMessage(page);
  assert.equal(refusal.title, "Corvane PC Programmer");
  assert.match(refusal.text, /^Paste refused:/);
  assert.match(refusal.text, /999 is outside 420-450 MHz/);
  assert.equal(await cell(page, 20, RX), "");

  // New File empties the custom table; undo brings the edits back.
  await page.click("[data-key=nFile]");
  assert.equal(await cell(page, 10, RX), "");
  await page.keyboard.press("Control+z");
  assert.equal(await cell(page, 10, RX), "446.006250");

  // Default mode brings the preset plan; undo returns to Custom with its tick.
  await menu(page, "mode", "default");
  assert.equal(await cell(page, 9, RX), "433.075000");
  assert.equal(await cell(page, 9, BAND), "Wide");
  await menu(page, "mnuEdit", "mnuUndo");
  assert.equal(await page.getAttribute("[data-name=custom]", "aria-checked"), "true");
  assert.equal(await cell(page, 10, RX), "446.006250");

  // The About window over the frame, closed by OK.
  await menu(page, "information", "help");
  assert.equal(await page.isVisible("#frmHelp"), true);
  assert.deepEqual(await seriousFindings(page), [], "the About window open");
  assert.equal(await page.textContent("#frmHelp .titlebar"), "About Corvane");
  assert.deepEqual(await page.$$eval("#frmHelp [data-name^=Label]", (l) => l.map((e) => e.textContent)),
    ["Velta Series PC Programmer", "Version: 1.00.15", "Date: May 12, 2012", "Frequency Range: 420 ~ 450 [MHz]"]);
  await page.keyboard.press("Enter");
  assert.equal(await page.isVisible("#frmHelp"), false);

  // Every edit taken back: the working set on exit is corvane-cli's custom-mode table, byte for byte.
  while (!(await page.isDisabled("[data-name=mnuUndo]")) && (await page.textContent("[data-name=mnuUndo]")) !== "Undo Mode Custom") {
    await menu(page, "mnuEdit", "mnuUndo");
  }
  await page.click("[data-key=exit]");
  await page.waitForSelector("#ended");
  const files = await storedFiles(page);
  const reference = tempDir("custom");
  suite.onEnd(() => removeDir(reference));
  cli("--folder", reference, "new", "--edition", "pmr-lpd", "--mode", "custom");
  for (const name of WORKING_FILES) assert.deepEqual(files[`program/${name}`], readFileSync(join(reference, name)), name);
  assert.deepEqual(errors, []);
  await context.close();
});
