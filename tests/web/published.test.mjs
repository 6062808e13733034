// The published folder (scripts/publish-web.sh) as a host serves it: under a
// path prefix by a plain static server (python's http.server), with nothing
// fetched from another origin, its content-security-policy kept, its files
// checked by SHA256SUMS and precompressed beside themselves; and offline.
import assert from "node:assert/strict";
import { execFileSync, spawn } from "node:child_process";
import { readFileSync, readdirSync, statSync } from "node:fs";
import { join, relative } from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";
import { brotliDecompressSync, gunzipSync } from "node:zlib";
import { enterCode, launchBrowser, openProgram, removeDir, takeMessage, tempDir } from "./harness.mjs";

const root = fileURLToPath(new URL("../..", import.meta.url));
const PREFIX = "corvane";
let scratch;
let folder;
let browser;

function filesOf(dir) {
  return readdirSync(dir).flatMap((name) => {
    const path = join(dir, name);
    return statSync(path).isDirectory() ? filesOf(path) : [relative(folder, path)];
  });
}

// python3 -m http.server over the scratch folder, so the site sits under
// /corvane/; `log` collects the requests it answered ("GET /path 200").
async function startServer() {
  const server = spawn("python3", ["-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", scratch], { stdio: ["ignore", "pipe", "pipe"] });
  const log = [];
  server.stderr.on("data", (d) => {
    for (const m of String(d).matchAll(/"(GET [^ ]+) HTTP\/[\d.]+" (\d+)/g)) log.push(`${m[1]} ${m[2]}`);
  });
  const port = await new Promise((resolve, reject) => {
    let out = "";
    server.stdout.on("data", (d) => {
      out += d;
      const found = /port (\d+)/.exec(out);
      if (found) resolve(Number(found[1]));
    });
    server.on("exit", () => reject(new Error(`the static server ended: ${out}`)));
  });
  return { url: `http://localhost:${port}/${PREFIX}/`, log, stop: () => server.kill() };
}

before(() => {
  scratch = tempDir("published");
  folder = join(scratch, PREFIX);
  execFileSync(join(root, "scripts", "publish-web.sh"), [folder], { stdio: ["ignore", "ignore", "inherit"] });
});

after(async () => {
  await browser?.close();
  removeDir(scratch);
});

test("the folder: every file precompressed beside itself, SHA256SUMS of all, the headers example with the page's policy", () => {
  const files = filesOf(folder);
  const served = files.filter((f) => !/\.(br|gz)$/.test(f) && f !== "SHA256SUMS" && f !== "_headers");
  assert.ok(served.includes("index.html") && served.includes("sw.js") && served.some((f) => f.endsWith(".wasm")));
  for (const file of served) {
    const bytes = readFileSync(join(folder, file));
    assert.deepEqual(brotliDecompressSync(readFileSync(join(folder, `${file}.br`))), bytes, `${file}.br`);
    assert.deepEqual(gunzipSync(readFileSync(join(folder, `${file}.gz`))), bytes, `${file}.gz`);
  }
  const sums = readFileSync(join(folder, "SHA256SUMS"), "utf8").trim().split("\n").map((line) => line.slice(66));
  assert.deepEqual(sums, files.filter((f) => f !== "SHA256SUMS").sort());
  execFileSync("sha256sum", ["--quiet", "--check", "SHA256SUMS"], { cwd: folder });

  const html = readFileSync(join(folder, "index.html"), "utf8");
  const policy = /http-equiv="Content-Security-Policy" content="([^"]*)"/.exec(html)[1];
  assert.match(policy, /default-src 'self'/);
  assert.match(policy, /script-src 'self' 'wasm-unsafe-eval'/);
  assert.doesNotMatch(policy, /'unsafe-inline'|'unsafe-eval'|https?:|\*/);
  const headers = readFileSync(join(folder, "_headers"), "utf8");
  assert.ok(headers.includes(`Content-Security-Policy: ${policy}; frame-ancestors 'none'`));
  assert.match(headers, /\/assets\/\*\n {2}Cache-Control: public, max-age=31536000, immutable/);
  for (const path of ["/index.html", "/sw.js"]) assert.ok(headers.includes(`${path}\n  Cache-Control: no-cache`), path);
  // Only index.html, the worker, the manifest and the icons keep their names; the rest is named by content.
  for (const file of served.filter((f) => f.startsWith("assets/"))) assert.match(file, /\.[0-9A-Za-z]{8}\.(js|css|wasm)$/);
});

test(`served under /${PREFIX}/ by a plain static server: the access code, the frame, the build id in About, no other origin, the policy kept; then offline`, async () => {
  browser = await launchBrowser();
  const server = await startServer();
  const requests = [];
  const wasmTypes = [];
  const program = await openProgram(browser, server, {}, {
    watch: (context) => {
      context.on("request", (r) => requests.push(r.url()));
      context.on("response", (r) => { if (r.url().endsWith(".wasm")) wasmTypes.push(r.headers()["content-type"]); });
    },
  });
  const { page, context, errors } = program;

  // The first visit: each file sent once (the service worker revalidates the
  // others, 304), the wasm as application/wasm, so it compiles while it streams.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForLoadState("networkidle");
  const sent = server.log.filter((line) => line.endsWith(" 200"));
  assert.deepEqual(sent.filter((line, i) => sent.indexOf(line) !== i), []);
  assert.equal(sent.filter((line) => line.includes(".wasm")).length, 1);
  assert.deepEqual(sent.filter((line) => /xlsx|fflate/.test(line)), []);
  assert.ok(wasmTypes.length >= 1 && wasmTypes.every((type) => type === "application/wasm"), wasmTypes.join());

  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  assert.equal(await page.textContent("[data-row='1'][data-col='2']"), "446.006250");

  // About names the commit the folder was built from.
  await page.click("[data-name=information]");
  await page.click("[data-name=help]");
  const [commit, date] = execFileSync("git", ["-C", root, "log", "-1", "--format=%H %cs"], { encoding: "utf8" }).trim().split(" ");
  const shown = await page.textContent("#frmHelp [data-name=BuildId]");
  assert.match(shown, new RegExp(`^Build: ${commit.slice(0, 12)}(\\+changes)? ${date}$`));
  assert.ok(readFileSync(join(folder, "index.html"), "utf8").includes(`<meta name="build-id" content="${shown.slice("Build: ".length)}">`));

  server.stop();
  await context.setOffline(true);
  await page.reload();
  await page.waitForSelector("#frmPassword[data-answering]:not([hidden])");
  await enterCode(page, "qzv");
  await page.waitForSelector("#MDIForm1:not([hidden])");
  assert.equal(await page.textContent("[data-row='1'][data-col='2']"), "446.006250");
  // The spreadsheet library is kept only once used with a network, and the message says so.
  await page.click("[data-name=mnuFile]");
  await page.click("[data-name=saveFile]");
  assert.match((await takeMessage(page)).text, /spreadsheet library could not be loaded \(with no network it is there only after/);

  assert.deepEqual(errors, []); // policy violations included
  const origin = new URL(server.url).origin;
  assert.deepEqual(requests.filter((url) => !url.startsWith(`${origin}/${PREFIX}/`)), []);
  await context.close();
});

test("opened from disk, the page says how to serve it", async () => {
  browser ??= await launchBrowser();
  const page = await browser.newPage();
  await page.goto(`file://${join(folder, "index.html")}`);
  const note = await page.waitForSelector("#file-note");
  assert.match(await note.textContent(), /needs a web server.*python3 -m http\.server/s);
  await page.close();
});
