// Lays out the site anew from what the build compiled, so it holds nothing
// else: the page's modules (tsc's output for each source), style sheets,
// manifest and icons; the core and the file-format libraries under names
// carrying a hash of their content (so a host may keep them for good);
// js/site.js with those names and the build id; index.html; and the service
// worker with what it keeps and its version.
// Usage: node assemble-site.mjs SOURCE_DIR BUILD_DIR   (writes BUILD_DIR/site)
import { execFileSync } from "node:child_process";
import { createHash } from "node:crypto";
import { copyFileSync, mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from "node:fs";
import { basename, dirname, join, relative, sep } from "node:path";

const [source, build] = process.argv.slice(2);
const web = join(source, "web");
const page = join(build, "page");
const coreDir = join(build, "core");
const site = join(build, "site");
const modules = join(web, "node_modules");

// Hashed files: the name's last part before the extension is 8 hex digits.
const HASHED = /\.[0-9a-f]{8}\.[a-z]+$/;
// The service worker keeps these when first used instead of at the first visit.
const LATER = /^vendor\//;
// Modules the page imports only when needed (the ticker's worker starts it).
const NOT_PRELOADED = new Set(["js/ticker-worker.js", "js/file-note.js"]);

function digest(bytes) {
  return createHash("sha256").update(bytes).digest("hex");
}

function walk(dir, out = []) {
  for (const name of readdirSync(dir).sort()) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) walk(path, out);
    else out.push(path);
  }
  return out;
}

const siteName = (path) => relative(site, path).split(sep).join("/");

// Copies FROM to the site as DIR/STEM.HASH.EXT; returns the site-relative name.
function hashedCopy(from, dir, stem, ext) {
  const bytes = readFileSync(from);
  const name = `${stem}.${digest(bytes).slice(0, 8)}${ext}`;
  mkdirSync(join(site, dir), { recursive: true });
  copyFileSync(from, join(site, dir, name));
  return dir ? `${dir}/${name}` : name;
}

// The commit the site is built from and its date; "+changes" when the work
// tree differs from it. CORVANE_BUILD_ID overrides.
function buildId() {
  if (process.env.CORVANE_BUILD_ID) return process.env.CORVANE_BUILD_ID;
  try {
    const git = (...args) => execFileSync("git", ["-C", source, ...args], { encoding: "utf8", stdio: ["ignore", "pipe", "ignore"] }).trim();
    const [commit, date] = git("log", "-1", "--format=%H %cs").split(" ");
    const changed = git("status", "--porcelain", "--untracked-files=no") !== "";
    return `${commit.slice(0, 12)}${changed ? "+changes" : ""} ${date}`;
  } catch {
    return "unknown";
  }
}

function copyInto(from, dir) {
  mkdirSync(join(site, dir), { recursive: true });
  copyFileSync(from, join(site, dir, basename(from)));
}

rmSync(site, { recursive: true, force: true });
for (const ts of walk(join(web, "src")).filter((path) => path.endsWith(".ts") && !path.endsWith(".d.ts"))) {
  const module = relative(join(web, "src"), ts).replace(/\.ts$/, ".js");
  copyInto(join(page, module), join("js", dirname(module)));
}
for (const name of ["style.css", "forms.css", "manifest.webmanifest"]) copyInto(join(web, name), "");
const icons = join(source, "src", "app", "resources", "icons");
for (const name of readdirSync(icons).filter((n) => n.endsWith(".svg"))) copyInto(join(icons, name), "icons");

const files = {
  CORE_SCRIPT: hashedCopy(join(coreDir, "corvane.js"), "", "corvane", ".js"),
  CORE_WASM: hashedCopy(join(coreDir, "corvane.wasm"), "", "corvane", ".wasm"),
  SPREADSHEET_LIBRARY: hashedCopy(join(modules, "@e965", "xlsx", "dist", "xlsx.core.min.js"), "vendor", "xlsx.core.min", ".js"),
  ZIP_LIBRARY: hashedCopy(join(modules, "fflate", "esm", "browser.js"), "vendor", "fflate", ".js"),
};
const id = buildId();
writeFileSync(join(site, "js", "site.js"),
  `// Written by assemble-site.mjs.\n${Object.entries(files).map(([k, v]) => `export const ${k} = ${JSON.stringify(v)};`).join("\n")}\n` +
  `export const BUILD_ID = ${JSON.stringify(id)};\n`);

// index.html: every module announced, so the browser fetches them at once
// instead of one import level after the other; the core's script and wasm too.
const preloads = walk(join(site, "js")).map(siteName).filter((name) => !NOT_PRELOADED.has(name))
  .map((name) => `<link rel="modulepreload" href="${name}">`);
const html = readFileSync(join(web, "index.html.in"), "utf8")
  .replace("@CORE_SCRIPT@", files.CORE_SCRIPT)
  .replace("@CORE_WASM@", files.CORE_WASM)
  .replace("@MODULE_PRELOADS@", preloads.join("\n"));
writeFileSync(join(site, "index.html"), html);

// Last: the service worker, with every file but itself in its version.
const SW = "sw.js";
const all = walk(site).filter((path) => siteName(path) !== SW);
const version = createHash("sha256");
for (const path of all) version.update(siteName(path)).update(readFileSync(path));
const names = all.map(siteName);
const sw = readFileSync(join(web, "offline", "sw.js"), "utf8")
  .replace("@VERSION@", version.digest("hex").slice(0, 16))
  .replace("@FILES@", JSON.stringify(["./", ...names.filter((n) => !LATER.test(n))]))
  .replace("@LATER@", JSON.stringify(names.filter((n) => LATER.test(n))))
  .replace("@HASHED@", JSON.stringify(names.filter((n) => HASHED.test(basename(n)))));
writeFileSync(join(site, SW), sw);
console.log(`site assembled in ${site}: build ${id}, ${names.length + 1} files`);
