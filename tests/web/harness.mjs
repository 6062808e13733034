// What the browser tests share: the built site on a local server, Debian's
// chromium driven by playwright-core, corvane-radio-sim on a pseudo-terminal
// relayed to a fake navigator.serial, and the files the page stored.
import { spawn, execFileSync } from "node:child_process";
import { once } from "node:events";
import { createServer } from "node:http";
import { existsSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync, mkdirSync } from "node:fs";
import { tmpdir } from "node:os";
import { after, before } from "node:test";
import { dirname, extname, join, normalize } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, "..", "..");
const { chromium } = await import(join(root, "web", "node_modules", "playwright-core", "index.mjs"));

export const SITE_DIR = process.env.CORVANE_SITE_DIR || join(root, "build-web", "site");
export const SIM = process.env.CORVANE_SIM || join(root, "build", "tools", "radio-sim", "corvane-radio-sim");
export const CLI = process.env.CORVANE_CLI || join(root, "build", "src", "cli", "corvane-cli");
const CHROMIUM = process.env.CORVANE_CHROMIUM || "/usr/bin/chromium";
export const IMAGE_LENGTH = 1936;

const TYPES = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm", ".svg": "image/svg+xml", ".webmanifest": "application/manifest+json" };

// The site as plain static files, on 127.0.0.1 and a free port, with the
// validators a static host sends (Last-Modified, answered with 304). /relay/KEY
// streams the bytes of the radio registered under KEY to the page. `served`
// lists each file sent with its body's length (0 for a 304).
export async function startSite({ dir = SITE_DIR } = {}) {
  const relays = new Map();
  const served = [];
  const server = createServer((request, response) => {
    if (request.url.startsWith("/relay/")) {
      const relay = relays.get(request.url.slice("/relay/".length));
      if (!relay) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { "content-type": "application/octet-stream", "cache-control": "no-store" });
      response.flushHeaders();
      relay.sink = response;
      request.on("close", () => { if (relay.sink === response) relay.sink = null; });
      return;
    }
    const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = join(dir, path.endsWith("/") ? `${path}index.html` : path);
    if (!file.startsWith(dir) || !existsSync(file) || statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    const modified = new Date(Math.floor(statSync(file).mtimeMs / 1000) * 1000);
    const since = Date.parse(request.headers["if-modified-since"] ?? "");
    if (since >= modified.getTime()) {
      served.push({ path, bytes: 0 });
      response.writeHead(304).end();
      return;
    }
    const body = readFileSync(file);
    served.push({ path, bytes: body.length });
    response.writeHead(200, {
      "content-type": TYPES[extname(file)] || "application/octet-stream",
      "content-length": body.length,
      "last-modified": modified.toUTCString(),
    });
    response.end(body);
  });
  server.listen(0, "127.0.0.1");
  await once(server, "listening");
  return {
    url: `http://localhost:${server.address().port}/`,
    served,
    // The radio's bytes go to the page while the port is open and the relay not muted.
    relay(key, radio) {
      const relay = { sink: null, muted: false };
      relays.set(key, relay);
      radio.onBytes((chunk) => { if (relay.sink && !relay.muted) relay.sink.write(chunk); });
      return relay;
    },
    close: () => { server.closeAllConnections(); server.close(); },
  };
}

export async function launchBrowser() {
  return chromium.launch({ executablePath: CHROMIUM, args: ["--no-sandbox"] });
}

export function tempDir(tag) {
  return mkdtempSync(join(tmpdir(), `corvane-web-${tag}-`));
}

// A simulated radio on a pseudo-terminal; socat carries its bytes raw.
export class SimRadio {
  constructor(dir, args = []) {
    this.dir = dir;
    this.link = join(dir, "ttyUSB0");
    this.received = join(dir, "received.img");
    this.sim = spawn(SIM, ["--link", this.link, "--received-image", this.received, "--exit-with-parent", ...args], { stdio: ["ignore", "pipe", "pipe"] });
    this.stderr = "";
    this.sim.stderr.on("data", (d) => { this.stderr += d; });
  }

  async started() {
    for (let i = 0; i < 100 && !existsSync(this.link); ++i) await new Promise((r) => setTimeout(r, 50));
    if (!existsSync(this.link)) throw new Error(`the simulated radio did not start: ${this.stderr}`);
    this.socat = spawn("socat", ["-b", "4096", "STDIO", `FILE:${this.link},rawer`], { stdio: ["pipe", "pipe", "inherit"] });
    return this;
  }

  onBytes(handler) {
    this.socat.stdout.on("data", handler);
  }

  write(bytes) {
    this.socat.stdin.write(Buffer.from(bytes));
  }

  stop() {
    this.socat?.kill();
    this.sim.kill();
  }
}

// A page whose navigator.serial offers the named ports; a port with a radio
// is relayed to it, the others never answer, and a port given as
// { openError: NAME } refuses to open and one given as { echo: true } echoes
// (fake-serial.js).
let relayCount = 0;

export async function openProgram(browser, site, ports, { query = "", initScript = "", watch = () => {} } = {}) {
  const context = await browser.newContext({ viewport: { width: 1100, height: 700 }, acceptDownloads: true });
  watch(context);
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (e) => errors.push(e.message));
  // Whatever the page's content-security-policy refused counts as an error too.
  await page.exposeFunction("__corvaneViolation", (text) => errors.push(`content-security-policy refused ${text}`));
  await page.addInitScript(() => document.addEventListener("securitypolicyviolation", (e) => window.__corvaneViolation(`${e.violatedDirective}: ${e.blockedURI}`)));
  const radios = new Map();
  const relays = [];
  const config = Object.entries(ports).map(([name, radio]) => {
    if (!radio) return { name, relay: null };
    if (radio.openError || radio.echo) return { name, relay: null, openError: radio.openError, echo: radio.echo };
    const key = `${name}-${++relayCount}`;
    radios.set(key, radio);
    relays.push(site.relay(key, radio));
    return { name, relay: key };
  });
  await page.addInitScript(`window.__corvaneFakePorts = ${JSON.stringify(config)};`);
  await page.addInitScript({ path: join(here, "fake-serial.js") });
  if (initScript) await page.addInitScript(initScript);
  await page.exposeFunction("__corvaneRelayWrite", (key, bytes) => radios.get(key)?.write(bytes));
  await page.goto(`${site.url}${query}`);
  // The window shows before the program behind it is ready; a test types
  // when it answers, as a person would be slower than the start.
  await page.waitForSelector("#frmPassword[data-answering]:not([hidden])");
  return { context, page, errors, mute: () => relays.forEach((r) => { r.muted = true; }) };
}

export async function enterCode(page, code) {
  await page.fill("[data-name=Text1]", code);
  await page.press("[data-name=Text1]", "Enter");
}

export async function statusText(page) {
  return page.textContent("[data-name=Label1]");
}

export async function waitForStatus(page, text, timeout = 10000) {
  await page.waitForFunction((t) => document.querySelector("[data-name=Label1]")?.textContent === t, text, { timeout });
}

// The text of the next message box, which is then closed with OK.
export async function takeMessage(page, timeout = 15000) {
  const dialog = await page.waitForSelector("dialog[data-name=MessageBox][open]", { timeout });
  const title = await dialog.$eval(".titlebar", (e) => e.textContent);
  const text = await dialog.$eval("[data-name=Text]", (e) => e.textContent);
  const kind = await dialog.getAttribute("data-kind");
  await dialog.$eval("[data-name=OK]", (b) => b.click());
  await page.waitForSelector("dialog[data-name=MessageBox]", { state: "detached" });
  return { title, text, kind };
}

// Every file the page keeps in the origin-private file system, by path, once
// the saves under way are done.
export async function storedFiles(page) {
  if (!page.isClosed()) await settle(page);
  const files = await page.evaluate(async () => {
    const out = {};
    // A file the page is writing this moment cannot be read: it is read again once written.
    async function read(handle) {
      for (let attempt = 0; ; ++attempt) {
        try {
          return await (await handle.getFile()).arrayBuffer();
        } catch (error) {
          if (error.name !== "NotReadableError" || attempt >= 50) throw error;
          await new Promise((resolve) => setTimeout(resolve, 100));
        }
      }
    }
    async function walk(dir, prefix) {
      for await (const [name, handle] of dir.entries()) {
        if (handle.kind === "directory") await walk(handle, `${prefix}${name}/`);
        else out[`${prefix}${name}`] = Array.from(new Uint8Array(await read(handle)));
      }
    }
    const top = await navigator.storage.getDirectory();
    await walk(await top.getDirectoryHandle("corvane", { create: true }), "");
    return out;
  });
  return Object.fromEntries(Object.entries(files).map(([k, v]) => [k, Buffer.from(v)]));
}

export const WORKING_FILES = ["Port.txt", "Group.txt", "Rx_Freq.txt", "Tx_Freq.txt", "Tone.txt", "Scan.txt", "Band.txt", "Power.txt", "Scr.txt", "Comp.txt"];

// The ten working files of the page's program folder written into a folder for corvane-cli.
export function writeProgramFolder(files, dir) {
  mkdirSync(dir, { recursive: true });
  for (const name of WORKING_FILES) writeFileSync(join(dir, name), files[`program/${name}`]);
  return dir;
}

export function cli(...args) {
  return execFileSync(CLI, args, { encoding: "utf8" });
}

export function removeDir(dir) {
  rmSync(dir, { recursive: true, force: true });
}

// One site server and one browser for a test file; what its tests leave
// behind (scratch folders, radios) is removed when the file ends.
export function browserSuite() {
  const cleanups = [];
  const suite = {
    site: null,
    browser: null,
    open: (ports, options) => openProgram(suite.browser, suite.site, ports, options),
    onEnd: (cleanup) => cleanups.push(cleanup),
    scratch(tag) {
      const dir = tempDir(tag);
      cleanups.push(() => removeDir(dir));
      return dir;
    },
  };
  before(async () => {
    suite.site = await startSite();
    suite.browser = await launchBrowser();
  });
  after(async () => {
    for (const cleanup of cleanups.reverse()) cleanup();
    await suite.browser?.close();
    suite.site?.close();
  });
  return suite;
}

// An input method writes only into the window that has the system's focus,
// and playwright only makes each page believe it has it: the page's window
// comes to the front for real.
export async function focusWindow(page) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send("Emulation.setFocusEmulationEnabled", { enabled: false });
  await cdp.send("Page.bringToFront");
  return cdp;
}

// Waits until every save the page has begun has reached the browser storage
// (the page marks <html data-saving> while one is under way).
export async function settle(page) {
  await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 0)));
  await page.waitForFunction(() => !document.documentElement.hasAttribute("data-saving"));
}

// axe-core's findings in the page as it is now, of every impact.
export async function axeFindings(page) {
  // Evaluated, not added as a script tag, which the page's policy refuses.
  if (!(await page.evaluate(() => Boolean(window.axe)))) {
    await page.evaluate(readFileSync(join(root, "web", "node_modules", "axe-core", "axe.min.js"), "utf8"));
  }
  const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ["violations"] }));
  return result.violations.map((v) => ({ impact: v.impact, text: `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}` }));
}

// axe-core's serious and critical findings in the page as it is now.
export async function seriousFindings(page) {
  return (await axeFindings(page)).filter((v) => v.impact === "serious" || v.impact === "critical").map((v) => v.text);
}
