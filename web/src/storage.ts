// The program's files live in the origin-private file system, so they stay
// between visits. The core reads and writes them through Emscripten's file
// system in memory; this copies them in at start and writes every changed
// file back at each save point.
import type { EmscriptenFS } from "./core.js";

// Where the mirrored tree sits in Emscripten's file system.
export const STORAGE_ROOT = "/opfs";
export const PROGRAM_FOLDER = `${STORAGE_ROOT}/program`;
export const DEMO_RADIO_MEMORY = `${STORAGE_ROOT}/demo-radio/memory.bin`;
// The folder of the origin-private file system that holds the tree.
const OPFS_FOLDER = "corvane";

interface DirectoryEntries {
  entries(): AsyncIterableIterator<[string, FileSystemHandle]>;
}

function sameBytes(a: Uint8Array | undefined, b: Uint8Array): boolean {
  if (!a || a.length !== b.length) return false;
  for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
  return true;
}

// What the browser storage holds, read before the core is there (reading
// needs none of it, so it overlaps the core's loading): folders with null.
export type StoredTree = Map<string, Uint8Array | null>;

async function storageRoot(): Promise<FileSystemDirectoryHandle | null> {
  if (!navigator.storage?.getDirectory) return null;
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

export class OriginStorage {
  // The stored tree; an origin without storage has an empty one.
  static async read(): Promise<StoredTree> {
    const root = await storageRoot();
    return root ? readTree(root, "", new Map()) : new Map();
  }

  // What the browser storage holds, by path below STORAGE_ROOT.
  private readonly stored = new Map<string, Uint8Array>();
  private pending: Promise<void> = Promise.resolve();
  private lastProblem = "";

  constructor(private readonly fs: EmscriptenFS) {}

  // Copies the stored tree (read now unless given) into memory.
  async load(tree?: Promise<StoredTree>): Promise<void> {
    this.fs.mkdirTree(PROGRAM_FOLDER);
    this.fs.mkdirTree(DEMO_RADIO_MEMORY.slice(0, DEMO_RADIO_MEMORY.lastIndexOf("/")));
    for (const [path, bytes] of await (tree ?? OriginStorage.read())) {
      if (!bytes) {
        this.fs.mkdirTree(`${STORAGE_ROOT}/${path}`);
        continue;
      }
      this.fs.writeFile(`${STORAGE_ROOT}/${path}`, bytes);
      this.stored.set(path, bytes);
    }
  }

  // Runs after each flush's own writes (an open folder takes its copy then).
  afterFlush: () => Promise<void> = () => Promise.resolve();
  // Told once when the browser refuses to keep the files (storage full,
  // storage cleared meanwhile), and again only for a different reason.
  onProblem: (text: string) => void = () => undefined;

  // Writes every file that changed since the last flush; flushes run one after the other.
  flush(): Promise<void> {
    this.pending = this.pending.then(() => this.writeChanged()).then(() => this.afterFlush()).catch((error: unknown) => {
      const text = String(error);
      if (text !== this.lastProblem) this.onProblem(text);
      this.lastProblem = text;
    });
    return this.pending;
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

  private root(): Promise<FileSystemDirectoryHandle | null> {
    return storageRoot();
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
    const root = await this.root();
    if (!root) return;
    const present = new Set<string>();
    for (const path of this.memoryFiles("", [])) {
      present.add(path);
      const bytes = this.fs.readFile(`${STORAGE_ROOT}/${path}`);
      if (sameBytes(this.stored.get(path), bytes)) continue;
      const file = await this.fileHandle(root, path, true);
      const writable = await file.createWritable();
      await writable.write(bytes);
      await writable.close();
      this.stored.set(path, bytes.slice());
    }
    // Files the core removed (old backups beyond the kept number) go here too.
    for (const path of [...this.stored.keys()]) {
      if (present.has(path)) continue;
      const parts = path.split("/");
      const name = parts.pop() as string;
      const folder = await this.folderHandle(root, parts, false).catch(() => null);
      if (folder) await folder.removeEntry(name).catch(() => undefined);
      this.stored.delete(path);
    }
    this.lastProblem = "";
  }

  private async folderHandle(root: FileSystemDirectoryHandle, parts: string[], create: boolean) {
    let dir = root;
    for (const part of parts) dir = await dir.getDirectoryHandle(part, { create });
    return dir;
  }

  private async fileHandle(root: FileSystemDirectoryHandle, path: string, create: boolean) {
    const parts = path.split("/");
    const name = parts.pop() as string;
    const dir = await this.folderHandle(root, parts, create);
    return dir.getFileHandle(name, { create });
  }
}
