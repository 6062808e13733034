// Port > Diagnose Connection... in the page: each line of the shared table
// (tests/data/doctor_lines.tsv, the simulated radio in each fault mode) gets
// its diagnosis, the port chooser names the cable's chip, the browser's own
// troubles are said before any port is touched, and the link has its port
// back afterwards. A screenshot of the window is kept in build-web/screenshots/.
import assert from "node:assert/strict";
import { mkdirSync, readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { test } from "node:test";
import { fileURLToPath } from "node:url";
import { SimRadio, browserSuite, enterCode, takeMessage, waitForStatus } from "./harness.mjs";

const suite = browserSuite();
const here = dirname(fileURLToPath(import.meta.url));
const SCREENSHOTS = join(here, "..", "..", "build-web", "screenshots");

// [name, simulator options or null for no device, expected diagnosis]
const LINES = readFileSync(join(here, "..", "data", "doctor_lines.tsv"), "utf8").split("\n")
  .filter((line) => line && !line.startsWith("#"))
  .map((line) => line.split("\t"))
  .map(([name, options, expected]) => [name, options === "none" ? null : options.split(" ").filter(Boolean), expected]);

async function openDoctor(page) {
  await page.click("[data-name=comport]");
  await page.click("[data-name=diagnoseConnection]");
  await page.waitForSelector("#frmDoctor[open]");
}

async function diagnose(page, portIndex) {
  if (portIndex !== undefined) await page.selectOption("[data-name=cboPort]", { index: portIndex });
  await page.evaluate(() => { delete document.getElementById("frmDoctor").dataset.diagnosis; });
  await page.click("[data-name=cmdDiagnose]");
  await page.waitForSelector("#frmDoctor[data-diagnosis]", { timeout: 15000 });
  await page.waitForSelector("[data-name=cmdDiagnose]:not([disabled])");
  return page.evaluate(() => ({
    id: document.getElementById("frmDoctor").dataset.diagnosis,
    finding: document.querySelector("[data-name=lblFinding]").textContent,
    fix: document.querySelector("[data-name=lblFix]").textContent,
  }));
}

test("every line of the table gets its diagnosis, and the link its port back", async () => {
  const dir = suite.scratch("doctor");
  const ports = {};
  for (const [name, options] of LINES) {
    if (!options) {
      ports[name] = { openError: "NotFoundError" }; // listed, but gone when opened
      continue;
    }
    // The echo must come back within the doctor's deaf window; the round
    // trip to the simulated radio through this test's server can take
    // longer on a loaded machine, so the page's cable echoes by itself.
    if (options.includes("--echo")) {
      ports[name] = { echo: true };
      continue;
    }
    mkdirSync(join(dir, name));
    const radio = await new SimRadio(join(dir, name), options).started();
    suite.onEnd(() => radio.stop());
    ports[name] = radio;
  }
  ports.Held = { openError: "NetworkError" }; // another program has it
  const { page, context, errors } = await suite.open(ports);
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  // The radio that answers is the program's port.
  await page.click("[data-name=comport]");
  await page.click("[data-name=port1]");
  await waitForStatus(page, "(COM5)  Connected ...");

  await openDoctor(page);
  const labels = await page.$$eval("[data-name=cboPort] option", (options) => options.map((o) => o.textContent));
  assert.equal(labels.length, LINES.length + 1);
  // The chips by their USB IDs, through the core's table.
  assert.equal(labels[0], "Port 1 (FTDI FT232R, USB 0403:6001)");
  assert.equal(labels[1], "Port 2 (FTDI, USB 0403:6002)");
  assert.equal(await page.$eval("[data-name=cboPort]", (s) => s.selectedIndex), 0);

  const seen = {};
  for (const [index, [name]] of LINES.entries()) seen[name] = (await diagnose(page, index)).id;
  seen.Held = (await diagnose(page, LINES.length)).id;
  assert.deepEqual(seen, { ...Object.fromEntries(LINES.map(([name, , expected]) => [name, expected])), Held: "in-use" });
  // The words every face shows, with the fix after "Fix: ".
  const echo = await diagnose(page, LINES.findIndex(([name]) => name === "Echo"));
  assert.equal(echo.finding, "Only what is sent comes back: no radio answers.");
  assert.match(echo.fix, /^Fix: The cable's TX and RX are joined/);
  mkdirSync(SCREENSHOTS, { recursive: true });
  await page.screenshot({ path: join(SCREENSHOTS, "doctor.png") });

  await page.click("#frmDoctor [data-name=cmdClose]");
  await waitForStatus(page, "(COM5)  Connected ...");
  assert.deepEqual(errors, []);
  await context.close();
});

test("the browser's own troubles come first, each with its fix", async () => {
  const noSerial = await suite.open({ A: null }, {
    initScript: "Object.defineProperty(Navigator.prototype, 'serial', { get: () => undefined, configurable: true });",
  });
  await enterCode(noSerial.page, "qzv");
  await noSerial.page.waitForSelector("#MDIForm1:not([hidden])");
  await openDoctor(noSerial.page);
  // Said as soon as the window opens, before any Diagnose.
  await noSerial.page.waitForSelector("#frmDoctor[data-diagnosis=no-web-serial]");
  const finding = await noSerial.page.textContent("[data-name=lblFinding]");
  assert.equal(finding, "This browser has no Web Serial: use Chrome, Edge or Opera.");
  assert.match(await noSerial.page.textContent("[data-name=lblFix]"), /Chrome, Edge or Opera on a computer/);
  // Select Port... says the same words.
  await noSerial.page.click("#frmDoctor [data-name=cmdClose]");
  await noSerial.page.click("[data-name=comport]");
  await noSerial.page.click("[data-name=selectPort]");
  assert.equal((await takeMessage(noSerial.page)).text, finding);
  await noSerial.context.close();

  const insecure = await suite.open({ A: null }, {
    initScript: "Object.defineProperty(window, 'isSecureContext', { get: () => false });",
  });
  await enterCode(insecure.page, "qzv");
  await insecure.page.waitForSelector("#MDIForm1:not([hidden])");
  await openDoctor(insecure.page);
  await insecure.page.waitForSelector("#frmDoctor[data-diagnosis=insecure-context]");
  assert.match(await insecure.page.textContent("[data-name=lblFinding]"), /https:\/\/ or on http:\/\/localhost/);
  await insecure.context.close();

  const none = await suite.open({});
  await enterCode(none.page, "qzv");
  await none.page.waitForSelector("#MDIForm1:not([hidden])");
  await openDoctor(none.page);
  assert.equal((await diagnose(none.page)).id, "no-port");
  await none.context.close();

  // A port chosen before, whose permission the browser has since dropped.
  const revoked = await suite.open({ A: null });
  await enterCode(revoked.page, "qzv");
  await revoked.page.waitForSelector("#MDIForm1:not([hidden])");
  await revoked.page.click("[data-name=comport]");
  await revoked.page.click("[data-name=selectPort]");
  await revoked.page.evaluate(() => window.__corvaneRevoke());
  await openDoctor(revoked.page);
  const lost = await diagnose(revoked.page);
  assert.equal(lost.id, "permission-lost");
  assert.match(lost.fix, /Select Port\.\.\. and pick the cable again/);
  assert.deepEqual(revoked.errors, []);
  await revoked.context.close();
});
