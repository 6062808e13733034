// The page's windows with the keyboard alone and with axe-core: the menu
// bar's keys, where the focus goes (and stays, while the frame's first save
// runs), every window clean at every impact, text from an input method
// through the frequency filter, and the group window placed beside the
// columns it fills, moved by its title bar and following an undo.
import assert from "node:assert/strict";
import { test } from "node:test";
import { axeFindings, browserSuite, enterCode, focusWindow, settle, takeMessage, waitForStatus } from "./harness.mjs";

const suite = browserSuite();

// The focused element as "grid r,c" (the grid's current cell), a data-name, or the tag.
const focused = (page) => page.evaluate(() => {
  const active = document.activeElement;
  if (active?.getAttribute("role") === "grid") {
    const cell = document.getElementById(active.getAttribute("aria-activedescendant"));
    return `grid ${cell?.dataset.row},${cell?.dataset.col}`;
  }
  return active?.dataset.name ?? active?.tagName.toLowerCase();
});
const openMenus = (page) => page.$$eval("[role=menu]:not([hidden])", (menus) => menus.map((m) => m.getAttribute("aria-label")));
const findings = async (page) => (await axeFindings(page)).map((f) => `${f.impact} ${f.text}`);
const cell = (page, row, col) => page.textContent(`[data-row='${row}'][data-col='${col}']`);

async function keys(page, ...names) {
  for (const name of names) await page.keyboard.press(name);
}

test("keyboard: the menu bar's keys, and the focus back on the grid's current cell after the code, Escape and a message", async () => {
  const { page, context, errors } = await suite.open({ silent: null });
  assert.deepEqual(await findings(page), [], "access-code window");
  await page.keyboard.type("qzv");
  await page.keyboard.press("Enter");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await page.waitForFunction(() => document.activeElement?.getAttribute("role") === "grid");
  assert.equal(await focused(page), "grid 1,2", "after the access code");
  // Two blanks between the port and the state, as the page shows them.
  await waitForStatus(page, "(COM5)  Connection Failed...");
  assert.equal(await page.$eval("[data-name=Label1]", (e) => e.innerText), "(COM5)  Connection Failed...");
  assert.deepEqual(await findings(page), [], "frame");

  // F10 reaches the bar; Left and Right wrap, Home and End go to the ends.
  await keys(page, "ArrowDown", "F10");
  assert.equal(await focused(page), "mnuFile");
  await keys(page, "ArrowRight");
  assert.equal(await focused(page), "mnuEdit");
  await keys(page, "End");
  assert.equal(await focused(page), "information");
  await keys(page, "ArrowRight");
  assert.equal(await focused(page), "mnuFile");
  await keys(page, "ArrowLeft");
  assert.equal(await focused(page), "information");
  assert.deepEqual(await openMenus(page), []);
  // Down opens a menu on its first item; Left and Right move to the next menu, open.
  await keys(page, "ArrowDown");
  assert.deepEqual(await openMenus(page), ["Help(H)"]);
  assert.equal(await focused(page), "help");
  await keys(page, "ArrowRight");
  assert.deepEqual(await openMenus(page), ["File(F)"]);
  assert.equal(await focused(page), "openFile");
  assert.equal(await page.getAttribute("[data-name=mnuFile]", "aria-expanded"), "true");
  assert.deepEqual(await findings(page), [], "File menu open");
  // Up and Down wrap over the enabled items; Home and End.
  await keys(page, "ArrowUp");
  assert.equal(await focused(page), "mnuExit");
  await keys(page, "ArrowDown");
  assert.equal(await focused(page), "openFile");
  await keys(page, "End", "ArrowUp");
  assert.equal(await focused(page), "backups");
  await keys(page, "Home", "ArrowDown");
  assert.equal(await focused(page), "saveFile");
  // Escape closes the menu and the grid has the focus again, on its current cell.
  await keys(page, "Escape");
  assert.deepEqual(await openMenus(page), []);
  assert.equal(await focused(page), "grid 2,2");

  // Alt and the access key open a menu; Up on a title opens it on its last item; Enter chooses.
  await keys(page, "Alt+H");
  assert.equal(await focused(page), "help");
  await keys(page, "Enter");
  await page.waitForSelector("#frmHelp[open]");
  assert.equal(await focused(page), "Command1");
  assert.deepEqual(await findings(page), [], "About window");
  await keys(page, "Escape");
  assert.equal(await focused(page), "grid 2,2", "after the About window");
  await keys(page, "F10", "ArrowLeft", "ArrowLeft", "ArrowUp");
  assert.deepEqual(await openMenus(page), ["Mode(M)"]);
  assert.equal(await focused(page), "custom");
  await keys(page, "Escape");
  assert.equal(await focused(page), "grid 2,2");

  // A chosen item's message: OK gives the focus back to the grid, not to the page.
  await keys(page, "Alt+F", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown");
  assert.equal(await focused(page), "exportCsv");
  const download = page.waitForEvent("download");
  await keys(page, "Enter");
  await page.waitForSelector("dialog[data-name=MessageBox][open]");
  await download;
  assert.equal(await focused(page), "OK");
  assert.deepEqual(await findings(page), [], "message box");
  await keys(page, "Enter");
  await page.waitForSelector("dialog[data-name=MessageBox]", { state: "detached" });
  assert.equal(await focused(page), "grid 2,2", "after a message's OK");

  // The setup window (the frame hidden behind it).
  await page.click("[data-key=setup]");
  await page.waitForSelector("#frmSetup:not([hidden])");
  assert.deepEqual(await findings(page), [], "setup window");
  await page.click("#frmSetup [data-name=Command4]");
  await page.waitForSelector("#frmSetup", { state: "hidden" });
  assert.deepEqual(errors, []);
  await context.close();
});

test("an input method's text goes through the frequency filter like typed keys", async () => {
  const { page, context, errors } = await suite.open({});
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await page.click("[data-name=mode]");
  await page.click("[data-name=custom]");
  await page.waitForFunction(() => document.querySelector("[data-row='1'][data-col='2']")?.textContent === "");
  await page.click("[data-row='1'][data-col='2']");
  await page.waitForSelector(".grid [data-name=Text1]:not([hidden])");
  const text1 = () => page.inputValue(".grid [data-name=Text1]");
  const cdp = await focusWindow(page);
  // Text without keys (the touch keyboard, dictation): lower case swallowed, "," a point.
  await page.keyboard.insertText("44a6,0");
  assert.equal(await text1(), "446.0");
  // Text that came in with no beforeinput to cancel is filtered where it landed.
  await page.$eval(".grid [data-name=Text1]", (input) => {
    input.setRangeText("a,", input.value.length, input.value.length, "end");
    input.dispatchEvent(new InputEvent("input", { inputType: "insertText", data: "a," }));
  });
  assert.equal(await text1(), "446.0.");
  await page.keyboard.press("Backspace");
  // A composition: what it commits is filtered, "-" and the blank swallowed.
  await cdp.send("Input.imeSetComposition", { text: "06", selectionStart: 2, selectionEnd: 2 });
  await cdp.send("Input.imeSetComposition", { text: "06-2 5", selectionStart: 6, selectionEnd: 6 });
  await cdp.send("Input.insertText", { text: "06-2 5" });
  assert.equal(await text1(), "446.00625");
  // At its nine characters the box takes no more, however the text comes.
  await page.keyboard.insertText("7");
  await cdp.send("Input.imeSetComposition", { text: "8", selectionStart: 1, selectionEnd: 1 });
  await cdp.send("Input.insertText", { text: "8" });
  assert.equal(await text1(), "446.00625");
  await page.keyboard.press("Enter");
  assert.equal(await cell(page, 1, 2), "446.006250");
  assert.equal(await cell(page, 1, 3), "446.006250");
  assert.deepEqual(errors, []);
  await context.close();
});

test("the focus stays in the cell a person typed into while the frame's first save is still under way", async () => {
  // Once the frame shows, writes to the browser storage wait until the test lets them go.
  const hold = `const held = new Promise((resolve) => { window.__release = resolve; });
    const original = FileSystemFileHandle.prototype.createWritable;
    FileSystemFileHandle.prototype.createWritable = async function (...args) {
      if (document.getElementById("MDIForm1")?.hidden === false) await held;
      return original.apply(this, args);
    };`;
  const { page, context, errors } = await suite.open({}, { initScript: hold });
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await page.click("[data-name=mode]");
  await page.click("[data-name=custom]");
  await page.click("[data-row='1'][data-col='2']");
  await page.keyboard.type("44");
  await page.evaluate(() => window.__release());
  await settle(page);
  await page.keyboard.type("6.1");
  await page.keyboard.press("Enter");
  assert.equal(await cell(page, 1, 2), "446.100000");
  assert.deepEqual(errors, []);
  await context.close();
});

test("group window: opens beside the columns it fills, moves by its title bar, shows what an undo or redo left", async () => {
  const { page, context, errors } = await suite.open({});
  await page.setViewportSize({ width: 1280, height: 800 });
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await page.click("[data-name=mode]");
  await page.click("[data-name=custom]");
  await page.click("[data-key=group]");
  await page.waitForSelector("#frmGroup:not([hidden])");
  const g = (name) => `#frmGroup [data-name=${name}]`;
  const box = (selector) => page.$eval(selector, (e) => e.getBoundingClientRect().toJSON());
  const placed = await box("#frmGroup");
  const rx = await box("[data-row='0'][data-col='2']");
  const tx = await box("[data-row='0'][data-col='3']");
  const toolbar = await box("[data-name=Toolbar1]");
  assert.ok(placed.left >= Math.max(rx.right, tx.right), `the window (left ${placed.left}) leaves RX and TX (right ${tx.right}) free`);
  assert.ok(placed.top >= toolbar.bottom, `and the toolbar (window top ${placed.top}, toolbar bottom ${toolbar.bottom})`);
  assert.ok(placed.right <= 1280 && placed.bottom <= 800, "inside the page");
  assert.deepEqual(await findings(page), [], "group window over the frame");

  // Dragged by its title bar; opened again, it is where it was left.
  const title = await box("#frmGroup .titlebar");
  await page.mouse.move(title.left + 40, title.top + 8);
  await page.mouse.down();
  await page.mouse.move(title.left - 160, title.top + 68, { steps: 5 });
  await page.mouse.up();
  const moved = await box("#frmGroup");
  assert.deepEqual([Math.round(moved.left - placed.left), Math.round(moved.top - placed.top)], [-200, 60]);
  await page.click(g("Command1"));
  await page.click("[data-key=group]");
  await page.waitForSelector("#frmGroup:not([hidden])");
  const reopened = await box("#frmGroup");
  assert.deepEqual([reopened.left, reopened.top], [moved.left, moved.top]);

  // Group A = 3, Auto, Reset: undoing the Reset shows A = 3 again, and the next Auto keeps it.
  for (const [name, text] of Object.entries({ Text7: "3", Text1: "1", Text5: "8", Text6: "446.00625" })) await page.fill(g(name), text);
  await page.click(g("Command2"));
  assert.equal(await cell(page, 3, 1), "A-3");
  await page.click(g("Command5"));
  assert.equal(await page.inputValue(g("Text7")), "0");
  assert.equal(await cell(page, 1, 1), "");
  const edit = async (item) => {
    await page.click("[data-name=mnuEdit]");
    await page.click(`[data-name=${item}]`);
  };
  await edit("mnuUndo");
  assert.equal(await cell(page, 3, 1), "A-3");
  assert.equal(await page.inputValue(g("Text7")), "3", "the window shows the table the undo put back");
  await edit("mnuRedo");
  assert.equal(await page.inputValue(g("Text7")), "0");
  assert.equal(await cell(page, 1, 1), "");
  // With the keys (the focus on the window's button): undone again, and Auto applies A = 3.
  await page.keyboard.press("Control+z");
  assert.equal(await page.inputValue(g("Text7")), "3");
  await page.click(g("Command2"));
  assert.deepEqual([await cell(page, 3, 1), await cell(page, 4, 1)], ["A-3", ""]);
  assert.deepEqual(errors, []);
  await context.close();
});
