// Port > Program Several Radios...: the fleet session of the core on the
// page's port (the main link lets go of it while the window is open), its
// time on the ticker, and the fleet window. The log stays in the page's
// storage (program/Data/fleet-<date>_<time>.csv) and is offered as a download.
import type { CoreModule, FleetEvents, FleetSession, ProgramSession, SerialBridge } from "./core.js";
import { download, pickFile } from "./files/transfer.js";
import type { Ticker } from "./ticker.js";
import { FleetWindow } from "./ui/fleet-window.js";

const TICK_KEY = "fleet";

export interface FleetHost {
  readonly session: ProgramSession;
  readonly port: SerialBridge;
  readonly ticker: Ticker;
  // The page's port for each port number, as the main link has them.
  devices(): string[];
  message(text: string): Promise<void>;
  // The window closed: the main link takes its port back.
  portReturned(): void;
  flush(): Promise<void>;
  readFile(path: string): Uint8Array;
}

export class FleetCommands implements FleetEvents {
  private fleet: FleetSession | null = null;
  private window: FleetWindow | null = null;

  constructor(private readonly core: CoreModule, private readonly host: FleetHost) {}

  // While the window is open the port's events are the fleet's.
  get active(): boolean {
    return this.fleet !== null;
  }

  open(): void {
    if (this.fleet || !this.host.session.releasePort()) return;
    const fleet = new this.core.FleetSession(this.host.session);
    fleet.setSerialBridge(this.host.port);
    fleet.setListener(this);
    this.fleet = fleet;
    this.window = new FleetWindow({
      chooseUnits: () => void this.chooseUnits(),
      start: () => void this.start(),
      stop: () => this.stop(),
      saveLog: () => this.saveLog(),
      closed: () => this.closed(),
    });
    this.window.show();
  }

  bytesReceived(bytes: Uint8Array): void {
    this.fleet?.bytesReceived(bytes);
    this.wake();
  }
  lineError(): void {
    this.fleet?.lineError();
    this.wake();
  }
  portFailure(reason: string): void {
    this.fleet?.portFailure(reason);
    this.wake();
  }

  private async chooseUnits(): Promise<void> {
    const file = await pickFile(".csv,text/csv");
    if (!file || !this.fleet) return;
    const problem = this.fleet.loadUnitsCsv(new TextDecoder().decode(file.bytes));
    if (problem) {
      await this.host.message(`${file.name}: ${problem}`);
      return;
    }
    this.window?.setUnits(file.name, this.fleet.units());
  }

  private async start(): Promise<void> {
    if (!this.fleet || !this.window) return;
    this.window.clearStates();
    const problem = this.fleet.start(this.host.devices());
    if (problem) {
      await this.host.message(problem);
      return;
    }
    this.window.setRunning(this.fleet.running());
    this.window.setStatus(`Log: ${this.fleet.logPath().split("/").pop() ?? ""}`);
    this.window.setPrompt(this.fleet.prompt());
    this.window.setLogReady(true);
    void this.host.flush();
    this.wake();
  }

  private stop(): void {
    this.fleet?.stop();
    this.wake();
  }

  private saveLog(): void {
    const path = this.fleet?.logPath();
    if (!path) return;
    download(path.split("/").pop() ?? "fleet.csv", this.host.readFile(path), "text/csv");
  }

  private closed(): void {
    const fleet = this.fleet;
    this.fleet = null;
    this.window = null;
    this.host.ticker.cancel(TICK_KEY);
    if (fleet) {
      fleet.stop();
      fleet.delete();
    }
    void this.host.flush();
    this.host.portReturned();
  }

  // ---- FleetEvents ----
  wake(): void {
    const next = this.fleet?.nextDeadline() ?? -1;
    if (next < 0) this.host.ticker.cancel(TICK_KEY);
    else this.host.ticker.at(TICK_KEY, next, () => {
      this.fleet?.service();
      this.wake();
    });
  }
  onFleetPhase(prompt: string): void {
    this.window?.setPrompt(prompt);
    this.window?.setProgress(0);
  }
  onFleetProgress(value: number): void {
    this.window?.setProgress(value);
  }
  onFleetUnit(label: string, state: string, details: string): void {
    this.window?.setUnitState(label, state, details);
    // A logged row is kept in the browser's storage at once.
    void this.host.flush();
  }
  onFleetPortProblem(text: string): void {
    this.window?.setStatus(text ? `${text} (still trying)` : `Log: ${this.fleet?.logPath().split("/").pop() ?? ""}`);
  }
  onFleetFinished(prompt: string): void {
    this.window?.setPrompt(prompt);
    this.window?.setRunning(false);
    void this.host.flush();
  }
  onFleetMessage(text: string): void {
    void this.host.message(text);
  }
}
