// The browser version's start, connection, detection and a silent radio,
// against corvane-radio-sim through a fake navigator.serial.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import {
  SimRadio, browserSuite, cli, enterCode, removeDir, statusText, storedFiles, takeMessage, tempDir, waitForStatus,
} from "./harness.mjs";

const suite = browserSuite();

async function startRadio(tag, args = []) {
  const dir = tempDir(tag);
  const radio = await new SimRadio(dir, args).started();
  suite.onEnd(() => { radio.stop(); removeDir(dir); });
  return radio;
}

test("first start in an empty origin: code qzv gives the PMR + LPD plan and the working files", async () => {
  const radio = await startRadio("first");
  const { page, errors, context } = await suite.open({ A: radio });
  assert.equal(await page.textContent("#frmPassword .titlebar"), "Corvane Password");
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  assert.equal(await page.title(), "Corvane PC Programmer - Kestrel : PMR + LPD");
  await waitForStatus(page, "(COM5)  Connected ...");
  assert.equal(await page.$eval("[data-name=Label1]", (e) => getComputedStyle(e).color), "rgb(0, 0, 255)");

  // The grid: headers, all 255 channels, two fixed columns.
  const headers = await page.$$eval("[data-row='0']", (cells) => cells.map((c) => c.textContent));
  assert.deepEqual(headers, ["No", "GROUP", "RX - FREQ", "TX - FREQ", "CTCSS", "DCS", "SCAN", "BAND", "POWER", "SCR", "COM"]);
  assert.equal(await page.textContent("[data-row='1'][data-col='2']"), "446.006250");
  assert.equal(await page.textContent("[data-row='255'][data-col='0']"), "[CH-255]");
  assert.equal(await page.$$eval("[data-row='7'].fixed-col", (cells) => cells.length), 2);

  // The toolbar's fourteen positions.
  const keys = await page.$$eval("[data-name=Toolbar1] > *", (items) => items.map((b) => b.dataset.key ?? "-"));
  assert.deepEqual(keys, ["exit", "-", "program", "upload", "-", "auto", "-", "nFile", "oFile", "sFile", "-", "setup", "-", "group"]);
  assert.equal(await page.getAttribute("[data-key=program]", "title"), "Write to Radio");
  assert.equal(await page.isDisabled("[data-key=program]"), false);
  assert.equal(await page.isDisabled("[data-key=setup]"), false);

  // The port was opened with the link's settings and DTR.
  const log = await page.evaluate(() => window.__corvaneSerialLog);
  const open = log.find((e) => e.event === "open");
  assert.deepEqual(open.options, { baudRate: 2400, dataBits: 8, stopBits: 2, parity: "none", flowControl: "none" });
  assert.ok(log.some((e) => e.event === "signals" && e.signals.dataTerminalReady === true));

  // The stored working set: Port.txt with edition 2, the plan's files as corvane-cli writes them.
  const files = await storedFiles(page);
  assert.equal(files["program/Port.txt"].toString("latin1").split(/\r?\n/)[1].trim(), "2");
  const reference = tempDir("reference");
  suite.onEnd(() => removeDir(reference));
  cli("--folder", reference, "new", "--edition", "pmr-lpd");
  for (const name of ["Group.txt", "Rx_Freq.txt", "Tx_Freq.txt", "Tone.txt", "Scan.txt", "Band.txt", "Power.txt", "Scr.txt", "Comp.txt"]) {
    assert.ok(files[`program/${name}`], `${name} stored`);
    assert.deepEqual(files[`program/${name}`], readFileSync(join(reference, name)), name);
  }
  assert.deepEqual(errors, []);
  await context.close();
});

test("a wrong code shows the message and ends the program", async () => {
  const { page, context } = await suite.open({});
  await enterCode(page, "Qzv");
  const message = await takeMessage(page);
  assert.deepEqual(message, { title: "Corvane PC Programmer", text: "Invalid Password !!!!! ", kind: "information" });
  await page.waitForSelector("#ended");
  assert.equal(await page.isHidden("#MDIForm1"), true);
  await context.close();
});

test("a browser that refuses to store the files says so instead of passing for saved", async () => {
  const refuse = `FileSystemFileHandle.prototype.createWritable = () =>
    Promise.reject(new DOMException("The storage quota is exhausted.", "QuotaExceededError"));`;
  const { page, context } = await suite.open({}, { initScript: refuse });
  const message = await takeMessage(page);
  assert.match(message.text, /^The working files could not be kept in the browser's storage: QuotaExceededError/);
  await context.close();
});

test("automatic detection probes the granted ports in order and keeps the one that answers", async () => {
  const radio = await startRadio("detect");
  const { page, context } = await suite.open({ silent: null, radio });
  await enterCode(page, "qzv");
  await waitForStatus(page, "(COM5)  Connection Failed...");
  assert.equal(await page.isDisabled("[data-key=program]"), true);
  await page.click("[data-key=auto]");
  await waitForStatus(page, "(COM6)  Connected ...", 15000);
  await page.click("[data-name=comport]");
  assert.equal(await page.getAttribute("[data-name=port2]", "aria-checked"), "true");
  assert.equal(await page.getAttribute("[data-name=port1]", "aria-checked"), "false");
  const log = await page.evaluate(() => window.__corvaneSerialLog.filter((e) => e.event === "open").map((e) => e.port));
  assert.deepEqual(log.slice(-2), ["silent", "radio"]);
  await context.close();
});

test("the link keeps its time with the window's timers slowed as in a hidden tab", async () => {
  // Browsers run a hidden tab's timers about once a second; the link's come from a worker.
  const radio = await startRadio("hidden");
  const throttle = `{
    const later = window.setTimeout, every = window.setInterval;
    window.setTimeout = (f, ms, ...a) => later(f, Math.max(ms || 0, 1000), ...a);
    window.setInterval = (f, ms, ...a) => every(f, Math.max(ms || 0, 1000), ...a);
  }`;
  const { page, context } = await suite.open({ A: radio }, { initScript: throttle });
  await enterCode(page, "qzv");
  // The connection request waits 100 ms, then the receive tick counts the answer in.
  await waitForStatus(page, "(COM5)  Connected ...");
  await context.close();
});

test("a radio that stops answering fails the handshake with the message", async () => {
  const radio = await startRadio("silent");
  const { page, context, mute } = await suite.open({ A: radio });
  await enterCode(page, "qzv");
  await waitForStatus(page, "(COM5)  Connected ...");
  mute();
  await page.click("[data-key=program]");
  const message = await takeMessage(page);
  assert.deepEqual(message, { title: "Corvane PC Programmer", text: "Connection Failure during handshake !!!", kind: "information" });
  assert.equal(await statusText(page), "(COM5)  Connection Failed...");
  assert.equal(await page.$eval("[data-name=Label1]", (e) => getComputedStyle(e).color), "rgb(255, 0, 0)");
  assert.equal(await page.isDisabled("[data-key=program]"), true);
  assert.equal(await page.isDisabled("[data-key=upload]"), true);
  assert.equal(await page.isDisabled("[data-key=auto]"), false);
  await context.close();
});
