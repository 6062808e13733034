// The setup and group windows in the browser: their rules and messages, the
// runs of the automatic generation with their wrap-around, and the files they
// leave, compared with what corvane-cli writes for the same values.
import assert from "node:assert/strict";
import { mkdirSync, readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { test } from "node:test";
import {
  WORKING_FILES, browserSuite, cli, enterCode, settle, storedFiles, takeMessage, writeProgramFolder,
} from "./harness.mjs";

const AXE = join(dirname(fileURLToPath(import.meta.url)), "..", "..", "web", "node_modules", "axe-core", "axe.min.js");

const suite = browserSuite();

const scratch = (tag) => suite.scratch(tag);

// What corvane-cli writes when it takes the page's files through a memory image:
// the same settings, groups and channels in the CLI's own bytes.
function cliRoundTrip(files, tag) {
  const source = writeProgramFolder(files, join(scratch(tag), "page"));
  const image = join(source, "..", "page.img");
  cli("--folder", source, "--no-backup", "image", "build", image);
  const target = join(source, "..", "cli");
  mkdirSync(target);
  cli("--folder", target, "new", "--edition", "pmr-lpd");
  cli("--folder", target, "--no-backup", "image", "decode", image);
  return (name) => readFileSync(join(target, name));
}

// Puts a working set made by corvane-cli into the page's storage and starts the page again.
async function seedProgramFolder(page, folder) {
  const files = Object.fromEntries(WORKING_FILES.map((name) => [name, Array.from(readFileSync(join(folder, name)))]));
  await page.evaluate(async (entries) => {
    const top = await navigator.storage.getDirectory();
    const root = await top.getDirectoryHandle("corvane", { create: true });
    const program = await root.getDirectoryHandle("program", { create: true });
    for (const [name, bytes] of Object.entries(entries)) {
      const writable = await (await program.getFileHandle(name, { create: true })).createWritable();
      await writable.write(new Uint8Array(bytes));
      await writable.close();
    }
  }, files);
  await page.reload();
  await page.waitForSelector("#frmPassword[data-answering]:not([hidden])");
}

async function menu(page, name, item) {
  await page.click(`[data-name=${name}]`);
  await page.click(`[data-name=${item}]`);
}

const cell = (page, row, col) => page.textContent(`[data-row='${row}'][data-col='${col}']`);
const column = async (page, col, rows) => Promise.all(rows.map((row) => cell(page, row, col)));
const range = (first, last) => Array.from({ length: last - first + 1 }, (_, i) => first + i);

async function seriousFindings(page) {
  if (!(await page.evaluate(() => Boolean(window.axe)))) await page.evaluate(readFileSync(AXE, "utf8")); // the page's policy refuses a script tag
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ["violations"] }));
  return result.violations
    .filter((v) => v.impact === "serious" || v.impact === "critical")
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
}

// Every control of a window has an accessible name: a label, or a legend-less caption.
async function unnamedControls(page, windowId) {
  return page.$$eval(`#${windowId} input, #${windowId} select, #${windowId} button`, (controls) =>
    controls.filter((c) => !(c.labels?.length || c.getAttribute("aria-label") || c.textContent.trim()))
      .map((c) => c.dataset.name));
}

test("setup window: defaults, key check, stored options, band plan on OK, Reset; Port.txt as corvane-cli writes it", async () => {
  const { page, context, errors } = await suite.open({});
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  // The group window belongs to Custom mode only.
  await page.click("[data-key=group]");
  assert.equal(await page.isHidden("#frmGroup"), true);

  await page.click("[data-key=setup]");
  await page.waitForSelector("#frmSetup:not([hidden])");
  assert.equal(await page.isHidden("#MDIForm1"), true);
  assert.equal(await page.textContent("#frmSetup .titlebar"), "Corvane PC Programmer Setup");
  assert.deepEqual(await unnamedControls(page, "frmSetup"), []);
  assert.deepEqual(await seriousFindings(page), [], "axe-core on the setup window");
  // The lists' shown texts in Combo1..Combo22 order.
  const shown = () => page.$$eval("#frmSetup select", (lists) => lists
    .sort((a, b) => Number(a.dataset.name.slice(5)) - Number(b.dataset.name.slice(5)))
    .map((l) => l.selectedOptions[0]?.textContent ?? ""));
  assert.deepEqual(await shown(), [
    "OFF", "OFF", "OFF", "100 mS", "1.0 Sec", "50 ms", "50 ms", "500 ms", "300 ms", "350 ms", "5 Sec", "1 Sec",
    "SQUELCH", "MENU_FUN", "DOWN", "UP", "Off", "Auto", "5 Sec.", "ON", "1", "Auto"]);
  const boxes = () => page.$$eval("#frmSetup [type=checkbox]", (b) => b.map((x) => `${x.parentElement.textContent}:${x.checked ? 1 : 0}`));
  assert.deepEqual((await boxes()).sort(), [
    "BCLO:1", "Beep:1", "Bluetooth:1", "Call Tone:1", "Compandor:1", "DTMF:1", "Dual Watch:1", "Power Control:0", "Power:1",
    "Roger:1", "Scan Ch Memory:0", "Scan On/Off:0", "Scrambler:1", "Squelch:1", "Tone:1", "Vox:1"]);
  assert.equal(await page.isChecked("#frmSetup [data-name=Option3]"), true);
  assert.equal(await page.inputValue("#frmSetup [data-name=Text1]"), "12345");
  assert.equal(await page.inputValue("#frmSetup [data-name=Text2]"), "AA");
  assert.equal(await page.isDisabled("#frmSetup [data-name=Text3]"), true);
  await settle(page);
  const portBefore = (await storedFiles(page))["program/Port.txt"];

  // DOWN, DOWN, MENU_FUN, DOWN add up to 7: refused, keys back to 0..3, nothing written.
  const keys = async (...labels) => {
    for (const [i, label] of labels.entries()) await page.selectOption(`#frmSetup [data-name=Combo${13 + i}]`, { label });
  };
  await keys("DOWN", "DOWN", "MENU_FUN", "DOWN");
  await page.click("#frmSetup [data-name=Command1]");
  assert.deepEqual(await takeMessage(page), { title: "Corvane PC Programmer", text: "Key Define Error !!!", kind: "information" });
  assert.deepEqual((await shown()).slice(12, 16), ["SQUELCH", "MENU_FUN", "DOWN", "UP"]);
  assert.equal(await page.isVisible("#frmSetup"), true);
  await settle(page);
  assert.deepEqual((await storedFiles(page))["program/Port.txt"], portBefore);

  // SQUELCH, DOWN, DOWN, DOWN add up to 6 and pass; digits never reach Name ID.
  await keys("SQUELCH", "DOWN", "DOWN", "DOWN");
  await page.selectOption("#frmSetup [data-name=Combo17]", { label: "DT On" });
  await page.selectOption("#frmSetup [data-name=Combo1]", { label: "180 Sec" });
  await page.check("#frmSetup [data-name=Check7]");
  await page.uncheck("#frmSetup [data-name=Check2]");
  await page.fill("#frmSetup [data-name=Text2]", "");
  await page.type("#frmSetup [data-name=Text2]", "a1b");
  assert.equal(await page.inputValue("#frmSetup [data-name=Text2]"), "ab");
  await page.fill("#frmSetup [data-name=Text1]", "98765");
  await page.check("#frmSetup [data-name=Option1]");
  await page.click("#frmSetup [data-name=Command1]");
  await page.waitForSelector("#frmSetup", { state: "hidden" });
  assert.equal(await page.isVisible("#MDIForm1"), true);
  // "PMR": the eight PMR channels, then empty frequencies and Band "Wide".
  assert.deepEqual(await column(page, 2, [1, 8, 9, 255]), ["446.006250", "446.093750", "", ""]);
  assert.deepEqual(await column(page, 7, [1, 8, 9, 255]), ["Narrow", "Narrow", "Wide", "Wide"]);
  // OK with its band plan is one undo step.
  await page.click("[data-name=mnuEdit]");
  assert.equal(await page.textContent("[data-name=mnuUndo]"), "Undo Set Up");
  await page.click("[data-name=mnuUndo]");
  assert.deepEqual(await column(page, 2, [8, 9]), ["446.093750", "433.075000"]);
  await menu(page, "mnuEdit", "mnuRedo");
  assert.deepEqual(await column(page, 2, [8, 9]), ["446.093750", ""]);

  await settle(page);
  const stored = await storedFiles(page);
  const lines = stored["program/Port.txt"].toString("latin1").split("\r\n");
  assert.ok(lines.includes("AB") && lines.includes("98765"), "Name ID upper-cased, DTMF ID stored");
  const fromCli = cliRoundTrip(stored, "setup");
  assert.deepEqual(stored["program/Port.txt"], fromCli("Port.txt"));

  // Opened again it shows what was stored; Reset returns the defaults and writes them.
  await page.click("[data-key=setup]");
  await page.waitForSelector("#frmSetup:not([hidden])");
  assert.deepEqual((await shown()).slice(12, 17), ["SQUELCH", "DOWN", "DOWN", "DOWN", "DT On"]);
  assert.equal(await page.inputValue("#frmSetup [data-name=Text2]"), "AB");
  assert.equal(await page.isChecked("#frmSetup [data-name=Option1]"), true);
  await page.click("#frmSetup [data-name=Command2]");
  await page.click("#frmSetup [data-name=Command2]");
  const afterReset = await shown();
  assert.deepEqual([afterReset[0], ...afterReset.slice(12, 17)], ["OFF", "SQUELCH", "MENU_FUN", "DOWN", "UP", "Off"]);
  assert.equal(await page.isChecked("#frmSetup [data-name=Option3]"), true, "Reset shows BandSelect 2");
  await settle(page);
  const reference = scratch("setup-new");
  cli("--folder", reference, "new", "--edition", "pmr-lpd");
  assert.deepEqual((await storedFiles(page))["program/Port.txt"], readFileSync(join(reference, "Port.txt")));
  // Exit applies the stored band plan: "PMR + LPD" after the Reset.
  await page.click("#frmSetup [data-name=Command4]");
  await page.waitForSelector("#frmSetup", { state: "hidden" });
  assert.deepEqual(await column(page, 2, [1, 9, 78]), ["446.006250", "433.075000", ""]);
  assert.notEqual(await cell(page, 77, 2), "");
  assert.deepEqual(await column(page, 8, [1, 200]), ["High", "High"]);
  assert.deepEqual(errors, []);
  await context.close();
});

test("group window: typing checks, Auto runs with wrap-around and their messages, Reset; files as corvane-cli writes them", async () => {
  const { page, context, errors } = await suite.open({});
  const custom = scratch("custom");
  cli("--folder", custom, "new", "--edition", "pmr-lpd", "--mode", "custom");
  await seedProgramFolder(page, custom);
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await page.click("[data-key=group]");
  await page.waitForSelector("#frmGroup:not([hidden])");
  const g = (name) => `#frmGroup [data-name=${name}]`;
  assert.equal(await page.textContent("#frmGroup .titlebar"), "Corvane PC Programmer Group Control");
  assert.equal(await page.isVisible("#MDIForm1"), true, "the frame stays visible under the group window");
  assert.deepEqual(await unnamedControls(page, "frmGroup"), []);
  assert.deepEqual(await seriousFindings(page), [], "axe-core on the group window over the frame");
  assert.equal(await page.evaluate(() => document.activeElement?.dataset.name), "Text1", "keyboard use starts in the window");
  const groupBoxes = () => Promise.all(range(7, 16).map((n) => page.inputValue(g(`Text${n}`))));
  assert.deepEqual(await groupBoxes(), Array(10).fill("0"));
  for (const name of ["Option5", "Option6", "Option8", "Check1", "Option1", "Option10"]) assert.equal(await page.isChecked(g(name)), true, name);
  assert.equal(await page.inputValue(g("Combo1")), "12.5[KHz]");
  assert.equal(await page.inputValue(g("Combo2")), "1");

  // Typing checks, each with its message or silently.
  const refused = async (name, text, message) => {
    await page.fill(g(name), text);
    if (message) assert.equal((await takeMessage(page)).text, message);
    assert.equal(await page.inputValue(g(name)), "", `${name} ${text}`);
  };
  await refused("Text1", "0", "[Error] Channel Legnth !!!");
  await refused("Text4", "300", "[Error] Channel Legnth !!!");
  await refused("Text2", "74", "[Error] Tone Legnth !!!");
  await page.check(g("Option2"));
  await page.fill(g("Text2"), "208");
  assert.equal(await page.inputValue(g("Text2")), "208");
  await page.check(g("Option1"));
  assert.equal(await page.inputValue(g("Text2")), "", "CTCSS empties a DCS code silently");
  await page.fill(g("Text6"), "446.003");
  await page.press(g("Text6"), "Enter");
  assert.equal((await takeMessage(page)).text, "Frequency: Divide Error !!!");
  assert.equal(await page.inputValue(g("Text6")), "");
  await page.fill(g("Text6"), "460");
  await page.press(g("Text6"), "Tab");
  assert.equal(await page.inputValue(g("Text6")), "");
  assert.equal(await page.evaluate(() => document.activeElement?.dataset.name), "Option5", "Tab moves on after the check");

  const fill = async (values) => {
    for (const [name, text] of Object.entries(values)) await page.fill(g(name), text);
  };
  const auto = () => page.click(g("Command2"));

  // Groups A = 3 and C = 2; channels 1..8 from 446.00625 MHz up; CTCSS 70 by 5 wraps to 1.
  await fill({ Text7: "3", Text9: "2", Text1: "1", Text5: "8", Text6: "446.00625", Text2: "70", Text3: "1", Text4: "4", Combo2: "5" });
  await auto();
  assert.deepEqual(await column(page, 1, range(1, 6)), ["A-1", "A-2", "A-3", "C-1", "C-2", ""]);
  assert.deepEqual(await column(page, 2, [1, 2, 8, 9]), ["446.006250", "446.018750", "446.093750", ""]);
  assert.deepEqual(await column(page, 3, [1, 8]), ["446.006250", "446.093750"]);
  assert.deepEqual(await column(page, 4, range(1, 4)), ["[70] C201.3", "[01] C67.0", "[06] C82.5", "[11] C97.4"]);
  assert.deepEqual(await column(page, 5, [1, 4]), ["[000] OFF", "[000] OFF"]);
  assert.deepEqual(await column(page, 6, [1, 8]), ["Yes", "Yes"]);
  assert.deepEqual(await column(page, 7, [1, 8]), ["Narrow", "Narrow"]);
  await page.click("[data-name=mnuEdit]");
  assert.equal(await page.textContent("[data-name=mnuUndo]"), "Undo Auto generation");
  await page.keyboard.press("Escape");

  // RX only, down from 420.0125 MHz by 25 kHz: wraps to 449.975; "Wide"; DCS 207 by 3 wraps to 1.
  await page.check(g("Option3"));
  await page.check(g("Option7"));
  await page.check(g("Option9"));
  await page.check(g("Option2"));
  await fill({ Text7: "0", Text9: "0", Text1: "10", Text5: "13", Text6: "420.0125", Combo1: "25.0[KHz]", Text2: "207", Text3: "10", Text4: "13", Combo2: "3" });
  await auto();
  assert.deepEqual(await column(page, 2, range(10, 13)), ["420.012500", "449.975000", "449.950000", "449.925000"]);
  assert.deepEqual(await column(page, 3, range(10, 13)), ["", "", "", ""], "RX only leaves TX as it was");
  assert.deepEqual(await column(page, 7, [10, 13]), ["Wide", "Wide"]);
  const codeOf = (label) => Number(/^\[(\d+)\]/.exec(label)?.[1]);
  assert.deepEqual((await column(page, 5, range(10, 13))).map(codeOf), [207, 1, 4, 7]);
  assert.deepEqual(await column(page, 4, [10, 13]), ["[00] OFF", "[00] OFF"]);

  // Stored for the next opening: the inputs of the last run.
  await settle(page);
  let group = (await storedFiles(page))["program/Group.txt"].toString("latin1").split("\r\n");
  for (const text of ["10", "13", "420.0125", "207"]) assert.ok(group.includes(text), `Group.txt keeps ${text}`);

  // Groups larger than the range: message, sizes cleared; tone range outside: message, frequencies kept.
  await fill({ Text7: "6", Text8: "4", Text1: "1", Text5: "8", Text6: "446.00625" });
  await auto();
  assert.equal((await takeMessage(page)).text, "[Error] Group Length .....");
  assert.deepEqual(await groupBoxes(), Array(10).fill("0"));
  await fill({ Text1: "4", Text5: "10", Text2: "5", Text3: "3", Text4: "6" });
  await page.check(g("Option4"));
  await auto();
  assert.equal((await takeMessage(page)).text, "[Error] Tone Length .....");
  assert.equal(await page.inputValue(g("Text3")), "");
  // TX only, still down by 25 kHz: written before the tone check stopped the run.
  assert.deepEqual(await column(page, 3, [4, 10]), ["446.006250", "445.856250"]);
  // Sizes over 255 in total: cleared with their message, and the run goes on.
  await fill(Object.fromEntries(range(7, 16).map((n) => [`Text${n}`, "26"])));
  await fill({ Text2: "", Text3: "", Text4: "" });
  await auto();
  assert.equal((await takeMessage(page)).text, "There is no remained channels...");
  assert.deepEqual(await groupBoxes(), Array(10).fill("0"));

  // Exit, then the program's exit: the working files must be what corvane-cli writes for the same table.
  await page.click(g("Command1"));
  assert.equal(await page.isHidden("#frmGroup"), true);
  await page.click("[data-key=exit]");
  await page.waitForSelector("#ended");
  await settle(page);
  const stored = await storedFiles(page);
  const fromCli = cliRoundTrip(stored, "group");
  for (const name of ["Rx_Freq.txt", "Tx_Freq.txt", "Tone.txt", "Scan.txt", "Band.txt"]) assert.deepEqual(stored[`program/${name}`], fromCli(name), name);
  group = stored["program/Group.txt"].toString("latin1").split("\r\n");
  assert.deepEqual(group.slice(0, 12).map((l) => l.trim()), Array(12).fill("0"));

  // Started again, the window shows the last run's inputs from Group.txt; Reset returns
  // everything to the defaults: the group file as corvane-cli's new one, the table emptied.
  await page.reload();
  await page.waitForSelector("#frmPassword[data-answering]:not([hidden])");
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await page.click("[data-key=group]");
  await page.waitForSelector("#frmGroup:not([hidden])");
  assert.deepEqual(await Promise.all(["Text1", "Text5", "Text6", "Combo1", "Text2"].map((n) => page.inputValue(g(n)))),
    ["4", "10", "446.00625", "25.0[KHz]", ""]);
  for (const name of ["Option4", "Option7", "Option9"]) assert.equal(await page.isChecked(g(name)), true, name);
  await page.click(g("Command5"));
  assert.deepEqual(await Promise.all(["Text1", "Text5", "Text6", "Combo1", "Combo2"].map((n) => page.inputValue(g(n)))),
    ["", "", "", "12.5[KHz]", "1"]);
  for (const name of ["Option5", "Option6", "Option8", "Check1", "Option1", "Option10"]) assert.equal(await page.isChecked(g(name)), true, name);
  assert.deepEqual(await column(page, 2, [1, 10]), ["", ""]);
  assert.deepEqual(await column(page, 3, [4, 10]), ["", ""]);
  await settle(page);
  assert.deepEqual((await storedFiles(page))["program/Group.txt"], readFileSync(join(custom, "Group.txt")));
  // The group window belongs to Custom mode: Default closes it.
  await menu(page, "mode", "default");
  await page.waitForSelector("#frmGroup", { state: "hidden" });
  assert.deepEqual(errors, []);
  await context.close();
});
