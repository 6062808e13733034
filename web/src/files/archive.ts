// The working set as one .zip archive, for browsers without folder access.
// fflate (loaded when first needed) packs and unpacks.
import type { EmscriptenFS } from "../core.js";
import { fflate, type Fflate } from "./fflate.js";
import { WORKING_SET_FILES, readWorkingFile } from "./working-set.js";

// The working files are a few kilobytes; anything far larger is no working set.
const MAX_FILE_BYTES = 1024 * 1024;

const KNOWN = new Set<string>(WORKING_SET_FILES);

function baseName(path: string): string {
  return path.slice(path.lastIndexOf("/") + 1);
}

export async function packWorkingSet(fs: EmscriptenFS): Promise<Uint8Array> {
  const { zipSync } = await fflate();
  const entries: Fflate.Zippable = {};
  for (const name of WORKING_SET_FILES) {
    const bytes = readWorkingFile(fs, name);
    if (bytes) entries[name] = bytes;
  }
  return zipSync(entries, { level: 6 });
}

// The working files in an archive, at its top or in one folder; other
// entries are skipped unread. Throws when it is no zip archive.
export async function unpackWorkingSet(bytes: Uint8Array): Promise<Map<string, Uint8Array>> {
  const { unzipSync } = await fflate();
  const entries = unzipSync(bytes, {
    filter: (file) => KNOWN.has(baseName(file.name)) && file.name.split("/").length <= 2 && file.originalSize <= MAX_FILE_BYTES,
  });
  const files = new Map<string, Uint8Array>();
  // The shallowest entry of a name wins.
  const paths = Object.keys(entries).sort((a, b) => a.split("/").length - b.split("/").length);
  for (const path of paths) {
    const name = baseName(path);
    if (!files.has(name)) files.set(name, entries[path] as Uint8Array);
  }
  return files;
}
