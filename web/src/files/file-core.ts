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
  xlsComputedCells(workbookStream: Uint8Array): { ok: boolean; message: string; cells: SheetCell[] };
  exportChirpCsv(session: ProgramSession): ProducedFile;
  importChirpCsv(session: ProgramSession, bytes: Uint8Array): TakenFile;
  saveImageFile(session: ProgramSession): ProducedFile;
  openImageFile(session: ProgramSession, bytes: Uint8Array): TakenFile;
  reloadWorkingSet(session: ProgramSession): string;
}

export function fileCore(core: CoreModule): FileCore {
  return core as unknown as FileCore;
}
