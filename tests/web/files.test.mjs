// The File menu in the browser: spreadsheets, CHIRP CSV, images, a desktop
// folder and the working-set archive, each checked byte for byte against
// corvane-cli doing the same on the same files; then offline use and axe-core.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { copyFileSync, cpSync, existsSync, mkdirSync, readFileSync, writeFileSync } from "node:fs";
import { basename, dirname, join } from "node:path";
import { test } from "node:test";
import { fileURLToPath } from "node:url";
import {
  CLI, WORKING_FILES, browserSuite, cli, enterCode, openProgram, settle, startSite, storedFiles, takeMessage,
} from "./harness.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const WORKBOOKS = join(here, "..", "data", "workbook");
const AXE = join(here, "..", "..", "web", "node_modules", "axe-core", "axe.min.js");
const { unzipSync, zipSync } = await import(join(here, "..", "..", "web", "node_modules", "fflate", "esm", "index.mjs"));

const suite = browserSuite();

const scratch = (tag) => suite.scratch(tag);

// A working set made by corvane-cli.
function cliFolder(tag, ...newArgs) {
  const dir = scratch(tag);
  cli("--folder", dir, "new", ...newArgs);
  return dir;
}

function copyFolder(from, tag) {
  const dir = scratch(tag);
  cpSync(from, dir, { recursive: true });
  return dir;
}

function folderFiles(dir) {
  return Object.fromEntries(WORKING_FILES.filter((n) => existsSync(join(dir, n))).map((n) => [n, readFileSync(join(dir, n))]));
}

async function pageFiles(page) {
  await settle(page);
  const stored = await storedFiles(page);
  return Object.fromEntries(WORKING_FILES.filter((n) => stored[`program/${n}`]).map((n) => [n, stored[`program/${n}`]]));
}

function assertSameFiles(actual, expected, what) {
  assert.deepEqual(Object.keys(actual).sort(), Object.keys(expected).sort(), `${what}: the same files`);
  for (const name of Object.keys(expected)) {
    assert.equal(actual[name].toString("latin1"), expected[name].toString("latin1"), `${what}: ${name}`);
  }
}

async function started(code, options) {
  const program = await suite.open({}, options);
  await enterCode(program.page, code);
  await program.page.waitForSelector("#MDIForm1:not([hidden])");
  return program;
}

async function menu(page, item) {
  await page.click("[data-name=mnuFile]");
  await page.click(`[data-name=${item}]`);
}

async function chooseFile(page, item, path) {
  const [chooser] = await Promise.all([page.waitForEvent("filechooser"), menu(page, item)]);
  await chooser.setFiles(path);
}

async function downloaded(page, item) {
  const [download] = await Promise.all([page.waitForEvent("download"), menu(page, item)]);
  return { name: download.suggestedFilename(), bytes: readFileSync(await download.path()) };
}

// The channel editor closing with the page saves the channel files, and
// nothing else: with the import's own saves, the set corvane-cli import leaves.
async function closeEditor(page) {
  await page.evaluate(() => dispatchEvent(new Event("pagehide")));
}

async function exitProgram(page) {
  await menu(page, "mnuExit");
  await page.waitForSelector("#ended");
}

// A CHIRP CSV of the PMR + LPD plan, as corvane-cli exports it, cut to a few channels.
function sampleCsv(dir) {
  const full = join(dir, "plan.csv");
  cli("--folder", cliFolder("plan", "--edition", "pmr-lpd"), "export-csv", full);
  const lines = readFileSync(full, "utf8").split("\r\n");
  const path = join(dir, "few.csv");
  writeFileSync(path, `${[lines[0], lines[3], lines[5], lines[9]].join("\r\n")}\r\n`);
  return path;
}

test("spreadsheets: a workbook of corvane-cli imports, and the page's export imports in corvane-cli, to the same files", async () => {
  const work = scratch("books");
  const csv = sampleCsv(work);
  const reference = cliFolder("reference", "--edition", "pmr-lpd", "--mode", "custom");
  cli("--folder", reference, "import-csv", csv);
  mkdirSync(join(reference, "Data"), { recursive: true });
  const cliBook = join(reference, "Data", "cli.xlsx");
  cli("--folder", reference, "export", cliBook);

  const { page, context, errors } = await started("qzv");
  await chooseFile(page, "openFile", cliBook);
  await page.waitForFunction(() => document.querySelector("[data-name=custom]")?.getAttribute("aria-checked") === "true");

  const book = await downloaded(page, "saveFile");
  assert.equal(book.name, "Corvane.xlsx");
  await closeEditor(page);
  assertSameFiles(await pageFiles(page), folderFiles(reference), "page import of the cli workbook");

  const back = cliFolder("back", "--edition", "pmr-lpd");
  mkdirSync(join(back, "Data"), { recursive: true });
  writeFileSync(join(back, "Data", "web.xlsx"), book.bytes);
  cli("--folder", back, "import", join(back, "Data", "web.xlsx"));
  assertSameFiles(folderFiles(back), folderFiles(reference), "cli import of the page's workbook");
  assert.deepEqual(errors, []);
  await context.close();
});

// An .ods keeping numbers shown as dates and times as dates and durations
// (446.00625 and 433.075 in B1 and C1, 3, 1 and 63 in A257 to A259) and a
// text spelled like an .xlsx escape in A287.
function datesOds(dir) {
  const cell = (type, attribute, value) =>
    `<table:table-cell office:value-type="${type}" calcext:value-type="${type}" office:${attribute}="${value}"><text:p>shown</text:p></table:table-cell>`;
  const row = (...cells) => `<table:table-row>${cells.join("")}</table:table-row>`;
  const skip = (count) => `<table:table-row table:number-rows-repeated="${count}"><table:table-cell/></table:table-row>`;
  const rows = row("<table:table-cell/>", cell("date", "date-value", "1901-03-21T00:09:00"), cell("time", "time-value", "PT10393H48M00S")) +
    skip(255) + row(cell("date", "date-value", "1900-01-02")) + row(cell("time", "time-value", "PT24H00M00S")) +
    row(cell("date", "date-value", "1900-03-03T00:00:00")) + skip(27) +
    row('<table:table-cell office:value-type="string"><text:p>_x0041_</text:p></table:table-cell>');
  const content = '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" ' +
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" ' +
    'xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0">' +
    `<office:body><office:spreadsheet><table:table table:name="S">${rows}</table:table></office:spreadsheet></office:body></office:document-content>`;
  const path = join(dir, "dates.ods");
  const text = new TextEncoder();
  // The mimetype first and stored, as the format wants.
  writeFileSync(path, zipSync({ mimetype: [text.encode("application/vnd.oasis.opendocument.spreadsheet"), { level: 0 }], "content.xml": text.encode(content) }));
  return path;
}

test("spreadsheets: workbooks of other spreadsheet programs read, or are refused, as corvane-cli reads them", async () => {
  const books = ["foreign.xls", "foreign.ods", "libreoffice.xlsx", "libreoffice.ods", "libreoffice-numbers.xls", "openpyxl.xlsx"]
    .map((name) => join(WORKBOOKS, name));
  books.push(datesOds(scratch("dates")));
  for (const path of books) {
    const name = basename(path);
    const reference = cliFolder(`foreign-${name}`, "--edition", "korea");
    mkdirSync(join(reference, "Data"), { recursive: true });
    copyFileSync(path, join(reference, "Data", name));
    cli("--folder", reference, "import", join(reference, "Data", name));

    const { page, context, errors } = await started("wbn");
    await chooseFile(page, "openFile", path);
    await page.waitForFunction(() => document.querySelector("[data-name=custom]")?.getAttribute("aria-checked") === "true");
    await closeEditor(page);
    assertSameFiles(await pageFiles(page), folderFiles(reference), name);
    assert.deepEqual(errors, [], name);
    await context.close();
  }

  // An error cell or a formula without its value: the same refusal, nothing changed.
  const { page, context } = await started("wbn");
  const before = await pageFiles(page);
  for (const name of ["libreoffice-error.xlsx", "libreoffice-error.ods", "libreoffice-error.xls", "openpyxl-formula.xlsx", "libreoffice.xls"]) {
    const reference = cliFolder(`refused-${name}`, "--edition", "korea");
    mkdirSync(join(reference, "Data"), { recursive: true });
    copyFileSync(join(WORKBOOKS, name), join(reference, "Data", name));
    const refusal = spawnSync(CLI, ["--folder", reference, "import", join(reference, "Data", name)], { encoding: "utf8" });
    assert.notEqual(refusal.status, 0, name);
    const sentence = refusal.stderr.match(/cell [A-Z]+\d+ holds [^\n(]*/)?.[0].trim();
    assert.ok(sentence, `${name}: ${refusal.stderr}`);

    await chooseFile(page, "openFile", join(WORKBOOKS, name));
    const message = await takeMessage(page);
    assert.ok(message.text.startsWith("Import failed: ") && message.text.includes(sentence), `${name}: ${message.text}`);
  }
  // A zip that would unpack far beyond any workbook is refused before it is unpacked.
  const bombFolder = cliFolder("bomb", "--edition", "korea");
  mkdirSync(join(bombFolder, "Data"), { recursive: true });
  const bomb = join(bombFolder, "Data", "bomb.xlsx");
  writeFileSync(bomb, zipSync({ "xl/worksheets/sheet1.xml": new Uint8Array(40 * 1024 * 1024) }, { level: 9 }));
  const cliRefusal = spawnSync(CLI, ["--folder", bombFolder, "import", bomb], { encoding: "utf8" }).stderr;
  await chooseFile(page, "openFile", bomb);
  const refusal = (await takeMessage(page)).text;
  const limit = "would unpack to more than 32 MB";
  assert.ok(cliRefusal.includes(limit) && refusal.includes(limit), `${cliRefusal} / ${refusal}`);
  assertSameFiles(await pageFiles(page), before, "after the refusals");
  await context.close();
});

test("CHIRP CSV and images: exports equal corvane-cli's, imports give its files", async () => {
  const work = scratch("csv");
  const csv = sampleCsv(work);
  const reference = cliFolder("csv-reference", "--edition", "pmr-lpd");
  const cliCsv = join(work, "cli.csv");
  cli("--folder", reference, "export-csv", cliCsv);
  const cliImage = join(work, "cli.img");
  cli("--folder", reference, "image", "build", cliImage);

  const { page, context, errors } = await started("qzv");
  const exported = await downloaded(page, "exportCsv");
  await takeMessage(page);
  assert.equal(exported.name, "Corvane.csv");
  assert.deepEqual(exported.bytes, readFileSync(cliCsv));
  const image = await downloaded(page, "saveImage");
  assert.equal(image.name, "Corvane.img");
  assert.deepEqual(image.bytes, readFileSync(cliImage));

  await chooseFile(page, "importCsv", csv);
  const summary = await takeMessage(page);
  cli("--folder", reference, "import-csv", csv);
  assert.match(summary.text, /3/);
  await exitProgram(page);
  assertSameFiles(await pageFiles(page), folderFiles(reference), "CHIRP CSV import");
  await context.close();

  // The image of the preset plan taken in over the imported channels.
  const second = await started("qzv");
  await chooseFile(second.page, "importCsv", csv);
  await takeMessage(second.page);
  await chooseFile(second.page, "openImage", cliImage);
  await second.page.waitForFunction(() => document.querySelector("[data-name=default]")?.getAttribute("aria-checked") === "true");
  cli("--folder", reference, "image", "decode", cliImage);
  await exitProgram(second.page);
  assertSameFiles(await pageFiles(second.page), folderFiles(reference), "image opened");
  assert.deepEqual([...errors, ...second.errors], []);
  await second.context.close();
});

test("refusals name the file the user chose: a damaged .xls, a file that is no CHIRP CSV, an image of no edition", async () => {
  const work = scratch("named");
  const notes = join(work, "notes.csv");
  writeFileSync(notes, "Name,Frequency\r\nA,446.00625\r\n");
  const image = join(work, "radio (copy).img");
  cli("--folder", cliFolder("named-image", "--edition", "korea"), "image", "build", image);
  const bytes = readFileSync(image);
  bytes[14] = 7;
  writeFileSync(image, bytes);

  const { page, context, errors } = await started("wbn");
  const before = await pageFiles(page);
  await chooseFile(page, "openFile", join(WORKBOOKS, "truncated.xls"));
  assert.equal((await takeMessage(page)).text, "Import failed: truncated.xls is damaged or cut short.");
  await chooseFile(page, "importCsv", notes);
  assert.equal((await takeMessage(page)).text, "notes.csv: not a CHIRP CSV file: the first line lacks the Location and Frequency columns");
  await chooseFile(page, "openImage", image);
  assert.equal((await takeMessage(page)).text, "radio (copy).img: invalid image: edition byte 7 (expected 2 or 3)");
  assertSameFiles(await pageFiles(page), before, "after the refusals");
  assert.deepEqual(errors, []);
  await context.close();
});

// A directory handle over files the test holds, in place of the browser's folder chooser.
const STUB_FOLDER = `
  window.__folder = new Map(Object.entries(window.__folderSeed).map(([n, b]) => [n, new Uint8Array(b)]));
  class StubWritable {
    constructor(name) { this.name = name; this.parts = []; }
    async write(data) { this.parts.push(new Uint8Array(data)); }
    async close() {
      const size = this.parts.reduce((n, p) => n + p.length, 0);
      const bytes = new Uint8Array(size);
      let at = 0;
      for (const part of this.parts) { bytes.set(part, at); at += part.length; }
      window.__folder.set(this.name, bytes);
    }
  }
  class StubFile {
    constructor(name) { this.kind = "file"; this.name = name; }
    async getFile() { return new File([window.__folder.get(this.name)], this.name); }
    async createWritable() { return new StubWritable(this.name); }
  }
  class StubFolder {
    constructor() { this.kind = "directory"; this.name = "Corvane"; }
    async getFileHandle(name, options = {}) {
      if (!window.__folder.has(name)) {
        if (!options.create) throw new DOMException(name, "NotFoundError");
        window.__folder.set(name, new Uint8Array());
      }
      return new StubFile(name);
    }
  }
  window.showDirectoryPicker = async () => new StubFolder();
`;

test("a desktop folder opened in the page ends byte for byte as corvane-cli leaves it; the archive carries the same files", async () => {
  const work = scratch("folder");
  const csv = sampleCsv(work);
  const desktop = cliFolder("desktop", "--edition", "korea");
  const expected = copyFolder(desktop, "expected");
  cli("--folder", expected, "import-csv", csv);

  const seed = Object.fromEntries(Object.entries(folderFiles(desktop)).map(([n, b]) => [n, Array.from(b)]));
  const program = await suite.open({});
  const { page, context, errors } = program;
  await page.evaluate(([seedFiles, stub]) => {
    window.__folderSeed = seedFiles;
    (0, eval)(stub);
  }, [seed, STUB_FOLDER]);
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");

  await menu(page, "openFolder");
  await page.waitForFunction(() => document.title.endsWith("Korea"));
  assert.equal(await page.textContent("[data-row='1'][data-col='2']"), readFileSync(join(desktop, "Rx_Freq.txt"), "latin1").split("\r\n")[1]);
  await chooseFile(page, "importCsv", csv);
  await takeMessage(page);

  const archive = await downloaded(page, "exportWorkingSet");
  await exitProgram(page);
  await settle(page);
  const folder = await page.evaluate(() => Object.fromEntries([...window.__folder].map(([n, b]) => [n, Array.from(b)])));
  const written = Object.fromEntries(Object.entries(folder).map(([n, b]) => [n, Buffer.from(b)]));
  assertSameFiles(written, folderFiles(expected), "the opened folder");

  // The archive holds the page's working set; a fresh page takes it in whole.
  const entries = unzipSync(new Uint8Array(archive.bytes));
  assert.deepEqual(Object.keys(entries).sort(), [...WORKING_FILES].sort());
  assert.deepEqual(Buffer.from(entries["Port.txt"]), readFileSync(join(expected, "Port.txt")));
  const zip = join(work, archive.name);
  writeFileSync(zip, archive.bytes);
  await context.close();

  const fresh = await started("qzv");
  await fresh.page.evaluate(() => { delete window.showDirectoryPicker; });
  await menu(fresh.page, "openFolder");
  assert.match((await takeMessage(fresh.page)).text, /cannot open a folder/);
  await chooseFile(fresh.page, "importWorkingSet", zip);
  await fresh.page.waitForFunction(() => document.title.endsWith("Korea"));
  await exitProgram(fresh.page);
  assertSameFiles(await pageFiles(fresh.page), folderFiles(expected), "the archive taken in");
  assert.deepEqual([...errors, ...fresh.errors], []);
  await fresh.context.close();
});

async function seriousFindings(page) {
  await page.evaluate(readFileSync(AXE, "utf8")); // the page's policy refuses a script tag
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ["violations"] }));
  return result.violations
    .filter((v) => v.impact === "serious" || v.impact === "critical")
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
}

test("accessibility: axe-core finds nothing serious in the access-code window, the frame, an open menu and a message", async () => {
  const program = await suite.open({});
  const { page, context } = program;
  assert.deepEqual(await seriousFindings(page), [], "access-code window");
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  assert.deepEqual(await seriousFindings(page), [], "frame");
  await page.click("[data-name=mnuFile]");
  assert.deepEqual(await seriousFindings(page), [], "File menu open");
  await page.click("[data-name=exportCsv]");
  await page.waitForSelector("dialog[data-name=MessageBox][open]");
  assert.deepEqual(await seriousFindings(page), [], "message box");
  await context.close();
});

test("installable and offline: after the first visit the page starts and runs with the server gone; the spreadsheet library is kept once used", async () => {
  const own = await startSite();
  const program = await openProgram(suite.browser, own, {});
  const { page, context } = program;
  assert.equal(await page.getAttribute("link[rel=manifest]", "href"), "manifest.webmanifest");
  await page.evaluate(() => navigator.serviceWorker.ready);
  // Installable: chromium finds nothing missing but a normal (not incognito) profile.
  const cdp = await context.newCDPSession(page);
  const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
  assert.deepEqual(installabilityErrors.map((e) => e.errorId).filter((id) => id !== "in-incognito"), []);
  // The first visit leaves the file-format libraries to their first use.
  assert.deepEqual(own.served.filter((s) => /xlsx|fflate/.test(s.path)), []);
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  await downloaded(page, "saveFile");
  own.close();
  await context.setOffline(true);
  await page.reload();
  await page.waitForSelector("#frmPassword[data-answering]:not([hidden])");
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  assert.equal(await page.textContent("[data-row='1'][data-col='2']"), "446.006250");
  // The spreadsheet library comes from the cache now.
  const book = await downloaded(page, "saveFile");
  assert.ok(book.bytes.length > 1000);
  await context.close();
});
