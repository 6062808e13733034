// Port > Diagnose Connection... in the page: the browser's checks first,
// then the core's connection doctor on the chosen port over the page's
// serial link, which the program's link lends it for the run.
import type { ConnectionDoctor, CoreModule, DoctorFinding, OpenFailureKind, ProgramSession } from "../core.js";
import type { PortChoice } from "../port-choice.js";
import type { SerialLink, SerialLinkEvents } from "../serial-link.js";
import type { Ticker } from "../ticker.js";
import { ConnectionDoctorWindow } from "../ui/doctor-window.js";
import { checkBrowser, checkSerialAccess } from "./browser-check.js";

const TICK_KEY = "doctor";
const TRANSFER_HOLDS_PORT = "A transfer holds the port: wait for it to end, then Diagnose.";

export interface DoctorHost {
  readonly session: ProgramSession;
  readonly ports: PortChoice;
  readonly link: SerialLink;
  // The engine's events, given back with the port.
  readonly linkEvents: SerialLinkEvents;
  readonly ticker: Ticker;
  // The link takes its port again.
  reconnect(): void;
}

// Web Serial's open() errors: the browser does not tell another program's
// hold from a refusal of the system, and the first is by far the commoner.
function openFailureKind(error: unknown): OpenFailureKind {
  const name = error instanceof DOMException ? error.name : "";
  if (name === "NetworkError" || name === "InvalidStateError") return "in-use";
  if (name === "SecurityError" || name === "NotAllowedError") return "permission-denied";
  return "no-device";
}

export class PageConnectionDoctor {
  private readonly doctor: ConnectionDoctor;
  private readonly window: ConnectionDoctorWindow;
  private readonly events: SerialLinkEvents;
  private lent = false;

  constructor(core: CoreModule, private readonly host: DoctorHost) {
    this.doctor = new core.ConnectionDoctor();
    this.doctor.setSerialBridge(host.link);
    this.doctor.setListener({
      onStep: (text) => this.window.showStep(`${text} ...`),
      onFinding: (finding) => this.finished(finding),
    });
    this.doctor.setWakeCallback(() => this.wake());
    this.events = {
      onBytes: (bytes) => this.doctor.bytesReceived(bytes),
      onLineError: () => undefined, // what the line lost is missing from the bytes the doctor judges
      onFailure: (reason) => this.doctor.portFailure(reason),
      onOpenFailure: (error, reason) => this.doctor.openFailed(openFailureKind(error), reason.replace(/^cannot open [^:]*: /, "")),
    };
    this.window = new ConnectionDoctorWindow({ diagnose: (index) => void this.diagnose(index), closed: () => this.giveBack() });
    // Closing mid-run would leave the port with the doctor.
    this.window.element.addEventListener("cancel", (event) => {
      if (this.doctor.running()) event.preventDefault();
    });
  }

  // The window, with what keeps this browser from serial ports said at once.
  async open(): Promise<void> {
    await this.host.ports.refresh();
    const ports = this.host.ports;
    this.window.open(ports.ports().map((p) => p.label), ports.currentIndex());
    const access = checkSerialAccess({ secureContext: window.isSecureContext, webSerial: ports.available });
    if (access) this.window.showFinding(access);
  }

  private async diagnose(index: number): Promise<void> {
    if (this.doctor.running()) return;
    this.window.setRunning(true);
    this.window.showFinding(null);
    const ports = this.host.ports;
    await ports.refresh();
    const problem = checkBrowser({
      secureContext: window.isSecureContext, webSerial: ports.available, grantedPorts: ports.ports().length, hadPort: ports.hadPort(),
    });
    if (problem) {
      this.window.showStep("");
      this.window.showFinding(problem);
      this.window.setRunning(false);
      return;
    }
    if (!this.lent) {
      if (!this.host.session.releasePort()) {
        this.window.showStep(TRANSFER_HOLDS_PORT);
        this.window.setRunning(false);
        return;
      }
      this.lent = true;
      this.host.link.setEvents(this.events);
    }
    const granted = ports.ports();
    this.doctor.start(granted[index >= 0 && index < granted.length ? index : 0].id);
    this.wake();
  }

  private finished(finding: DoctorFinding): void {
    this.window.showStep("");
    this.window.showFinding(finding);
    this.window.setRunning(false);
    // After the doctor's own call has returned and its port is closed.
    setTimeout(() => this.giveBack(), 0);
  }

  private giveBack(): void {
    if (!this.lent || this.doctor.running()) return;
    this.lent = false;
    this.host.ticker.cancel(TICK_KEY);
    this.host.link.setEvents(this.host.linkEvents);
    this.host.reconnect();
  }

  private wake(): void {
    const next = this.doctor.nextDeadline();
    if (next < 0) this.host.ticker.cancel(TICK_KEY);
    else this.host.ticker.at(TICK_KEY, next, () => {
      this.doctor.service();
      this.wake();
    });
  }
}
