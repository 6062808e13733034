// "Open Folder...": a desktop installation's folder, chosen through the File
// System Access API. Its working files replace the page's (through the
// core); from then on each save writes every changed working file back there.
import type { EmscriptenFS } from "../core.js";
import { WORKING_SET_FILES, readWorkingFile, sameBytes } from "./working-set.js";

interface DirectoryPicker {
  showDirectoryPicker(options: { id?: string; mode: "read" | "readwrite" }): Promise<FileSystemDirectoryHandle>;
}

export function canOpenFolders(): boolean {
  return typeof (globalThis as Partial<DirectoryPicker>).showDirectoryPicker === "function";
}

// The browser's folder chooser; null when the user cancels it.
export async function chooseFolder(): Promise<FileSystemDirectoryHandle | null> {
  try {
    return await (globalThis as unknown as DirectoryPicker).showDirectoryPicker({ id: "corvane-folder", mode: "readwrite" });
  } catch (error) {
    if (error instanceof DOMException && error.name === "AbortError") return null;
    throw error;
  }
}

async function readIfPresent(dir: FileSystemDirectoryHandle, name: string): Promise<Uint8Array | undefined> {
  try {
    const handle = await dir.getFileHandle(name);
    return new Uint8Array(await (await handle.getFile()).arrayBuffer());
  } catch (error) {
    if (error instanceof DOMException && error.name === "NotFoundError") return undefined;
    throw error;
  }
}

export class OpenFolder {
  // What the folder holds as far as the page knows: read or last written.
  private readonly known = new Map<string, Uint8Array>();

  constructor(private readonly dir: FileSystemDirectoryHandle, private readonly fs: EmscriptenFS) {}

  get name(): string {
    return this.dir.name;
  }

  // The folder's working files, to take in place of the page's.
  async readIn(): Promise<Map<string, Uint8Array>> {
    const files = new Map<string, Uint8Array>();
    for (const name of WORKING_SET_FILES) {
      const bytes = await readIfPresent(this.dir, name);
      if (bytes) files.set(name, bytes);
    }
    this.known.clear();
    for (const [name, bytes] of files) this.known.set(name, bytes);
    return files;
  }

  // Writes each working file that differs from what the folder holds, whole.
  async writeBack(): Promise<void> {
    for (const name of WORKING_SET_FILES) {
      const bytes = readWorkingFile(this.fs, name);
      if (!bytes || sameBytes(this.known.get(name), bytes)) continue;
      try {
        const handle = await this.dir.getFileHandle(name, { create: true });
        const writable = await handle.createWritable();
        await writable.write(bytes as Uint8Array<ArrayBuffer>);
        await writable.close();
      } catch (error) {
        throw new Error(`${name} could not be written to the folder ${this.dir.name}: ${error instanceof Error ? error.message : String(error)}`);
      }
      this.known.set(name, bytes.slice());
    }
  }
}
