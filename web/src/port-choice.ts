// Which granted port is the current one. A browser has no COM numbers: the
// engine still works with PortName ("1" to "12", kept in Port.txt), and the
// page lays the granted ports over those numbers so that PortName stands for
// the current port and the numbers after it for the other granted ports in
// order. The automatic detection, stepping through the numbers, so probes
// every granted port, the current one first.

const CURRENT_PORT_KEY = "corvane.currentPort";
const PORT_NUMBERS = 12;

export interface GrantedPort {
  id: string;
  port: SerialPort;
  label: string;
}

function portNumber(portName: string): number {
  const n = Number.parseInt(portName, 10);
  return n >= 1 && n <= PORT_NUMBERS ? n : 1;
}

// "FTDI FT232R, USB 0403:6001": the core's table of USB serial chips.
export type CableText = (vendor: number, product: number) => string;

// "Port 1 (FTDI FT232R, USB 0403:6001)"; a port without USB IDs is "Port 1".
function describePort(port: SerialPort, position: number, cableText: CableText): string {
  const info = port.getInfo();
  const usb = info.usbVendorId !== undefined && info.usbProductId !== undefined
    ? ` (${cableText(info.usbVendorId, info.usbProductId)})`
    : "";
  return `Port ${position}${usb}`;
}

export class PortChoice {
  private granted: GrantedPort[] = [];
  private readonly ids = new WeakMap<SerialPort, string>();
  private nextId = 1;
  private current = -1;

  constructor(private readonly serial: Serial | undefined, private readonly settings: Storage, private readonly cableText: CableText) {}

  get available(): boolean {
    return this.serial !== undefined;
  }

  ports(): readonly GrantedPort[] {
    return this.granted;
  }

  currentIndex(): number {
    return this.current;
  }

  // A port was chosen in this browser before, whether or not it is granted now.
  hadPort(): boolean {
    return this.settings.getItem(CURRENT_PORT_KEY) !== null;
  }

  lookup(device: string): GrantedPort | undefined {
    return this.granted.find((g) => g.id === device);
  }

  // Re-reads the granted ports; the current one stays current while it is granted.
  async refresh(): Promise<void> {
    const previous = this.current >= 0 ? this.granted[this.current]?.port : undefined;
    const ports = this.serial ? await this.serial.getPorts() : [];
    this.granted = ports.map((port, i) => ({ id: this.idOf(port), port, label: describePort(port, i + 1, this.cableText) }));
    if (previous) {
      this.current = ports.indexOf(previous);
    } else {
      const stored = Number.parseInt(this.settings.getItem(CURRENT_PORT_KEY) ?? "", 10);
      if (stored >= 0 && stored < ports.length) this.current = stored;
      else this.current = ports.length === 1 ? 0 : -1;
    }
  }

  // "Select Port...": the browser's chooser; the port picked becomes current.
  async request(): Promise<boolean> {
    if (!this.serial) return false;
    let chosen: SerialPort;
    try {
      chosen = await this.serial.requestPort();
    } catch {
      return false; // the user cancelled the chooser
    }
    await this.refresh();
    this.choose(this.granted.findIndex((g) => g.port === chosen));
    return true;
  }

  choose(index: number): void {
    if (index < 0 || index >= this.granted.length) return;
    this.current = index;
    this.settings.setItem(CURRENT_PORT_KEY, String(index));
  }

  // The detection starts from the current port, or from the first granted one when none is current.
  prepareDetection(): void {
    if (this.current < 0 && this.granted.length > 0) this.current = 0;
  }

  // The device each port number opens, with PortName standing for the current port.
  deviceTable(portName: string): string[] {
    if (this.current < 0 || this.granted.length === 0) return [];
    const count = this.granted.length;
    const base = portNumber(portName);
    const table: string[] = [];
    for (let n = 1; n <= PORT_NUMBERS; ++n) {
      table.push(this.granted[(((this.current + n - base) % count) + count) % count].id);
    }
    return table;
  }

  // The engine moved PortName (detection): the port it now names becomes current.
  followPortName(oldName: string, newName: string): void {
    if (this.current < 0 || oldName === newName) return;
    const count = this.granted.length;
    const moved = portNumber(newName) - portNumber(oldName);
    this.choose((((this.current + moved) % count) + count) % count);
  }

  private idOf(port: SerialPort): string {
    let id = this.ids.get(port);
    if (!id) {
      id = `port-${this.nextId++}`;
      this.ids.set(port, id);
    }
    return id;
  }
}
