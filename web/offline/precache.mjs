// Writes the service worker into the built site: its template with the list
// of every site file and a version hashed from their contents.
// Usage: node precache.mjs TEMPLATE SITE_DIR
import { createHash } from "node:crypto";
import { readFileSync, readdirSync, statSync, writeFileSync } from "node:fs";
import { join, relative, sep } from "node:path";

const [template, site] = process.argv.slice(2);
const OUTPUT = "sw.js";

function walk(dir, out) {
  for (const name of readdirSync(dir).sort()) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) walk(path, out);
    else out.push(path);
  }
  return out;
}

const files = walk(site, []).filter((path) => relative(site, path) !== OUTPUT);
const hash = createHash("sha256");
const urls = ["./"];
for (const path of files) {
  const url = relative(site, path).split(sep).join("/");
  hash.update(url).update(readFileSync(path));
  urls.push(url === "index.html" ? "index.html" : url);
}
const text = readFileSync(template, "utf8")
  .replace("@VERSION@", hash.digest("hex").slice(0, 16))
  .replace("@FILES@", JSON.stringify(urls));
writeFileSync(join(site, OUTPUT), text);
