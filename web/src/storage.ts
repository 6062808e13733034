// The program's files live in the origin-private file system, so they stay
// between visits. The core reads and writes them through Emscripten's file
// system in memory; this copies them in at start and carries every change
// out, one after the other: the working set through the core's set commit,
// each of its file operations done again here in the same order (a tab
// closed between two leaves what a crash leaves on a disk, which the next
// start settles), and any other changed file whole.
import type { EmscriptenFS } from "./core.js";

// Where the mirrored tree sits in Emscripten's file system.
export const STORAGE_ROOT = "/opfs";
export const PROGRAM_FOLDER = `${STORAGE_ROOT}/program`;
export const DEMO_RADIO_MEMORY = `${STORAGE_ROOT}/demo-radio/memory.bin`;
// The folder of the origin-private file system that holds the tree.
const OPFS_FOLDER = "corvane";
// The program folder's own files (the working set, its journal and
// temporaries) change only through the set commit.
const COMMITTED_FOLDER = PROGRAM_FOLDER.slice(STORAGE_ROOT.length + 1);
const WORKING_SET_SIZE = 10;

interface DirectoryEntries {
  entries(): AsyncIterableIterator<[string, FileSystemHandle]>;
}

interface MovableHandle {
  move?(destination: FileSystemDirectoryHandle, name: string): Promise<void>;
}

function sameBytes(a: Uint8Array | undefined, b: Uint8Array): boolean {
  if (!a || a.length !== b.length) return false;
  for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
  return true;
}

function committed(path: string): boolean {
  return path.startsWith(`${COMMITTED_FOLDER}/`) && !path.slice(COMMITTED_FOLDER.length + 1).includes("/");
}

// What the browser storage holds, read before the core is there (reading
// needs none of it, so it overlaps the core's loading): folders with null.
export type StoredTree = Map<string, Uint8Array | null>;
// The tree, or why the browser keeps nothing for the page.
export type Stored = { tree: StoredTree } | { refused: string };

async function storageRoot(): Promise<FileSystemDirectoryHandle> {
  if (!navigator.storage?.getDirectory) throw new Error("this browser has no storage for pages");
  const top = await navigator.storage.getDirectory();
  return top.getDirectoryHandle(OPFS_FOLDER, { create: true });
}

async function readTree(dir: FileSystemDirectoryHandle, relative: string, out: StoredTree): Promise<StoredTree> {
  for await (const [name, handle] of (dir as unknown as DirectoryEntries).entries()) {
    const path = relative ? `${relative}/${name}` : name;
    if (handle.kind === "directory") {
      out.set(path, null);
      await readTree(handle as FileSystemDirectoryHandle, path, out);
    } else {
      out.set(path, new Uint8Array(await (await (handle as FileSystemFileHandle).getFile()).arrayBuffer()));
    }
  }
  return out;
}

async function folderHandle(root: FileSystemDirectoryHandle, parts: string[], create: boolean) {
  let dir = root;
  for (const part of parts) dir = await dir.getDirectoryHandle(part, { create });
  return dir;
}

function split(path: string): [string[], string] {
  const parts = path.split("/");
  const name = parts.pop() as string;
  return [parts, name];
}

async function writeWhole(root: FileSystemDirectoryHandle, path: string, bytes: Uint8Array): Promise<void> {
  const [parts, name] = split(path);
  const file = await (await folderHandle(root, parts, true)).getFileHandle(name, { create: true });
  // The file takes the new bytes when the stream closes, all at once.
  const writable = await file.createWritable();
  await writable.write(bytes as Uint8Array<ArrayBuffer>);
  await writable.close();
}

async function removeFile(root: FileSystemDirectoryHandle, path: string): Promise<void> {
  const [parts, name] = split(path);
  try {
    await (await folderHandle(root, parts, false)).removeEntry(name);
  } catch (error) {
    if (!(error instanceof DOMException && error.name === "NotFoundError")) throw error;
  }
}

async function rename(root: FileSystemDirectoryHandle, from: string, to: string): Promise<void> {
  const [fromParts, fromName] = split(from);
  const [toParts, toName] = split(to);
  const source = await (await folderHandle(root, fromParts, false)).getFileHandle(fromName);
  const target = await folderHandle(root, toParts, true);
  const movable = source as unknown as MovableHandle;
  if (movable.move) {
    await movable.move(target, toName);
    return;
  }
  // Without move: the target whole, then the source gone; the journal
  // still names the source until both are done.
  await writeWhole(root, to, new Uint8Array(await (await source.getFile()).arrayBuffer()));
  await removeFile(root, from);
}

// One set commit's file operations (or several made by one action), below STORAGE_ROOT.
interface Operation {
  op: string;
  path: string;
  to: string;
  bytes: Uint8Array;
}
interface Unit {
  operations: Operation[];
  // Every working file renamed into place: older saves of the working set alone add nothing.
  whole: boolean;
  // Only whole saves of the working set (no start-up recovery, no other file): may be left out.
  replaceable: boolean;
}

export class OriginStorage {
  // The stored tree, or why there is none.
  static async read(): Promise<Stored> {
    try {
      return { tree: await readTree(await storageRoot(), "", new Map()) };
    } catch (error) {
      return { refused: error instanceof Error ? error.message : String(error) };
    }
  }

  // What the browser storage holds, by path below STORAGE_ROOT (the working set aside).
  private readonly stored = new Map<string, Uint8Array>();
  private pending: Promise<void> = Promise.resolve();
  private lastProblem = "";
  private refusal = "";
  private keeping = true;
  private openUnit: Unit | null = null;
  private readonly waiting: Unit[] = [];
  private queued = 0;
  private finished = 0;
  // Why the last set did not reach the storage, until a whole set does.
  private setProblem = "";

  constructor(private readonly fs: EmscriptenFS) {}

  // Copies the stored tree (read now unless given) into memory.
  async load(stored?: Promise<Stored>): Promise<void> {
    this.fs.mkdirTree(PROGRAM_FOLDER);
    this.fs.mkdirTree(DEMO_RADIO_MEMORY.slice(0, DEMO_RADIO_MEMORY.lastIndexOf("/")));
    const read = await (stored ?? OriginStorage.read());
    if ("refused" in read) {
      this.refusal = read.refused;
      this.keeping = false;
      return;
    }
    for (const [path, bytes] of read.tree) {
      if (!bytes) {
        this.fs.mkdirTree(`${STORAGE_ROOT}/${path}`);
        continue;
      }
      this.fs.writeFile(`${STORAGE_ROOT}/${path}`, bytes);
      if (!committed(path)) this.stored.set(path, bytes);
    }
  }

  // Why the browser keeps nothing between visits ("" when it does).
  refused(): string {
    return this.refusal;
  }

  // Another tab keeps the files: this one only reads them.
  stopKeeping(): void {
    this.keeping = false;
  }

  keeps(): boolean {
    return this.keeping;
  }

  // Runs after each flush's own writes (an open folder takes its copy then).
  afterFlush: () => Promise<void> = () => Promise.resolve();
  // Told once when the browser refuses to keep the files (storage full,
  // storage cleared meanwhile), and again only for a different reason.
  onProblem: (text: string) => void = () => undefined;

  // One file operation of a set commit, as the core did it in memory. The
  // operations of one action go out together once it has returned.
  mirror(op: string, path: string, to: string, bytes: Uint8Array): void {
    if (!this.keeping || !path.startsWith(`${STORAGE_ROOT}/`)) return;
    const operation = { op, path: path.slice(STORAGE_ROOT.length + 1), to: to.slice(STORAGE_ROOT.length + 1), bytes };
    if (!this.openUnit) {
      const unit: Unit = { operations: [], whole: false, replaceable: op === "write" };
      this.openUnit = unit;
      queueMicrotask(() => {
        this.openUnit = null;
        const targets = new Set(unit.operations.filter((o) => o.op === "rename" && committed(o.to)).map((o) => o.to));
        unit.whole = targets.size >= WORKING_SET_SIZE;
      });
      this.waiting.push(unit);
      void this.enqueue(() => this.runUnit(unit));
    }
    this.openUnit.operations.push(operation);
    if (!committed(operation.path) || (operation.to && !committed(operation.to))) this.openUnit.replaceable = false;
  }

  // Writes every other file that changed since the last flush; all writes run one after the other.
  flush(): Promise<void> {
    if (!this.keeping) return Promise.resolve();
    return this.enqueue(() => this.writeChanged().then(() => this.afterFlush()));
  }

  // Every write asked for so far is done; "" or why the working set as
  // shown is not in the storage.
  async settled(): Promise<string> {
    let seen: Promise<void>;
    do {
      seen = this.pending;
      await seen;
    } while (seen !== this.pending);
    return this.setProblem;
  }

  // Why the last flush failed ("" when it did not).
  problem(): string {
    return this.lastProblem;
  }

  // Every file below a folder of the tree, as paths below STORAGE_ROOT.
  listFiles(folder: string): string[] {
    const full = `${STORAGE_ROOT}/${folder}`;
    if (!this.fs.analyzePath(full).exists) return [];
    return this.fs
      .readdir(full)
      .filter((name) => name !== "." && name !== ".." && !this.fs.isDir(this.fs.stat(`${full}/${name}`).mode))
      .sort()
      .map((name) => `${folder}/${name}`);
  }

  readFile(path: string): Uint8Array<ArrayBuffer> {
    return this.fs.readFile(`${STORAGE_ROOT}/${path}`);
  }

  // The page tells when its writes are done: data-saved counts finished
  // writes, data-saving is there while any is waiting, and "corvane-saved"
  // fires each time the last one ends.
  private enqueue(task: () => Promise<void>): Promise<void> {
    ++this.queued;
    this.showSaving();
    this.pending = this.pending
      .then(task)
      .then(() => {
        this.lastProblem = "";
      })
      .catch((error: unknown) => {
        const text = String(error);
        if (text !== this.lastProblem) this.onProblem(text);
        this.lastProblem = text;
      })
      .finally(() => {
        ++this.finished;
        this.showSaving();
      });
    return this.pending;
  }

  private showSaving(): void {
    const root = document.documentElement;
    root.dataset.saved = String(this.finished);
    root.toggleAttribute("data-saving", this.finished < this.queued);
    if (this.finished === this.queued) document.dispatchEvent(new Event("corvane-saved"));
  }

  private async runUnit(unit: Unit): Promise<void> {
    this.waiting.splice(this.waiting.indexOf(unit), 1);
    // A whole set right behind makes this one moot: leaving it out keeps
    // the storage from falling behind quick steps, and no set is skipped
    // that another save builds on.
    if (unit.replaceable && this.waiting[0]?.whole) return;
    try {
      const root = await storageRoot();
      for (const { op, path, to, bytes } of unit.operations) {
        if (op === "write" || op === "journal") await writeWhole(root, path, bytes);
        else if (op === "rename") await rename(root, path, to);
        else if (op === "remove") await removeFile(root, path);
      }
      if (unit.whole) this.setProblem = "";
    } catch (error) {
      // The rest of this set stays undone; its journal, when written, is
      // finished at the next start, else the old set stays.
      this.setProblem = String(error);
      throw error;
    }
  }

  private memoryFiles(relative: string, out: string[]): string[] {
    const full = relative ? `${STORAGE_ROOT}/${relative}` : STORAGE_ROOT;
    for (const name of this.fs.readdir(full)) {
      if (name === "." || name === "..") continue;
      const path = relative ? `${relative}/${name}` : name;
      if (this.fs.isDir(this.fs.stat(`${STORAGE_ROOT}/${path}`).mode)) this.memoryFiles(path, out);
      else out.push(path);
    }
    return out;
  }

  private async writeChanged(): Promise<void> {
    const root = await storageRoot();
    const present = new Set<string>();
    for (const path of this.memoryFiles("", [])) {
      if (committed(path)) continue;
      present.add(path);
      const bytes = this.fs.readFile(`${STORAGE_ROOT}/${path}`);
      if (sameBytes(this.stored.get(path), bytes)) continue;
      await writeWhole(root, path, bytes);
      this.stored.set(path, bytes.slice());
    }
    // Files the core removed (old backups beyond the kept number) go here too.
    for (const path of [...this.stored.keys()]) {
      if (present.has(path)) continue;
      await removeFile(root, path).catch(() => undefined);
      this.stored.delete(path);
    }
  }
}
