// The workbook file format: .xlsx and .ods from SheetJS (loaded when first
// needed, so the page starts without it), .xls from the core's own reader.
// The cell layout stays in the core: this only turns a file's first sheet
// into cells and cells into an .xlsx file.

import { SPREADSHEET_LIBRARY, siteUrl } from "../site.js";
import { fflate } from "./fflate.js";
import { preparedOds, type OdsSerial } from "./ods-prepare.js";

// A cell as the core takes it: row and column from 1, kind "n" number,
// "s" text, "b" boolean, "e" error (value its code), "f" a formula whose
// value the file does not keep.
export type SheetCell = [row: number, col: number, kind: "n" | "s" | "b" | "e" | "f", value: number | string | boolean];

import type { WorkbookLimits } from "./file-core.js";

// A refusal that is one whole sentence naming the file already.
export class WorkbookRefusal extends Error {}

// What reading takes from the core.
export interface WorkbookReading {
  limits: WorkbookLimits;
  // An .xls file's cells; throws a WorkbookRefusal naming the file.
  readLegacy(bytes: Uint8Array): SheetCell[];
  odsSerial: OdsSerial;
}

// What the import reads: the channel block A1:J255 and the settings A257:A320.
const READ_ROWS = 320;
const READ_COLUMNS = 10;

interface SheetJsCell {
  t: string;
  v?: unknown;
  w?: string;
  f?: string;
}
type SheetJsSheet = Record<string, SheetJsCell | unknown>;
interface SheetJsBook {
  SheetNames: string[];
  Sheets: Record<string, SheetJsSheet>;
}
interface SheetJs {
  read(data: Uint8Array, options: object): SheetJsBook;
  write(book: SheetJsBook, options: object): ArrayBuffer;
  utils: {
    book_new(): SheetJsBook;
    book_append_sheet(book: SheetJsBook, sheet: SheetJsSheet, name: string): void;
    encode_cell(at: { r: number; c: number }): string;
    decode_cell(name: string): { r: number; c: number };
    encode_range(range: { s: { r: number; c: number }; e: { r: number; c: number } }): string;
  };
}

let library: Promise<SheetJs> | null = null;

function sheetJs(): Promise<SheetJs> {
  library ??= new Promise<SheetJs>((resolve, reject) => {
    const script = document.createElement("script");
    script.src = siteUrl(SPREADSHEET_LIBRARY);
    script.onload = () => resolve((globalThis as unknown as { XLSX: SheetJs }).XLSX);
    script.onerror = () => {
      library = null;
      // Offline it is there only once a workbook was opened or saved with a network.
      reject(new Error("the spreadsheet library could not be loaded (with no network it is there only after a workbook was opened or saved once with one)"));
    };
    document.head.append(script);
  });
  return library;
}

function cellOf(row: number, col: number, cell: SheetJsCell): SheetCell | null {
  switch (cell.t) {
    case "n": return typeof cell.v === "number" ? [row, col, "n", cell.v] : cell.f ? [row, col, "f", ""] : null;
    case "s": return [row, col, "s", String(cell.v ?? "")];
    case "b": return [row, col, "b", Boolean(cell.v)];
    case "e": return [row, col, "e", cell.w ?? "#N/A"];
    case "d": return [row, col, "s", cell.w ?? String(cell.v)];
    default: return cell.f ? [row, col, "f", ""] : null; // "z": an empty cell, or a formula without its value
  }
}

const COMPOUND_FILE_MAGIC = [0xd0, 0xcf, 0x11, 0xe0];

// A zip (.xlsx, .ods) whose parts would unpack beyond the desktop reader's
// limit is refused before anything is unpacked.
async function checkUnpackedSize(bytes: Uint8Array, limits: WorkbookLimits): Promise<void> {
  if (bytes[0] !== 0x50 || bytes[1] !== 0x4b) return;
  const { unzipSync } = await fflate();
  let total = 0;
  unzipSync(bytes, { filter: (file) => { total += file.originalSize; return false; } });
  if (total > limits.unpackedBytes) throw new Error(limits.tooLargeUnpacked);
}

// The first sheet's cells within what the import reads (.xlsx, .ods or .xls, by content).
export async function readWorkbookCells(file: Uint8Array, name: string, reading: WorkbookReading): Promise<SheetCell[]> {
  const { limits } = reading;
  if (file.length > limits.fileBytes) throw new WorkbookRefusal(`${name} is larger than ${limits.fileBytes / (1024 * 1024)} MB, far larger than any workbook holds; it is not read.`);
  if (COMPOUND_FILE_MAGIC.every((byte, i) => file[i] === byte)) return reading.readLegacy(file);
  await checkUnpackedSize(file, limits);
  const bytes = await preparedOds(file, reading.odsSerial);
  const xlsx = await sheetJs();
  // Stubs keep the formulas a file stores no value for.
  const book = xlsx.read(bytes, { type: "array", sheets: 0, sheetRows: READ_ROWS, sheetStubs: true, cellFormula: true, cellHTML: false, cellNF: false, cellStyles: false, dense: false });
  const first = book.SheetNames[0];
  const sheet = first === undefined ? undefined : book.Sheets[first];
  if (!sheet) throw new Error("the workbook has no sheet");
  const cells: SheetCell[] = [];
  for (const [cellName, value] of Object.entries(sheet)) {
    if (cellName.startsWith("!")) continue;
    const at = xlsx.utils.decode_cell(cellName);
    const row = at.r + 1;
    const col = at.c + 1;
    if (row > READ_ROWS || col > READ_COLUMNS) continue;
    const cell = cellOf(row, col, value as SheetJsCell);
    if (cell) cells.push(cell);
  }
  return cells;
}

// SheetJS escapes control characters as _xHHHH_ but not a text that holds
// such a spelling itself, which would then read back as the escape.
const LITERAL_ESCAPE = /_(?=x[0-9A-Fa-f]{4}_)/g;

// An .xlsx file with the cells on its first sheet, numbers as numbers and texts as texts.
export async function writeWorkbook(cells: SheetCell[]): Promise<Uint8Array> {
  const xlsx = await sheetJs();
  const sheet: SheetJsSheet = {};
  let lastRow = 1;
  let lastCol = 1;
  for (const [row, col, kind, value] of cells) {
    sheet[xlsx.utils.encode_cell({ r: row - 1, c: col - 1 })] = kind === "n" ? { t: "n", v: value } : { t: "s", v: String(value).replace(LITERAL_ESCAPE, "_x005F_") };
    lastRow = Math.max(lastRow, row);
    lastCol = Math.max(lastCol, col);
  }
  sheet["!ref"] = xlsx.utils.encode_range({ s: { r: 0, c: 0 }, e: { r: lastRow - 1, c: lastCol - 1 } });
  const book = xlsx.utils.book_new();
  xlsx.utils.book_append_sheet(book, sheet, "Sheet1");
  return new Uint8Array(xlsx.write(book, { type: "array", bookType: "xlsx", bookSST: true, compression: true }));
}
