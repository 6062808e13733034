// The ten files a desktop installation keeps beside the program: what
// "Open Folder..." and the working-set archive carry, byte for byte.
import type { EmscriptenFS } from "../core.js";
import { PROGRAM_FOLDER } from "../storage.js";

export const WORKING_SET_FILES = [
  "Port.txt", "Group.txt", "Rx_Freq.txt", "Tx_Freq.txt", "Tone.txt", "Scan.txt", "Band.txt", "Power.txt", "Scr.txt", "Comp.txt",
] as const;

export function sameBytes(a: Uint8Array | undefined, b: Uint8Array | undefined): boolean {
  if (!a || !b || a.length !== b.length) return false;
  for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
  return true;
}

// The page's own copy of a working file, or undefined when there is none.
export function readWorkingFile(fs: EmscriptenFS, name: string): Uint8Array | undefined {
  const path = `${PROGRAM_FOLDER}/${name}`;
  return fs.analyzePath(path).exists ? fs.readFile(path) : undefined;
}

// Puts another working set in place of the page's: a file the set lacks is
// removed, so the core recreates it with defaults as the desktop would.
export function replaceWorkingSet(fs: EmscriptenFS, files: ReadonlyMap<string, Uint8Array>): void {
  for (const name of WORKING_SET_FILES) {
    const path = `${PROGRAM_FOLDER}/${name}`;
    const bytes = files.get(name);
    if (bytes) fs.writeFile(path, bytes);
    else if (fs.analyzePath(path).exists) fs.unlink(path);
  }
}
