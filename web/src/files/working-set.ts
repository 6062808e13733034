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

// Where another working set waits for the core to take it (outside the
// stored tree, so nothing of it is kept unless the core takes it).
const INCOMING_FOLDER = "/incoming/working-set";

// Lays another working set out for the core (FileCommands' TakeWorkingSet):
// a file the set lacks is created with defaults there, as the desktop would.
export function stageWorkingSet(fs: EmscriptenFS, files: ReadonlyMap<string, Uint8Array>): string {
  fs.mkdirTree(INCOMING_FOLDER);
  for (const name of fs.readdir(INCOMING_FOLDER)) {
    const path = `${INCOMING_FOLDER}/${name}`;
    if (name !== "." && name !== ".." && !fs.isDir(fs.stat(path).mode)) fs.unlink(path);
  }
  for (const [name, bytes] of files) fs.writeFile(`${INCOMING_FOLDER}/${name}`, bytes);
  return INCOMING_FOLDER;
}

// The working files a set lacks, in their usual order.
export function missingWorkingFiles(files: ReadonlyMap<string, Uint8Array>): string[] {
  return WORKING_SET_FILES.filter((name) => !files.has(name));
}
