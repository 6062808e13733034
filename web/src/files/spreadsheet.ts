// The workbook file format, from SheetJS (loaded when first needed, so the
// page starts without it). The cell layout stays in the core: this only
// turns a file's first sheet into cells and cells into an .xlsx file.

import { SPREADSHEET_LIBRARY, siteUrl } from "../site.js";
import { fflate } from "./fflate.js";

// A cell as the core takes it: row and column from 1, kind "n" number,
// "s" text, "b" boolean, "e" error (value its code), "f" a formula whose
// value the file does not keep.
export type SheetCell = [row: number, col: number, kind: "n" | "s" | "b" | "e" | "f", value: number | string | boolean];

import type { WorkbookLimits } from "./file-core.js";

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
interface CompoundFile {
  read(data: Uint8Array, options: object): unknown;
  find(file: unknown, path: string): { content: ArrayLike<number> } | null;
}
interface SheetJs {
  CFB: CompoundFile;
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

const ODS_MIMETYPE = "mimetypeapplication/vnd.oasis.opendocument.spreadsheet";
const EMPTY_ODS_STYLES = '<?xml version="1.0" encoding="UTF-8"?><office:document-styles xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" office:version="1.2"/>';

// SheetJS refuses an OpenDocument spreadsheet without styles.xml, which the
// format does not require (programs that write ODS by hand leave it out):
// such a file gets an empty one before it is read.
async function withOdsStyles(bytes: Uint8Array): Promise<Uint8Array> {
  const head = new TextDecoder("latin1").decode(bytes.subarray(0, 128));
  if (!head.startsWith("PK") || !head.includes(ODS_MIMETYPE)) return bytes;
  const { unzipSync, zipSync, strToU8 } = await fflate();
  const entries = unzipSync(bytes);
  if (entries["styles.xml"]) return bytes;
  entries["styles.xml"] = strToU8(EMPTY_ODS_STYLES);
  return zipSync(entries);
}

const COMPOUND_FILE_MAGIC = [0xd0, 0xcf, 0x11, 0xe0];

// The cells an .xls stream yields beyond plain values, as the core reads them.
export type XlsComputedCells = (workbookStream: Uint8Array) => SheetCell[];

// An .xls: the workbook stream of the compound file, for the core's record
// scan, whose cells stand in for what SheetJS made of the same records.
function withComputedCells(xlsx: SheetJs, bytes: Uint8Array, cells: SheetCell[], computed: XlsComputedCells): SheetCell[] {
  if (!COMPOUND_FILE_MAGIC.every((byte, i) => bytes[i] === byte)) return cells;
  const compound = xlsx.CFB.read(bytes, { type: "array" });
  const stream = xlsx.CFB.find(compound, "Workbook") ?? xlsx.CFB.find(compound, "Book");
  if (!stream) return cells;
  const byPlace = new Map<string, SheetCell>(cells.map((cell) => [`${cell[0]},${cell[1]}`, cell]));
  for (const cell of computed(Uint8Array.from(stream.content))) byPlace.set(`${cell[0]},${cell[1]}`, cell);
  return [...byPlace.values()];
}

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
export async function readWorkbookCells(file: Uint8Array, limits: WorkbookLimits, computed: XlsComputedCells): Promise<SheetCell[]> {
  if (file.length > limits.fileBytes) throw new Error(`is larger than ${limits.fileBytes / (1024 * 1024)} MB, far larger than any workbook holds; it is not read.`);
  await checkUnpackedSize(file, limits);
  const bytes = await withOdsStyles(file);
  const xlsx = await sheetJs();
  // Stubs keep the formulas a file stores no value for.
  const book = xlsx.read(bytes, { type: "array", sheets: 0, sheetRows: READ_ROWS, sheetStubs: true, cellFormula: true, cellHTML: false, cellNF: false, cellStyles: false, dense: false });
  const first = book.SheetNames[0];
  const sheet = first === undefined ? undefined : book.Sheets[first];
  if (!sheet) throw new Error("the workbook has no sheet");
  const cells: SheetCell[] = [];
  for (const [name, value] of Object.entries(sheet)) {
    if (name.startsWith("!")) continue;
    const at = xlsx.utils.decode_cell(name);
    const row = at.r + 1;
    const col = at.c + 1;
    if (row > READ_ROWS || col > READ_COLUMNS) continue;
    const cell = cellOf(row, col, value as SheetJsCell);
    if (cell) cells.push(cell);
  }
  return withComputedCells(xlsx, bytes, cells, computed);
}

// An .xlsx file with the cells on its first sheet, numbers as numbers and texts as texts.
export async function writeWorkbook(cells: SheetCell[]): Promise<Uint8Array> {
  const xlsx = await sheetJs();
  const sheet: SheetJsSheet = {};
  let lastRow = 1;
  let lastCol = 1;
  for (const [row, col, kind, value] of cells) {
    sheet[xlsx.utils.encode_cell({ r: row - 1, c: col - 1 })] = kind === "n" ? { t: "n", v: value } : { t: "s", v: String(value) };
    lastRow = Math.max(lastRow, row);
    lastCol = Math.max(lastCol, col);
  }
  sheet["!ref"] = xlsx.utils.encode_range({ s: { r: 0, c: 0 }, e: { r: lastRow - 1, c: lastCol - 1 } });
  const book = xlsx.utils.book_new();
  xlsx.utils.book_append_sheet(book, sheet, "Sheet1");
  return new Uint8Array(xlsx.write(book, { type: "array", bookType: "xlsx", bookSST: true, compression: true }));
}
