// The program in the page: owns the core session, the port, the storage and
// the windows, and routes between them. Nothing else holds state.
import { Command, type CommandState, type CommandTable, loadCommands } from "./commands.js";
import type { CoreModule, LinkEvents, MessageKind, ProgramSession, StatusColour } from "./core.js";
import { FormWindows } from "./form-windows.js";
import { Editing } from "./editing.js";
import { CompareCommands } from "./compare-commands.js";
import { FleetCommands } from "./fleet-commands.js";
import { connectShortcuts } from "./frame-editing.js";
import { LinkRunner } from "./link-runner.js";
import { checkSerialAccess } from "./doctor/browser-check.js";
import { PageConnectionDoctor } from "./doctor/doctor-run.js";
import { FileMenu } from "./files/file-menu.js";
import { PortChoice } from "./port-choice.js";
import { SerialLink, type SerialLinkEvents } from "./serial-link.js";
import { OriginStorage, PROGRAM_FOLDER, STORAGE_ROOT } from "./storage.js";
import type { Ticker } from "./ticker.js";
import { AboutWindow } from "./ui/about-window.js";
import { showBackups } from "./ui/backups-dialog.js";
import { beep } from "./ui/beep.js";
import { el } from "./ui/dom.js";
import { MainWindow } from "./ui/main-window.js";
import { GridView } from "./ui/grid-view.js";
import { MessageBoxes } from "./ui/message-box.js";
import { PrintView } from "./ui/print-view.js";
import { AccessCodeDialog } from "./ui/access-code-dialog.js";

const ICONS = new URL("../icons", import.meta.url).href;
const BACKUP_FOLDER = `${PROGRAM_FOLDER.slice(STORAGE_ROOT.length + 1)}/Data/backups`;
// Port > Verify after Write, remembered for this browser's user as the desktop remembers it for the account.
const VERIFY_AFTER_WRITE_KEY = "corvane.verifyAfterWrite";

export class Program implements LinkEvents {
  private readonly session: ProgramSession;
  private readonly messages = new MessageBoxes(() => this.focusHome());
  private readonly frame: MainWindow;
  private readonly ports: PortChoice;
  private readonly link: SerialLink;
  private readonly runner: LinkRunner;
  private readonly forms: FormWindows;
  private readonly files: FileMenu;
  private readonly doctor: PageConnectionDoctor;
  private readonly printView: PrintView;
  private readonly compare: CompareCommands;
  private readonly fleet: FleetCommands;
  private grid: GridView | null = null;
  private editing: Editing | null = null;
  private readonly about = new AboutWindow(ICONS);
  private portName = "";
  private readonly commands: CommandTable;
  // What the link last said; the command table decides from it.
  private readonly linkState = { portInUse: false, transferLocked: false, linkReady: true };
  private verifyAfterWrite = false;
  private ended = false;
  private readOnly = false;
  private exiting = false;
  private portsRead: Promise<void> = Promise.resolve();

  // The access-code window is already shown (the page's first window).
  constructor(private readonly core: CoreModule, private readonly storage: OriginStorage, ticker: Ticker, private readonly root: HTMLElement,
    private readonly password: AccessCodeDialog) {
    this.session = new core.ProgramSession(PROGRAM_FOLDER);
    this.commands = loadCommands(core);
    this.ports = new PortChoice(navigator.serial, localStorage, (vendor, product) => core.usbCableText(vendor, product));
    const linkEvents: SerialLinkEvents = {
      // While the fleet window is open the port is the fleet's.
      onBytes: (bytes) => {
        if (this.fleet.active) return this.fleet.bytesReceived(bytes);
        this.session.bytesReceived(bytes);
        this.runner.wake();
      },
      onLineError: () => {
        if (this.fleet.active) return this.fleet.lineError();
        this.session.lineError();
        this.runner.wake();
      },
      onFailure: (reason) => {
        if (this.fleet.active) return this.fleet.portFailure(reason);
        this.session.portFailure(reason);
        this.runner.wake();
      },
    };
    this.link = new SerialLink((device) => this.ports.lookup(device), linkEvents);
    this.session.setSerialBridge(this.link);
    this.session.setListener(this);
    this.runner = new LinkRunner(this.session, ticker);
    this.doctor = this.makeDoctor(linkEvents, ticker);
    this.printView = this.makePrintView();
    this.compare = new CompareCommands(core, {
      session: this.session,
      message: (text) => this.messages.show(text),
      wake: () => this.runner.wake(),
    }, localStorage);
    this.fleet = new FleetCommands(core, {
      session: this.session,
      port: this.link,
      ticker,
      devices: () => this.ports.deviceTable(this.session.portName()),
      message: (text) => this.messages.show(text),
      portReturned: () => this.usePortChoice(),
      flush: () => this.storage.flush(),
      readFile: (path) => core.FS.readFile(path),
    });
    this.frame = new MainWindow(ICONS, this.commands, {
      run: (command, toolbar) => this.run(command, toolbar),
      choosePort: (index) => this.choosePort(index),
      modeShown: (mode) => this.forms.followMode(mode),
    });
    this.verifyAfterWrite = localStorage.getItem(VERIFY_AFTER_WRITE_KEY) === "1";
    this.session.setVerifyAfterWrite(this.verifyAfterWrite);
    this.frame.setChecked(Command.VerifyAfterWrite, this.verifyAfterWrite);
    this.frame.setChecked(Command.ShowChangesBeforeWrite, this.compare.showChangesBeforeWrite);
    this.forms = new FormWindows(core, this.session, storage, this.messages, {
      showFrame: (shown) => { this.frame.element.hidden = !shown; },
      channelsChanged: () => {
        this.grid?.refresh();
        this.editing?.refreshMenu();
      },
      floatingTop: () => this.frame.toolbarBottom(),
    });
    this.files = new FileMenu(core, {
      session: this.session,
      message: (text) => this.messages.show(text),
      refresh: () => this.showWorkspace(),
      reconnect: () => this.usePortChoice(),
      flush: () => this.storage.flush(),
      closeCellEditors: () => this.onCloseCellEditors(),
    });
    storage.afterFlush = () => this.files.afterFlush();
    // A save the browser refused must not pass for a save (Exit says it itself).
    storage.onProblem = (text) => {
      if (!this.exiting) void this.messages.show(unkeptMessage(text));
    };
    // Every step is saved as it ends; each file operation goes to the browser's storage too.
    if (storage.keeps()) this.session.setStorageMirror((op, path, to, bytes) => storage.mirror(op, path, to, bytes));
    this.session.setSaveListener((text) => void this.messages.show(text));
    root.append(this.frame.element, ...this.forms.elements);
    navigator.serial?.addEventListener("connect", () => void this.portsChanged());
    navigator.serial?.addEventListener("disconnect", (event) => {
      const port = (event as Event & { target: SerialPort | null }).target;
      if (port && port !== (navigator.serial as unknown)) this.link.portRemoved(port);
      void this.portsChanged();
    });
    // Every step was saved as it ended; closing the page saves what a failed save left behind.
    addEventListener("pagehide", () => this.closeEditor());
    document.addEventListener("visibilitychange", () => {
      if (document.visibilityState === "hidden") this.closeEditor();
    });
  }

  // frmPassword's load: Port.txt (written with defaults when missing), then
  // the code, also one entered while the program was getting ready; damaged
  // files are reset only after a valid code.
  async start(): Promise<void> {
    // The ports are only needed by the frame: the window does not wait for them.
    this.portsRead = this.ports.refresh();
    const problem = this.session.loadAccessWindow();
    if (this.session.startRefused()) {
      await this.messages.show(problem);
      this.password.hide();
      this.end();
      return;
    }
    void this.storage.flush();
    if (problem) await this.messages.show(problem);
    this.password.focus();
    this.password.answerWith((code) => void this.enterCode(code));
    const refused = this.storage.refused();
    if (refused) {
      void this.messages.show(`The browser keeps no files for this page (${refused}), so nothing will be kept between visits. ` +
        "Use File > Export Working Set... to take the working set with you.");
    }
  }

  // Another tab edits: the channels as stored, read-only, until that tab has gone.
  async startReadOnly(editingFree: Promise<void>): Promise<void> {
    this.readOnly = true;
    this.password.hide();
    const problem = this.session.openReadOnly();
    const grid = new GridView(this.core.gridGeometry(), (row, col) => this.session.cell(row, col));
    this.grid = grid;
    this.frame.show(grid.element);
    this.frame.setCaption(this.session.caption());
    this.frame.setMode(this.session.channelMode());
    this.refreshCommands();
    grid.refresh();
    const notice = el("p", { id: "otherTab", class: "other-tab", role: "status" },
      "Corvane PC Programmer is open in another tab, so this tab only shows the channels.");
    this.frame.element.querySelector(".mdi-area")?.before(notice);
    if (problem) await this.messages.show(problem);
    await editingFree;
    if (this.ended) return;
    const takeOver = el("button", { type: "button", "data-name": "takeOver" }, "Take Over");
    takeOver.addEventListener("click", () => location.reload());
    notice.replaceChildren("The other tab has closed. ", takeOver);
  }

  // ---- LinkEvents ----
  onLinkStatus(text: string, colour: StatusColour): void {
    this.frame.setStatus(text, colour);
  }
  onWriteReadEnabled(enabled: boolean): void {
    this.linkState.linkReady = enabled;
    this.refreshCommands();
  }
  onTransferButtonsEnabled(enabled: boolean): void {
    this.linkState.transferLocked = !enabled;
    this.followLink();
  }
  onPortInUse(inUse: boolean): void {
    this.linkState.portInUse = inUse;
    this.followLink();
  }
  private followLink(): void {
    this.forms.followPortInUse(this.linkState.portInUse);
    this.editing?.setLocked(this.linkState.transferLocked || this.linkState.portInUse);
    this.refreshCommands();
  }
  // Every menu item and button as the command table says for now.
  private refreshCommands(): void {
    const editing = this.session.editing();
    const state: CommandState = { ...this.linkState, canUndo: editing.canUndo(), canRedo: editing.canRedo(), readOnly: this.readOnly };
    this.core.commandsEnabled(state).forEach((enabled, command) => this.frame.setEnabled(command, enabled));
  }
  onProgress(value: number): void {
    this.frame.setProgress(value);
  }
  onMessage(text: string, kind: MessageKind): void {
    void this.storage.flush();
    void this.messages.show(text, kind);
  }
  onCloseCellEditors(): void {
    this.editing?.closeCellEditors();
  }
  onPortNameChanged(): void {
    const name = this.session.portName();
    this.ports.followPortName(this.portName, name);
    this.portName = name;
    this.showPorts();
  }
  // A read is one undo step from the bytes' arrival to the decoded workspace.
  onImageReceived(): void {
    this.session.editing().beginReadStep();
  }
  onImageForCompare(image: Uint8Array): void {
    void this.compare.imageForCompare(image);
  }
  onImageAccepted(): void {
    this.session.editing().endReadStep();
    this.showWorkspace();
  }
  // After the workspace changed as a whole (a read, an import, a folder).
  private showWorkspace(): void {
    this.editing?.refreshMenu();
    this.grid?.refresh();
    this.frame.setCaption(this.session.caption());
    this.frame.setMode(this.session.channelMode());
    this.forms.followWorkspace();
    void this.storage.flush();
  }
  onBackupSaved(): void {
    void this.storage.flush();
  }
  onBackupFailed(text: string): void {
    console.warn(text);
  }

  // ---- windows ----
  private async enterCode(code: string): Promise<void> {
    const outcome = this.session.enterAccessCode(code);
    if (outcome === "empty") {
      this.password.focus();
      return;
    }
    if (outcome === "refused") {
      await this.messages.show("Invalid Password !!!!! ");
      this.password.hide();
      this.end();
      return;
    }
    await this.storage.flush();
    const saveProblem = this.session.lastSaveProblem();
    this.password.hide();
    if (saveProblem) await this.messages.show(saveProblem);
    // A damaged file no copy could be kept of: nothing was reset, the page ends.
    if (this.session.startRefused()) {
      this.end();
      return;
    }
    await this.openFrame();
  }

  private async openFrame(): Promise<void> {
    await this.portsRead;
    this.portName = this.session.portName();
    const grid = new GridView(this.core.gridGeometry(), (row, col) => this.session.cell(row, col));
    this.grid = grid;
    this.editing = new Editing(this.session.editing(), grid, {
      message: (text) => this.messages.show(text),
      beep,
      changed: () => {
        grid.refresh();
        this.frame.setCaption(this.session.caption());
        this.frame.setMode(this.session.channelMode());
        this.forms.followWorkspace();
        void this.storage.flush();
      },
      undoRedoChanged: (undoCaption, redoCaption) => {
        this.frame.setCommandCaption(Command.Undo, undoCaption);
        this.frame.setCommandCaption(Command.Redo, redoCaption);
        this.refreshCommands();
      },
      portInUse: () => this.session.portInUse(),
    });
    connectShortcuts(this.frame, this.commands, (command) => this.run(command, false));
    this.frame.show(grid.element);
    const problem = this.session.openFrame(this.ports.deviceTable(this.session.portName()));
    this.portName = this.session.portName();
    this.grid.refresh();
    this.frame.setCaption(this.session.caption());
    this.frame.setMode(this.session.channelMode());
    this.showPorts();
    // Focused as it shows, not after the save: a person who clicks a cell
    // and types at once keeps the focus where they put it.
    this.frame.focusGrid();
    await this.storage.flush();
    if (problem) await this.messages.show(problem);
  }

  // The focus never rests on the page itself: the grid's current cell while
  // the frame shows, the code's box before.
  private focusHome(): void {
    if (!this.frame.element.hidden) this.frame.focusGrid();
    else if (!this.password.element.hidden) this.password.focus();
  }

  // A menu item, a toolbar button or a shortcut; a button closes the cell editors first.
  private run(command: Command, toolbar: boolean): void {
    if (toolbar) this.editing?.closeCellEditors();
    if (FileMenu.handles(command)) {
      void this.runFile(command);
      return;
    }
    switch (command) {
      case Command.Exit: void this.exit(); break;
      case Command.Write: this.compare.write(); break;
      case Command.Read: this.session.requestRead(); break;
      case Command.AutoDetect:
        if (!this.session.autoDetectRunning()) {
          this.ports.prepareDetection();
          this.session.setDevices(this.ports.deviceTable(this.session.portName()));
        }
        this.session.startAutoDetect();
        break;
      case Command.NewFile:
        this.forms.closeGroup();
        void this.editing?.newFile();
        break;
      case Command.Setup: this.forms.openSetup(); break;
      case Command.Group: this.forms.openGroup(); break;
      case Command.Backups: this.showBackups(); break;
      case Command.Undo: void this.editing?.undo(); break;
      case Command.Redo: void this.editing?.redo(); break;
      case Command.Copy: void this.editing?.copy(); break;
      case Command.Paste: void this.editing?.paste(); break;
      case Command.SelectPort: void this.selectPort(); break;
      case Command.VerifyAfterWrite: this.toggleVerifyAfterWrite(); break;
      case Command.ModeDefault: void this.editing?.selectMode(0); break;
      case Command.ModeCustom: void this.editing?.selectMode(1); break;
      case Command.Help:
        this.editing?.closeCellEditors();
        this.about.show();
        break;
      case Command.PrintChannelList: this.printChannelList(); break;
      case Command.DiagnoseConnection: this.diagnoseConnection(); break;
      case Command.CompareWithRadio: this.compare.compareWithRadio(); break;
      case Command.CompareWithImageFile: void this.compare.compareWithImageFile(); break;
      case Command.ShowChangesBeforeWrite: this.toggleShowChangesBeforeWrite(); break;
      case Command.ProgramSeveralRadios: this.fleet.open(); break;
      default: break;
    }
    this.runner.wake();
  }

  private async runFile(command: Command): Promise<void> {
    if (this.session.portInUse()) return;
    await this.files.run(command);
  }

  private toggleVerifyAfterWrite(): void {
    if (this.session.portInUse()) return;
    this.verifyAfterWrite = !this.verifyAfterWrite;
    localStorage.setItem(VERIFY_AFTER_WRITE_KEY, this.verifyAfterWrite ? "1" : "0");
    this.session.setVerifyAfterWrite(this.verifyAfterWrite);
    this.frame.setChecked(Command.VerifyAfterWrite, this.verifyAfterWrite);
  }

  private toggleShowChangesBeforeWrite(): void {
    if (this.session.portInUse()) return;
    this.compare.showChangesBeforeWrite = !this.compare.showChangesBeforeWrite;
    this.frame.setChecked(Command.ShowChangesBeforeWrite, this.compare.showChangesBeforeWrite);
  }

  private async exit(): Promise<void> {
    if (this.exiting) return;
    this.forms.closeAll();
    this.about.close();
    if (!this.readOnly) {
      this.exiting = true;
      const problem = this.session.exitProgram();
      void this.storage.flush();
      const unkept = await this.storage.settled();
      this.exiting = false;
      // Nothing is lost yet: the program goes on, and Export Working Set... still works.
      if (problem || unkept) {
        await this.messages.show(problem || unkeptMessage(unkept));
        return;
      }
      this.session.endProgram();
      this.runner.wake();
    }
    this.frame.hide();
    this.end();
  }

  private closeEditor(): void {
    if (this.ended || !this.grid || this.readOnly) return;
    this.session.closeEditor();
    void this.storage.flush();
  }

  private end(): void {
    this.ended = true;
    document.getElementById("otherTab")?.remove();
    document.title = "Corvane PC Programmer";
    this.root.append(el("p", { id: "ended" }, "Corvane PC Programmer has ended. ", el("a", { href: location.href }, "Start again")));
  }

  // ---- ports ----
  private async selectPort(): Promise<void> {
    if (this.session.portInUse()) return;
    const access = checkSerialAccess({ secureContext: window.isSecureContext, webSerial: this.ports.available });
    if (access) {
      await this.messages.show(access.finding);
      return;
    }
    if (!(await this.ports.request())) return;
    this.usePortChoice();
  }

  private choosePort(index: number): void {
    if (this.session.portInUse()) return;
    this.ports.choose(index);
    this.usePortChoice();
  }

  private usePortChoice(): void {
    this.session.setDevices(this.ports.deviceTable(this.session.portName()));
    this.session.reconnectPort();
    this.showPorts();
    this.runner.wake();
  }

  private async portsChanged(): Promise<void> {
    await this.ports.refresh();
    if (this.grid) this.session.setDevices(this.ports.deviceTable(this.session.portName()));
    this.showPorts();
  }

  private showPorts(): void {
    this.frame.setPorts(this.ports.ports().map((p) => p.label), this.ports.currentIndex());
  }

  // ---- Port > Diagnose Connection... ----
  private makeDoctor(linkEvents: SerialLinkEvents, ticker: Ticker): PageConnectionDoctor {
    return new PageConnectionDoctor(this.core, {
      session: this.session, ports: this.ports, link: this.link, linkEvents, ticker,
      reconnect: () => this.usePortChoice(),
    });
  }

  private diagnoseConnection(): void {
    if (this.session.portInUse()) return;
    this.editing?.closeCellEditors();
    void this.doctor.open();
  }

  // ---- File > Print Channel List... ----
  private makePrintView(): PrintView {
    return new PrintView((paper, pocket) => {
      const today = new Date();
      return this.core.channelListHtml(this.session, paper, pocket, today.getFullYear(), today.getMonth() + 1, today.getDate());
    });
  }

  private printChannelList(): void {
    if (this.linkState.transferLocked) return;
    this.editing?.closeCellEditors();
    this.printView.open();
  }

  private showBackups(): void {
    const files = this.storage.listFiles(BACKUP_FOLDER).reverse();
    showBackups(files.map((path) => ({ name: path.slice(path.lastIndexOf("/") + 1), bytes: () => this.storage.readFile(path) })));
  }
}

function unkeptMessage(reason: string): string {
  return `The working files could not be kept in the browser's storage: ${reason}`;
}
