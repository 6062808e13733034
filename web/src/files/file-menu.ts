// The File menu's exchange commands in the page: spreadsheets, CHIRP CSV,
// memory images, a desktop installation's folder and the working-set
// archive. The core does the work; this moves bytes between it, the file
// picker, downloads and the chosen folder.
import { Command } from "../commands.js";
import type { CoreModule, ProgramSession } from "../core.js";
import { packWorkingSet, unpackWorkingSet } from "./archive.js";
import { fileCore, type FileCore, type TakenFile } from "./file-core.js";
import { OpenFolder, canOpenFolders, chooseFolder } from "./folder.js";
import { WorkbookRefusal, readWorkbookCells, writeWorkbook, type WorkbookReading } from "./spreadsheet.js";
import { download, pickFile } from "./transfer.js";
import { missingWorkingFiles, stageWorkingSet } from "./working-set.js";

// What the commands need from the program around them.
export interface FileHost {
  readonly session: ProgramSession;
  message(text: string): Promise<void>;
  // The workspace changed as a read changes it: grid, caption, Mode menu.
  refresh(): void;
  // Another working set is in place: its port and status follow.
  reconnect(): void;
  flush(): Promise<void>;
  closeCellEditors(): void;
}

const WORKBOOK_TYPES = ".xlsx,.xls,.ods,application/vnd.openxmlformats-officedocument.spreadsheetml.sheet,application/vnd.ms-excel,application/vnd.oasis.opendocument.spreadsheet";
const XLSX_TYPE = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
const NO_FOLDER_ACCESS = "This browser cannot open a folder. Use Export Working Set... and Import Working Set... to carry the files.";

export class FileMenu {
  private readonly files: FileCore;
  private folder: OpenFolder | null = null;

  constructor(private readonly core: CoreModule, private readonly host: FileHost) {
    this.files = fileCore(core);
  }

  // Whether the command is one of these.
  static handles(command: Command): boolean {
    return FileMenu.ACTIONS.has(command);
  }

  private static readonly ACTIONS = new Map<Command, (menu: FileMenu) => Promise<void>>([
    [Command.OpenWorkbook, (menu) => menu.importSpreadsheet()],
    [Command.SaveWorkbook, (menu) => menu.exportSpreadsheet()],
    [Command.ExportCsv, (menu) => menu.exportCsv()],
    [Command.ImportCsv, (menu) => menu.importCsv()],
    [Command.OpenImage, (menu) => menu.openImage()],
    [Command.SaveImage, (menu) => menu.saveImage()],
    [Command.OpenFolder, (menu) => menu.openFolder()],
    [Command.ExportWorkingSet, (menu) => menu.exportWorkingSet()],
    [Command.ImportWorkingSet, (menu) => menu.importWorkingSet()],
  ]);

  async run(command: Command): Promise<void> {
    const action = FileMenu.ACTIONS.get(command);
    if (!action) return;
    this.host.closeCellEditors();
    try {
      await action(this);
    } catch (error) {
      await this.host.message(error instanceof Error ? error.message : String(error));
    }
  }

  // The open folder's name, or "" while the page works on its own files.
  folderName(): string {
    return this.folder?.name ?? "";
  }

  // After each save point: the open folder gets the changed working files.
  async afterFlush(): Promise<void> {
    await this.folder?.writeBack();
  }

  private async importSpreadsheet(): Promise<void> {
    const file = await pickFile(WORKBOOK_TYPES);
    if (!file) return;
    const reading: WorkbookReading = {
      limits: this.files.workbookLimits(),
      readLegacy: (bytes) => {
        const read = this.files.readLegacyWorkbookCells(bytes, file.name);
        if (!read.ok) throw new WorkbookRefusal(read.message);
        return read.cells;
      },
      odsSerial: (valueType, text) => this.files.odsSerial(valueType, text),
    };
    let cells;
    try {
      cells = await readWorkbookCells(file.bytes, file.name, reading);
    } catch (error) {
      const reason = error instanceof WorkbookRefusal ? error.message : `${file.name}: ${error instanceof Error ? error.message : String(error)}`;
      await this.host.message(`Import failed: ${reason}`);
      return;
    }
    await this.settle(this.files.importSheetCells(this.host.session, cells));
  }

  private async exportSpreadsheet(): Promise<void> {
    const bytes = await writeWorkbook(this.files.exportSheetCells(this.host.session));
    download("Corvane.xlsx", bytes, XLSX_TYPE);
  }

  private async exportCsv(): Promise<void> {
    const produced = this.files.exportChirpCsv(this.host.session);
    if (produced.ok) download("Corvane.csv", produced.bytes, "text/csv");
    if (produced.message) await this.host.message(produced.message);
  }

  private async importCsv(): Promise<void> {
    const file = await pickFile(".csv,text/csv");
    if (file) await this.settle(this.files.importChirpCsv(this.host.session, file.bytes, file.name));
  }

  private async openImage(): Promise<void> {
    const file = await pickFile(".img");
    if (!file) return;
    await this.settle(this.files.openImageFile(this.host.session, file.bytes, file.name));
  }

  private async saveImage(): Promise<void> {
    const produced = this.files.saveImageFile(this.host.session);
    if (!produced.ok) {
      await this.host.message(produced.message);
      return;
    }
    download("Corvane.img", produced.bytes, "application/octet-stream");
  }

  private async openFolder(): Promise<void> {
    if (!canOpenFolders()) {
      await this.host.message(NO_FOLDER_ACCESS);
      return;
    }
    const dir = await chooseFolder();
    if (!dir) return;
    const folder = new OpenFolder(dir, this.fs());
    const files = await folder.readIn();
    this.folder = folder;
    await this.takeWorkingSet(files);
  }

  // The set on screen: every step has already written it.
  private async exportWorkingSet(): Promise<void> {
    download("Corvane working set.zip", await packWorkingSet(this.fs()), "application/zip");
  }

  private async importWorkingSet(): Promise<void> {
    const file = await pickFile(".zip,application/zip");
    if (!file) return;
    let files;
    try {
      files = await unpackWorkingSet(file.bytes);
    } catch (error) {
      await this.host.message(`${file.name}: ${error instanceof Error ? error.message : String(error)}`);
      return;
    }
    // A set without all its files is no set: taking it would blank what it lacks.
    const missing = missingWorkingFiles(files);
    if (missing.length > 0) {
      await this.host.message(`${file.name}: the archive lacks ${missing.join(", ")}. Nothing was changed.`);
      return;
    }
    await this.takeWorkingSet(files);
  }

  // The core takes the set as a start on it would, and writes it in place of the page's as one.
  private async takeWorkingSet(files: ReadonlyMap<string, Uint8Array>): Promise<void> {
    const problem = this.files.takeWorkingSet(this.host.session, stageWorkingSet(this.fs(), files));
    this.host.refresh();
    this.host.reconnect();
    await this.host.flush();
    if (problem) await this.host.message(problem);
  }

  private async settle(taken: TakenFile): Promise<void> {
    if (taken.changed) this.host.refresh();
    await this.host.flush();
    if (taken.message) await this.host.message(taken.message);
  }

  private fs() {
    return this.core.FS;
  }
}
