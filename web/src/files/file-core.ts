// The core module's File menu functions (src/web/FileBindings.cpp).
import type { CoreModule, ProgramSession } from "../core.js";
import type { SheetCell } from "./spreadsheet.js";

export interface ProducedFile {
  ok: boolean;
  message: string;
  bytes: Uint8Array;
}

export interface TakenFile {
  changed: boolean;
  message: string;
}

export interface SheetImport extends TakenFile {
  outcome: "refused" | "failed" | "same-edition" | "edition-defaults";
}

export interface WorkbookLimits {
  fileBytes: number;
  unpackedBytes: number;
  tooLargeUnpacked: string; // the refusal's text
}

export interface FileCore {
  exportSheetCells(session: ProgramSession): SheetCell[];
  importSheetCells(session: ProgramSession, cells: SheetCell[]): SheetImport;
  workbookLimits(): WorkbookLimits;
  // An .xls read by the desktop's reader; the message names the file by fileName.
  readLegacyWorkbookCells(bytes: Uint8Array, fileName: string): { ok: boolean; message: string; cells: SheetCell[] };
  // An .ods date or duration as the desktop reads it; null for neither.
  odsSerial(valueType: "date" | "time", text: string): number | null;
  exportChirpCsv(session: ProgramSession): ProducedFile;
  importChirpCsv(session: ProgramSession, bytes: Uint8Array, fileName: string): TakenFile;
  saveImageFile(session: ProgramSession): ProducedFile;
  openImageFile(session: ProgramSession, bytes: Uint8Array, fileName: string): TakenFile;
  takeWorkingSet(session: ProgramSession, from: string): string;
}

export function fileCore(core: CoreModule): FileCore {
  return core as unknown as FileCore;
}
