// Lays out the site anew from the sources and the compiled core, so it holds
// nothing else:
//   index.html, sw.js, manifest.webmanifest, icons/   named as they are
//   assets/   every other file, named by a hash of its content (so a host may
//             keep them for good): the page's modules bundled by esbuild, the
//             style sheets, the core's script and wasm, the file-format libraries
// The page learns the names and the build id from a module "site.js" made
// here; the service worker gets the list of what it keeps and a version.
// Usage: node assemble-site.mjs SOURCE_DIR BUILD_DIR   (writes BUILD_DIR/site)
import { execFileSync } from "node:child_process";
import { createHash } from "node:crypto";
import { copyFileSync, mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from "node:fs";
import { basename, extname, join, relative, sep } from "node:path";

const [source, build] = process.argv.slice(2);
const web = join(source, "web");
const modules = join(web, "node_modules");
const site = join(build, "site");
const ASSETS = "assets";
const { build: bundle, transformSync } = await import(join(modules, "esbuild", "lib", "main.js"));

const digest = (bytes) => createHash("sha256").update(bytes).digest("hex");
const siteName = (path) => relative(site, path).split(sep).join("/");

function walk(dir, out = []) {
  for (const name of readdirSync(dir).sort()) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) walk(path, out);
    else out.push(path);
  }
  return out;
}

// FROM copied into assets/ as STEM.HASH.EXT, or BYTES under FROM's name; returns its site name.
function asset(from, stem = basename(from, extname(from)), bytes = readFileSync(from)) {
  const name = `${ASSETS}/${stem}.${digest(bytes).slice(0, 8)}${extname(from)}`;
  writeFileSync(join(site, name), bytes);
  return name;
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

// Bundles ENTRY (and what it imports, in chunks) into assets/, minified, with
// "site.js" answered by SITE_MODULE; returns the site name of the entry's output.
async function bundled(entry, { format = "esm", siteModule = "" } = {}) {
  const siteJs = {
    name: "site",
    setup(b) {
      b.onResolve({ filter: /(^|\/)site\.js$/ }, () => ({ path: "site", namespace: "site" }));
      b.onLoad({ filter: /.*/, namespace: "site" }, () => ({ contents: siteModule, loader: "js" }));
    },
  };
  const result = await bundle({
    entryPoints: [entry], absWorkingDir: source, bundle: true, format, splitting: format === "esm", minify: true, target: "es2022",
    outdir: join(site, ASSETS), entryNames: "[name].[hash]", chunkNames: "[name].[hash]",
    metafile: true, logLevel: "warning", legalComments: "none", plugins: [siteJs],
  });
  const [name] = Object.entries(result.metafile.outputs).find(([, o]) => o.entryPoint && join(source, o.entryPoint) === entry);
  return { output: siteName(join(source, name)) };
}

rmSync(site, { recursive: true, force: true });
mkdirSync(join(site, ASSETS), { recursive: true });
mkdirSync(join(site, "icons"));
const icons = join(source, "src", "app", "resources", "icons");
for (const name of readdirSync(icons).filter((n) => n.endsWith(".svg"))) copyFileSync(join(icons, name), join(site, "icons", name));
copyFileSync(join(web, "manifest.webmanifest"), join(site, "manifest.webmanifest"));

const names = {
  // Emscripten only strips the blanks of its script; esbuild shortens the names too.
  CORE_SCRIPT: asset(join(build, "core", "corvane.js"), "corvane", transformSync(readFileSync(join(build, "core", "corvane.js"), "utf8"),
    { minify: true, format: "esm", target: "es2022", legalComments: "none" }).code),
  CORE_WASM: asset(join(build, "core", "corvane.wasm")),
  SPREADSHEET_LIBRARY: asset(join(modules, "@e965", "xlsx", "dist", "xlsx.core.min.js"), "xlsx.core"),
  ZIP_LIBRARY: asset(join(modules, "fflate", "esm", "browser.js"), "fflate"),
};
const LATER = [names.SPREADSHEET_LIBRARY, names.ZIP_LIBRARY];
names.TICKER_WORKER = (await bundled(join(web, "src", "ticker-worker.ts"))).output;
const id = buildId();
const siteModule = `${Object.entries(names).map(([k, v]) => `export const ${k} = ${JSON.stringify(v)};`).join("\n")}
export const BUILD_ID = ${JSON.stringify(id)};
export function siteUrl(name) { return new URL(name, new URL("../", import.meta.url)).href; }
`;
// Bundled, the page's modules all sit in assets/, so site.js's own address gives the site's root.
const page = await bundled(join(web, "src", "main.ts"), { siteModule });
const fileNote = (await bundled(join(web, "src", "file-note.ts"), { format: "iife" })).output;
// Both style sheets in one, one request.
const style = asset(join(web, "style.css"), "style", Buffer.concat(["style.css", "forms.css"].map((name) => readFileSync(join(web, name)))));

// index.html names only the style and the entry: hints for the core and the
// program's chunks made the access-code window wait behind them (measured
// in bench/web_bench.mjs); main.ts asks for them once the window shows.
const html = readFileSync(join(web, "index.html.in"), "utf8")
  .replace("@STYLE@", style)
  .replace("@FILE_NOTE@", fileNote)
  .replace("@MAIN@", page.output)
  .replace("@BUILD_ID@", id);
writeFileSync(join(site, "index.html"), html);

// Last: the service worker, with every file but itself in its version.
const SW = "sw.js";
const files = walk(site).map(siteName).filter((name) => name !== SW);
const version = createHash("sha256");
for (const name of files) version.update(name).update(readFileSync(join(site, name)));
const sw = readFileSync(join(web, "offline", "sw.js"), "utf8")
  .replace("@VERSION@", version.digest("hex").slice(0, 16))
  .replace("@FILES@", JSON.stringify(["./", ...files.filter((n) => n !== "index.html" && !LATER.includes(n))]))
  .replace("@LATER@", JSON.stringify(LATER))
  .replace("@ASSETS@", JSON.stringify(`${ASSETS}/`));
writeFileSync(join(site, SW), sw);
console.log(`site assembled in ${site}: build ${id}, ${files.length + 1} files`);
