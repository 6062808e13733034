// The WebAssembly module built from the C++ core (src/web): its types as the
// page sees them, and loading it.

import type { CommandCore } from "./commands.js";
import { CORE_SCRIPT, CORE_WASM, siteUrl } from "./site.js";

export type StatusColour = "blue" | "red";
export type MessageKind = "information" | "exclamation" | "warning";

// What the link engine reports (src/link/LinkListener.h).
export interface LinkEvents {
  onLinkStatus(text: string, colour: StatusColour): void;
  onWriteReadEnabled(enabled: boolean): void;
  onTransferButtonsEnabled(enabled: boolean): void;
  onPortInUse(inUse: boolean): void;
  onProgress(value: number): void;
  onMessage(text: string, kind: MessageKind): void;
  onCloseCellEditors(): void;
  onPortNameChanged(): void;
  onImageReceived?(): void;
  onImageAccepted(): void;
  // A compare read's image (requestCompareRead); the workspace is unchanged.
  onImageForCompare?(image: Uint8Array): void;
  onBackupSaved(path: string): void;
  onBackupFailed(text: string): void;
}

// The engine's serial port, kept by the page (src/web/JsSerialPort.h).
export interface SerialBridge {
  open(device: string): string;
  close(): void;
  isOpen(): boolean;
  write(bytes: Uint8Array): string;
  bytesToWrite(): number;
  discardBuffers(): void;
}

export interface CellEditorChoice {
  kind: "none" | "text" | "picker";
  picker: number;
  index: number;
}

// The grid's editing, the Mode menu, New File and the Edit menu (src/web/EditSession.h).
export interface EditSession {
  editorFor(row: number, col: number): CellEditorChoice;
  typingOpensEditor(row: number, col: number): boolean;
  openTextEditor(row: number, col: number, keyCode: number): string;
  opensOnCellText(keyCode: number): boolean;
  filterKey(code: number): number;
  maxLength(): number;
  pickerEntries(picker: number): string[];
  commitOnEnter(row: number, col: number, text: string): string;
  commitOnLeave(text: string): string;
  pick(row: number, col: number, picker: number, index: number): boolean;
  selectMode(mode: number): string[];
  newFile(): string[];
  canUndo(): boolean;
  canRedo(): boolean;
  undoName(): string;
  redoName(): string;
  undo(): string;
  redo(): string;
  setLocked(locked: boolean): void;
  beginReadStep(): void;
  endReadStep(): void;
  copyChannels(firstRow: number, lastRow: number): string;
  paste(text: string, startRow: number): { message: string; rows: number };
}

export interface ProgramSession {
  setSerialBridge(bridge: SerialBridge): void;
  setListener(listener: LinkEvents): void;
  setWakeCallback(wake: () => void): void;
  setVerifyAfterWrite(on: boolean): void;
  setStorageMirror(mirror: (op: string, path: string, to: string, bytes: Uint8Array) => void): void;
  setSaveListener(problem: (text: string) => void): void;
  openReadOnly(): string;
  loadAccessWindow(): string;
  startRefused(): boolean;
  enterAccessCode(code: string): "empty" | "accepted" | "refused";
  lastSaveProblem(): string;
  openFrame(devices: string[]): string;
  exitProgram(): string;
  endProgram(): void;
  closeEditor(): string;
  caption(): string;
  cell(row: number, col: number): string;
  portName(): string;
  channelMode(): number;
  edition(): number;
  backupFolder(): string;
  editing(): EditSession;
  setDevices(devices: string[]): void;
  reconnectPort(): void;
  releasePort(): boolean;
  startAutoDetect(): void;
  requestWrite(): void;
  requestRead(): void;
  requestCompareRead(): void;
  bytesReceived(bytes: Uint8Array): void;
  lineError(): void;
  portFailure(reason: string): void;
  service(): void;
  nextDeadline(): number;
  connected(): boolean;
  transferring(): boolean;
  portInUse(): boolean;
  autoDetectRunning(): boolean;
}

// The working set against an image (src/link/SetComparison.h).
export interface Comparison {
  ok: boolean;
  message: string;
  count: string;
  rows: [string, string, string, string][];
  csv: string;
}

export interface CompareTexts {
  channel: string;
  field: string;
  program: string;
  radio: string;
  file: string;
  nothingToWrite: string;
}

// What the fleet run reports (src/web/FleetSession.h).
export interface FleetEvents {
  onFleetPhase(prompt: string): void;
  onFleetProgress(value: number): void;
  onFleetUnit(label: string, state: string, details: string): void;
  onFleetPortProblem(text: string): void;
  onFleetFinished(prompt: string): void;
  onFleetMessage(text: string): void;
  wake(): void;
}

export interface FleetSession {
  setSerialBridge(bridge: SerialBridge): void;
  setListener(listener: FleetEvents): void;
  loadUnitsCsv(text: string): string;
  units(): [string, string, string][];
  start(devices: string[]): string;
  stop(): void;
  running(): boolean;
  prompt(): string;
  logPath(): string;
  bytesReceived(bytes: Uint8Array): void;
  lineError(): void;
  portFailure(reason: string): void;
  service(): void;
  nextDeadline(): number;
  delete(): void;
}

export interface DemoRadio {
  setOutput(output: (bytes: Uint8Array) => void): void;
  receive(bytes: Uint8Array, nowMs: number): void;
  tick(nowMs: number): void;
  nextDeadline(): number;
  completedTransfers(): number;
}

// What the connection doctor found (src/link/ConnectionDiagnosis.h).
export interface DoctorFinding {
  id: string;
  finding: string;
  fix: string;
}

export interface DoctorEvents {
  onStep(text: string): void;
  onFinding(finding: DoctorFinding): void;
}

// Why a port the page opened did not open (src/web/PageDoctor.h).
export type OpenFailureKind = "in-use" | "permission-denied" | "no-device";

export interface ConnectionDoctor {
  setSerialBridge(bridge: SerialBridge): void;
  setListener(listener: DoctorEvents): void;
  setWakeCallback(wake: () => void): void;
  start(device: string): void;
  bytesReceived(bytes: Uint8Array): void;
  portFailure(reason: string): void;
  openFailed(kind: OpenFailureKind, detail: string): void;
  service(): void;
  nextDeadline(): number;
  running(): boolean;
}

export interface GridGeometry {
  rows: number;
  columns: number;
  fixedRows: number;
  fixedColumns: number;
}

// Emscripten's file system, as far as the page uses it.
export interface EmscriptenFS {
  mkdirTree(path: string): void;
  readdir(path: string): string[];
  readFile(path: string): Uint8Array<ArrayBuffer>;
  writeFile(path: string, data: Uint8Array): void;
  unlink(path: string): void;
  rmdir(path: string): void;
  stat(path: string): { mode: number; size: number };
  isDir(mode: number): boolean;
  analyzePath(path: string): { exists: boolean };
}

export interface CoreModule extends CommandCore {
  ProgramSession: new (programFolder: string) => ProgramSession;
  DemoRadio: new (memoryFile: string) => DemoRadio;
  FleetSession: new (program: ProgramSession) => FleetSession;
  compareWithImage(session: ProgramSession, image: Uint8Array, otherTitle: string): Comparison;
  compareTexts(): CompareTexts;
  gridGeometry(): GridGeometry;
  ConnectionDoctor: new () => ConnectionDoctor;
  // "FTDI FT232R, USB 0403:6001" (src/link/UsbChips.h).
  usbCableText(vendor: number, product: number): string;
  // The printed channel list as one HTML document (src/report/SheetHtml.h).
  channelListHtml(session: ProgramSession, paper: "a4" | "letter", pocket: boolean, year: number, month: number, day: number): string;
  FS: EmscriptenFS;
}

interface ModuleOptions {
  locateFile(path: string): string;
}
type ModuleFactory = (options: ModuleOptions) => Promise<CoreModule>;

// The module's script and its wasm carry a hash in their names; the wasm is
// fetched once (index.html preloads it) and compiled while it streams in.
export async function loadCore(): Promise<CoreModule> {
  const imported = (await import(siteUrl(CORE_SCRIPT))) as { default: ModuleFactory };
  return imported.default({ locateFile: (path) => (path.endsWith(".wasm") ? siteUrl(CORE_WASM) : siteUrl(path)) });
}
